#include "host/file_bytes.h"

#include <filesystem>
#include <fstream>

#include "host/host_error.h"

namespace plof::host {

std::string readFileBytes(const std::string &path, std::string_view what) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw InputError(path + ": no such " + std::string(what));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw InputError(path + ": cannot open the " + std::string(what) + " for reading");
    }
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw InputError(path + ": read error in the " + std::string(what));
    }
    return bytes;
}

}  // namespace plof::host
