#include "host/studio/save_name.h"

#include <filesystem>
#include <system_error>

namespace plof::host::studio {

namespace {

namespace fs = std::filesystem;

std::string plainNameProblem(const std::string &name) {
    if (name.size() > kLongestSaveName) return "the name is longer than " + std::to_string(kLongestSaveName);
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        return "the name has a directory part; give a plain file name";
    }
    if (name.find("..") != std::string::npos) return "the name holds \"..\"";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "the name holds a control character";
    }
    return "";
}

// Whether `path` lies inside `directory` (both made absolute and resolved).
bool inside(const fs::path &path, const fs::path &directory) {
    auto p = path.begin();
    for (auto d = directory.begin(); d != directory.end(); ++d, ++p) {
        if (d->empty()) continue;  // a trailing separator
        if (p == path.end() || *p != *d) return false;
    }
    return true;
}

// Where `path` leads, following a chain of symbolic links (even one that
// ends at a file not there yet) as the writers follow it.
fs::path followLinks(fs::path path, std::error_code &error) {
    constexpr int kMostLinks = 40;
    for (int link = 0; link < kMostLinks; ++link) {
        std::error_code absent;  // a file not there yet is no link
        if (!fs::is_symlink(fs::symlink_status(path, absent))) return fs::weakly_canonical(path, error);
        const fs::path next = fs::read_symlink(path, error);
        if (error) return {};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

}  // namespace

std::optional<std::string> savePath(const std::string &directory, const std::string &name, const std::string &extension,
                                    std::string &problem) {
    if (name.empty()) {
        problem = "the name is empty";
        return std::nullopt;
    }
    std::string file = name;
    if (file.size() < extension.size() || file.compare(file.size() - extension.size(), extension.size(), extension)) {
        file += extension;
    }
    // The name as it will be written: "a." becomes "a..plf".
    problem = plainNameProblem(file);
    if (!problem.empty()) return std::nullopt;
    std::error_code error;
    const fs::path root = fs::canonical(directory, error);
    if (error) {
        problem = directory + ": " + error.message();
        return std::nullopt;
    }
    const fs::path target = root / file;
    // Where a link ends must still be inside the directory.
    const fs::path resolved = followLinks(target, error);
    if (error || !inside(resolved, root)) {
        problem = "\"" + file + "\" leads outside " + root.string() + " through a link";
        return std::nullopt;
    }
    return target.string();
}

}  // namespace plof::host::studio
