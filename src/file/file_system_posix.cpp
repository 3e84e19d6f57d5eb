#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

#include "file/file_system.h"

namespace plof::file {

namespace {

std::error_code lastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

}  // namespace

FileKind kindOf(const std::string &path, std::error_code &error) noexcept {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return FileKind::absent;
        error = lastError();
        return FileKind::other;
    }
    if (S_ISLNK(status.st_mode)) return FileKind::link;
    if (S_ISREG(status.st_mode)) return FileKind::regular;
    if (S_ISDIR(status.st_mode)) return FileKind::directory;
    return FileKind::other;
}

bool readLink(const std::string &path, std::string &text, std::error_code &error) {
    // A link's text is at most a path's length; a longer one is cut, which readlink shows by filling the buffer.
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t size = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (size < 0 || static_cast<std::size_t>(size) == buffer.size()) {
        error = size < 0 ? lastError() : std::make_error_code(std::errc::filename_too_long);
        return false;
    }
    text.assign(buffer.data(), static_cast<std::size_t>(size));
    return true;
}

bool isAbsolutePath(const std::string &path) noexcept { return !path.empty() && path.front() == '/'; }

std::size_t fileNameStart(const std::string &path) noexcept {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::FILE *createNewFile(const std::string &path, const std::string &permissionsOf, bool,
                         std::error_code &error) noexcept {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = lastError();
        return nullptr;
    }
    // A replaced file keeps who may read it.
    struct stat existing;
    if (!permissionsOf.empty() && ::stat(permissionsOf.c_str(), &existing) == 0) {
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    std::FILE *file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        error = lastError();
        ::close(descriptor);
        ::unlink(path.c_str());
    }
    return file;
}

std::FILE *openExistingFile(const std::string &path, bool, std::error_code &error) noexcept {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) error = lastError();
    return file;
}

bool syncToDisk(std::FILE *file, std::error_code &error) noexcept {
    // Devices and FIFOs cannot be synced; that is no failure of the output.
    if (::fsync(::fileno(file)) != 0 && errno != EINVAL && errno != EROFS) {
        error = lastError();
        return false;
    }
    return true;
}

bool replaceFile(const std::string &from, const std::string &to, std::error_code &error) noexcept {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    error = lastError();
    return false;
}

void removeFile(const std::string &path) noexcept { ::unlink(path.c_str()); }

unsigned long processId() noexcept { return static_cast<unsigned long>(::getpid()); }

}  // namespace plof::file
