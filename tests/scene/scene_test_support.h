// Helpers shared by the scene suites: the lines of a
// document as strings, and whole files as bytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "scene/scene_document.h"

namespace plof::testing {

inline std::vector<std::string> linesOf(const SceneDocument &document) {
    std::vector<std::string> lines;
    for (const SceneLine *line = document.first; line != nullptr; line = line->next) {
        lines.emplace_back(line->text);
    }
    return lines;
}

inline std::string readBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string &name)
        : path_(std::filesystem::temp_directory_path() / ("plof_" + name)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path file(const std::string &name) const { return path_ / name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path path_;
};

}  // namespace plof::testing
