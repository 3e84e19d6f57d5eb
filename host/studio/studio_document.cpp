#include "host/studio/studio_document.h"

namespace plof::host::studio {

StudioDocument documentOf(const PlaybackInputs &scene) {
    StudioDocument document;
    for (const HostItem &item : scene.scene.items) {
        document.items.push_back({item.name, item.source, item.objectFile, item.motion,
                                  item.hasEffect ? item.effectLines : std::vector<std::string>{}});
    }
    document.frames = scene.frames;
    document.fps = scene.fps;
    return document;
}

PlaybackInputs documentScene(const PlaybackInputs &start, const StudioDocument &document, ObjectPoints &objects) {
    PlaybackInputs played = start;
    played.frames = document.frames;
    played.fps = document.fps;
    setHeaderFrames(played.scene.header, document.frames, document.fps);
    for (std::size_t i = 0; i < played.scene.items.size(); ++i) {
        HostItem &item = played.scene.items[i];
        const StudioItemEdit &edit = document.items[i];
        item.name = edit.name;
        if (edit.object != item.source || edit.objectFile != item.objectFile) {
            item.points = objects.points(edit);
            item.source = edit.object;
            item.objectFile = edit.objectFile;
        }
        if (edit.motion != item.motion) {
            item.motion = edit.motion;
            item.hasMotionBlock = item.hasMotionBlock || !item.motion.empty();
        }
        if (item.hasEffect && edit.effectLines != item.effectLines) {
            item.effectLines = edit.effectLines;
            item.effectLineNumber = 1;
        }
    }
    return played;
}

}  // namespace plof::host::studio
