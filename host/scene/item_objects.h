// The objects of a scene's items: each loaded-object item's points, read
// from the file (or built-in shape) its LoadObject line names.
#pragma once

#include <string>
#include <vector>

#include "host/scene/host_scene.h"

namespace plof::host {

// Loads each loaded-object item's points. Relative paths are tried beside
// the scene file, then in the current directory, then in `objectsDirectory`.
// A file that cannot be found leaves its item without points and adds a
// warning (one per file, quoting at most kQuotedLineLimit bytes of its
// name); a file that exists but is not a valid object, or a bad built-in
// shape, throws InputError naming the scene and the item's line.
void loadScenePoints(HostScene &scene, const std::string &sceneFile, const std::string &objectsDirectory,
                     std::vector<std::string> &warnings);

// Reads the scene file at `path` (parseSceneText of scene_reader.h, then
// loadScenePoints).
HostScene readSceneFile(const std::string &path, const std::string &objectsDirectory,
                        std::vector<std::string> &warnings);

}  // namespace plof::host
