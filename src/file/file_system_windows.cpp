#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "file/file_system.h"

namespace plof::file {

namespace {

std::error_code lastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

}  // namespace

// Windows shows no links here: the system follows them itself when a file is
// opened, and a file replaced through one is the file it names.
FileKind kindOf(const std::string &path, std::error_code &error) noexcept {
    struct _stat64 status;
    if (::_stat64(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return FileKind::absent;
        error = lastError();
        return FileKind::other;
    }
    if ((status.st_mode & _S_IFMT) == _S_IFREG) return FileKind::regular;
    if ((status.st_mode & _S_IFMT) == _S_IFDIR) return FileKind::directory;
    return FileKind::other;
}

bool readLink(const std::string &, std::string &, std::error_code &error) {
    error = std::make_error_code(std::errc::function_not_supported);
    return false;
}

bool isAbsolutePath(const std::string &path) noexcept {
    const bool drive = path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || (!path.empty() && (path.front() == '\\' || path.front() == '/'));
}

std::size_t fileNameStart(const std::string &path) noexcept {
    const std::size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? 0 : separator + 1;
}

std::FILE *createNewFile(const std::string &path, const std::string &, bool text, std::error_code &error) noexcept {
    const int translation = text ? _O_TEXT : _O_BINARY;
    const int descriptor =
        ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_NOINHERIT | translation, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        error = lastError();
        return nullptr;
    }
    std::FILE *file = ::_fdopen(descriptor, text ? "w" : "wb");
    if (file == nullptr) {
        error = lastError();
        ::_close(descriptor);
        ::_unlink(path.c_str());
    }
    return file;
}

std::FILE *openExistingFile(const std::string &path, bool text, std::error_code &error) noexcept {
    std::FILE *file = std::fopen(path.c_str(), text ? "w" : "wb");
    if (file == nullptr) error = lastError();
    return file;
}

bool syncToDisk(std::FILE *file, std::error_code &error) noexcept {
    if (::_commit(::_fileno(file)) != 0) {
        error = lastError();
        return false;
    }
    return true;
}

bool replaceFile(const std::string &from, const std::string &to, std::error_code &error) noexcept {
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
    error = std::error_code(static_cast<int>(::GetLastError()), std::system_category());
    return false;
}

void removeFile(const std::string &path) noexcept { ::_unlink(path.c_str()); }

unsigned long processId() noexcept { return ::GetCurrentProcessId(); }

}  // namespace plof::file
