#include "host/files/file_bytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/base/host_error.h"

namespace plof::host {

namespace {

namespace fs = std::filesystem;

// What a path that exists but is no regular file is, in a user's words.
std::string_view kindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory: return "a directory";
        case fs::file_type::fifo: return "a FIFO";
        case fs::file_type::socket: return "a socket";
        case fs::file_type::block:
        case fs::file_type::character: return "a device";
        default: return "a special file";
    }
}

}  // namespace

std::string readFileBytes(const std::string &path, std::string_view what) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        throw InputError(path + ": no such " + std::string(what));
    }
    if (error) {
        throw InputError(path + ": cannot read the " + std::string(what) + ": " + error.message());
    }
    if (!fs::is_regular_file(status)) {
        throw InputError(path + ": is " + std::string(kindOf(status.type())) + "; the " + std::string(what) +
                         " must be a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw InputError(path + ": cannot open the " + std::string(what) + " for reading: " + std::strerror(errno));
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
