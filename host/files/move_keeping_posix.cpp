#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

#include "host/files/move_keeping.h"

namespace plof::host {

// Where the file system has no rename that keeps the target, a hard link and
// an unlink do the same.
int moveKeeping(int fromFolder, const char *from, int toFolder, const char *to) {
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    if (::linkat(fromFolder, from, toFolder, to, 0) != 0) return -1;
    ::unlinkat(fromFolder, from, 0);
    return 0;
}

}  // namespace plof::host
