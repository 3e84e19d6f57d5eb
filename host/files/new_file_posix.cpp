#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host/files/new_file.h"

namespace plof::host::platform {

std::FILE *createNewFile(const std::filesystem::path &path, const std::filesystem::path &modeOf,
                         std::error_code &error) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error.assign(errno, std::generic_category());
        return nullptr;
    }
    // A replaced file keeps who may read it.
    struct stat existing;
    if (!modeOf.empty() && ::stat(modeOf.c_str(), &existing) == 0) {
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    std::FILE *file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        error.assign(errno, std::generic_category());
        ::close(descriptor);
        ::unlink(path.c_str());
    }
    return file;
}

bool flushToDisk(std::FILE *file, std::error_code &error) {
    if (std::fflush(file) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    // Devices and FIFOs cannot be synced; that is no failure of the output.
    if (::fsync(::fileno(file)) != 0 && errno != EINVAL && errno != EROFS) {
        error.assign(errno, std::generic_category());
        return false;
    }
    return true;
}

}  // namespace plof::host::platform
