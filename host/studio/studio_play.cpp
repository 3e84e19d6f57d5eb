#include "host/studio/studio_play.h"

#include <memory>

#include "host/run/playback.h"

namespace plof::host::studio {

StudioPlay playStudioScene(const PlaybackInputs &inputs, bool terminal) {
    WarningLog warnings(terminal);
    const ContextScope ownWarnings({.warnings = &warnings});
    Playback playback(inputs);
    const HostScene &scene = playback.scene();
    StudioPlay play;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        play.itemPositions.push_back(playback.worldPoints(i).size() / 3);
        play.framePositions += play.itemPositions.back();
        play.settings.push_back(playback.effectSettings(i));
    }
    std::vector<std::unique_ptr<RestingPlaces>> resting(scene.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (scene.items[i].hasEffect) {
            resting[i] = std::make_unique<RestingPlaces>(scene, i, play.settings[i], playback.fps());
        }
    }
    const auto frames = static_cast<std::size_t>(playback.frameCount());
    play.positions.reserve(play.framePositions * 3 * frames);
    play.looks.reserve(play.framePositions * frames);
    playback.play([&](int32_t frame) {
        for (std::size_t i = 0; i < scene.items.size(); ++i) {
            const std::span<const double> world = playback.worldPoints(i);
            play.positions.insert(play.positions.end(), world.begin(), world.end());
            if (resting[i]) resting[i]->setFrame(frame, frame / playback.fps());
            const bool shown = scene.items[i].shownAt(frame);
            for (std::size_t p = 0; 3 * p < world.size(); ++p) {
                play.looks.push_back(pointLook(resting[i].get(), shown, p, &world[3 * p]));
            }
        }
    });
    play.summaries = playback.summaries();
    play.warnings = warnings.messages();
    return play;
}

}  // namespace plof::host::studio
