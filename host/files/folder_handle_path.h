// The path by which a writer that takes only a path (the module) reaches a
// folder the host holds open as a handle: the confined folder's work folder
// (confined_folder.h), with a part for each platform.
#pragma once

#include <string>

namespace plof::host {

// A path to the folder of handle `descriptor`, opened as `openedPath`, that
// no renaming of the folders above can redirect; "" where the system offers
// none.
std::string folderHandlePath(int descriptor, const std::string &openedPath);

}  // namespace plof::host
