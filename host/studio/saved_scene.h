// The studio's scene as it is saved into its folder (--dir), so that it
// plays from there: each object file inside the folder named by its path
// from the folder (where the saved scene lies), every other one by its
// absolute path. Built-in shapes and objects that were not found keep the
// names the scene gave them.
#pragma once

#include <string>

#include "host/scene/host_scene.h"

namespace plof::host::studio {

HostScene sceneForFolder(HostScene scene, const std::string &folder);

}  // namespace plof::host::studio
