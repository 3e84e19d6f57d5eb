// Writing host scenes as LWSC text: the lines the host read and kept, and
// the parts it writes itself (motion, dissolve, parent, the effect's saved
// lines). Scenes are written with CR LF line ends on every platform.
#pragma once

#include <string>

#include "host/scene/host_scene.h"

namespace plof::host {

// The scene as LWSC text with CR LF line ends.
std::string sceneText(const HostScene &scene);

// Writes sceneText to `path` as an OutputFile; throws OutputError naming the
// file and the reason when it cannot be written.
void writeSceneFile(const HostScene &scene, const std::string &path);

}  // namespace plof::host
