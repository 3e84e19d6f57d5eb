#include "host/studio/studio_play.h"

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
    play.positions.reserve(play.framePositions * 3 * static_cast<std::size_t>(playback.frameCount()));
    playback.play([&](int32_t) {
        for (std::size_t i = 0; i < scene.items.size(); ++i) {
            const std::span<const double> world = playback.worldPoints(i);
            play.positions.insert(play.positions.end(), world.begin(), world.end());
        }
    });
    play.summaries = playback.summaries();
    play.warnings = warnings.messages();
    return play;
}

}  // namespace plof::host::studio
