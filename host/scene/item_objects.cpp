// The objects a scene's items are loaded from: finding each file and reading
// its points.
#include "host/scene/item_objects.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "host/base/host_error.h"
#include "host/base/quoted_text.h"
#include "host/files/file_bytes.h"
#include "host/objects/builtin_shapes.h"
#include "host/objects/object_file.h"
#include "host/scene/scene_reader.h"

namespace plof::host {

namespace {

namespace fs = std::filesystem;

// The file a LoadObject line names: a relative path beside the scene, then
// in the current directory, then in the "Objects" directory.
std::optional<std::string> findObjectFile(const std::string &source, const fs::path &sceneDirectory,
                                          const std::string &objectsDirectory) {
    const fs::path path(source);
    std::vector<fs::path> candidates{path};
    if (path.is_relative()) {
        candidates = {sceneDirectory / path, path};
        if (!objectsDirectory.empty()) {
            candidates.push_back(fs::path(objectsDirectory) / path);
        }
    }
    for (const fs::path &candidate : candidates) {
        std::error_code ignored;
        if (fs::is_regular_file(candidate, ignored)) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

}  // namespace

void loadScenePoints(HostScene &scene, const std::string &sceneFile, const std::string &objectsDirectory,
                     std::vector<std::string> &warnings) {
    const fs::path sceneDirectory = fs::path(sceneFile).parent_path();
    // A baked scene names the same missing file for every particle: one
    // warning per missing file, with its first line and how many items.
    struct Missing {
        std::string source;
        std::size_t firstLine;
        std::size_t items;
    };
    std::vector<Missing> missing;
    for (HostItem &item : scene.items) {
        if (item.isNull) {
            continue;
        }
        const std::optional<std::string> found =
            isBuiltinShape(item.source) ? item.source : findObjectFile(item.source, sceneDirectory, objectsDirectory);
        if (found) {
            try {
                item.points = loadObjectPoints(*found);
                if (!isBuiltinShape(item.source)) item.objectFile = *found;
            } catch (const InputError &error) {
                throw InputError(sceneFile + ": line " + std::to_string(item.lineNumber) + ": " + error.what());
            }
            continue;
        }
        const auto known = std::find_if(missing.begin(), missing.end(),
                                        [&](const Missing &entry) { return entry.source == item.source; });
        if (known == missing.end()) {
            missing.push_back({item.source, item.lineNumber, 1});
        } else {
            ++known->items;
        }
    }
    // Where the file was looked for, and how to add a folder.
    const std::string objects = objectsDirectory.empty() ? std::string("the current directory") : objectsDirectory;
    const std::string where =
        " (looked for beside the scene, in the current directory and in the \"Objects\" "
        "directory, " +
        objects + "; add a folder with --objects-dir DIR)";
    for (const Missing &entry : missing) {
        warnings.push_back(sceneFile + ": line " + std::to_string(entry.firstLine) + ": object file " +
                           quotedText(entry.source) + " not found; " +
                           (entry.items == 1 ? std::string("the item has no points")
                                             : "its " + std::to_string(entry.items) + " items have no points") +
                           where);
    }
}

HostScene readSceneFile(const std::string &path, const std::string &objectsDirectory,
                        std::vector<std::string> &warnings) {
    HostScene scene = parseSceneText(readFileBytes(path, "scene file"), path);
    loadScenePoints(scene, path, objectsDirectory, warnings);
    return scene;
}

}  // namespace plof::host
