#include "host/studio/saved_scene.h"

#include <filesystem>

namespace plof::host::studio {

namespace {

namespace fs = std::filesystem;

// Whether `path` lies inside `directory` (both resolved).
bool inside(const fs::path &path, const fs::path &directory) {
    const fs::path relative = path.lexically_relative(directory);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

HostScene sceneForFolder(HostScene scene, const std::string &folder) {
    std::error_code error;
    const fs::path root = fs::weakly_canonical(folder, error);
    for (HostItem &item : scene.items) {
        if (item.isNull || item.objectFile.empty()) continue;
        const fs::path file = fs::weakly_canonical(item.objectFile, error);
        if (error) continue;
        item.source = inside(file, root) ? file.lexically_relative(root).generic_string() : file.string();
    }
    return scene;
}

}  // namespace plof::host::studio
