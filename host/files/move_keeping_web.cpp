#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>

#include "host/files/move_keeping.h"

namespace plof::host {

// A page's in-memory file system has neither a rename that keeps the target
// nor hard links, and no other program shares it: nothing can come under
// `to` between the look and the rename.
int moveKeeping(int fromFolder, const char *from, int toFolder, const char *to) {
    struct stat status;
    if (::fstatat(toFolder, to, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFolder, from, toFolder, to);
}

}  // namespace plof::host
