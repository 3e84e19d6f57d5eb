#include "host/base/file_extension.h"

namespace plof::host {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool hasExtension(std::string_view path, std::string_view extension) {
    const auto separator = path.find_last_of("/\\");
    const std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    if (name.size() <= extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (lowerAscii(tail[i]) != lowerAscii(extension[i])) return false;
    }
    return true;
}

bool hasModuleExtension(std::string_view path, std::string_view extension) { return path.ends_with(extension); }

}  // namespace plof::host
