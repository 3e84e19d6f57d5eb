#include <sys/stat.h>

#include "host/files/folder_handle_path.h"

namespace plof::host {

// /proc/self/fd/N, where it leads to the very folder of handle N (Linux).
std::string folderHandlePath(int descriptor, const std::string &) {
    const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    struct stat byHandle, byPath;
    const bool same = ::fstat(descriptor, &byHandle) == 0 && ::stat(path.c_str(), &byPath) == 0 &&
                      byHandle.st_dev == byPath.st_dev && byHandle.st_ino == byPath.st_ino;
    return same ? path : "";
}

}  // namespace plof::host
