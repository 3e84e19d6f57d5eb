#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

#include "host/files/new_file.h"

namespace plof::host::platform {

std::FILE *createNewFile(const std::filesystem::path &path, const std::filesystem::path &, std::error_code &error) {
    const int descriptor = ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        error.assign(errno, std::generic_category());
        return nullptr;
    }
    std::FILE *file = ::_fdopen(descriptor, "wb");
    if (file == nullptr) {
        error.assign(errno, std::generic_category());
        ::_close(descriptor);
        ::_wunlink(path.c_str());
    }
    return file;
}

bool flushToDisk(std::FILE *file, std::error_code &error) {
    if (std::fflush(file) != 0 || ::_commit(::_fileno(file)) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    return true;
}

}  // namespace plof::host::platform
