#include "host/studio/studio_objects.h"

#include <algorithm>
#include <filesystem>

#include "host/base/host_error.h"
#include "host/objects/builtin_shapes.h"
#include "host/objects/object_file.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecentObjects = 4;
// Entries looked at in a folder at most, so that a vast folder (a home
// directory given as --dir) is listed quickly, if not whole.
constexpr std::size_t kMostVisited = 20000;

// The object files under `folder`, as paths inside it with "/" between parts.
void listFolder(const fs::path &folder, const char *label, nlohmann::ordered_json &files) {
    std::vector<std::string> names;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    std::size_t visited = 0;
    for (; !error && walk != fs::recursive_directory_iterator() && ++visited <= kMostVisited; walk.increment(error)) {
        if (walk.depth() + 1 >= StudioObjects::kFolderDepth) walk.disable_recursion_pending();
        std::error_code ignored;
        if (!walk->is_regular_file(ignored) || !isObjectFileName(walk->path().string())) continue;
        names.push_back(walk->path().lexically_relative(folder).generic_string());
        if (names.size() >= StudioObjects::kMostListed) break;
    }
    std::sort(names.begin(), names.end());
    for (const std::string &name : names) {
        if (files.size() >= StudioObjects::kMostListed) return;
        files.push_back({{"name", name}, {"folder", label}});
    }
}

// A relative path that stays inside its folder.
bool staysInside(const std::string &name) {
    const fs::path path(name);
    if (name.empty() || path.is_absolute() || path.has_root_name() || name.find('\\') != std::string::npos) {
        return false;
    }
    return std::none_of(path.begin(), path.end(), [](const fs::path &part) { return part == ".."; });
}

}  // namespace

StudioObjects::StudioObjects(std::string saveDirectory, std::string objectsDirectory)
    : saveDirectory_(std::move(saveDirectory)), objectsDirectory_(std::move(objectsDirectory)) {}

nlohmann::ordered_json StudioObjects::list() const {
    nlohmann::ordered_json shapes = nlohmann::ordered_json::array();
    for (std::string_view form : builtinShapeForms()) shapes.push_back(form);
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    listFolder(saveDirectory_, "dir", files);
    if (!objectsDirectory_.empty()) listFolder(objectsDirectory_, "objects", files);
    return {{"shapes", shapes}, {"files", files}};
}

void StudioObjects::choose(const std::string &name, StudioItemEdit &item) {
    try {
        chooseObject(name, item);
    } catch (const InputError &unreadable) {
        throw BadRequest(unreadable.what());
    }
}

void StudioObjects::chooseObject(const std::string &name, StudioItemEdit &item) {
    if (isBuiltinShape(name)) {
        item.object = name;
        item.objectFile.clear();
        points(item);  // a size the shape cannot take is told now
        return;
    }
    std::vector<std::string> folders{saveDirectory_};
    if (!objectsDirectory_.empty()) folders.push_back(objectsDirectory_);
    for (const std::string &folder : folders) {
        const fs::path file = fs::path(folder) / name;
        std::error_code error;
        if (!staysInside(name) || !fs::is_regular_file(file, error)) continue;
        item.object = name;
        item.objectFile = file.string();
        points(item);
        return;
    }
    std::string shapes;
    for (std::string_view form : builtinShapeForms()) shapes += (shapes.empty() ? "" : ", ") + std::string(form);
    throw BadRequest("\"" + name + "\" is no object on offer: give a built-in shape (" + shapes +
                     ") or an object file inside the studio's folder" +
                     (objectsDirectory_.empty() ? std::string() : " or the objects folder") +
                     " by its path there (GET /api/objects lists them)");
}

std::vector<float> StudioObjects::points(const StudioItemEdit &item) {
    const std::string &source = item.objectFile.empty() ? item.object : item.objectFile;
    const auto kept =
        std::find_if(recent_.begin(), recent_.end(), [&](const auto &entry) { return entry.first == source; });
    if (kept != recent_.end()) {
        std::rotate(kept, kept + 1, recent_.end());  // now the newest
        return recent_.back().second;
    }
    // A null, or a scene's object that was not found, has no points to read.
    if (!isBuiltinShape(source) && item.objectFile.empty()) return {};
    std::vector<float> read = loadObjectPoints(source);
    if (recent_.size() == kRecentObjects) recent_.erase(recent_.begin());
    recent_.emplace_back(source, read);
    return read;
}

}  // namespace plof::host::studio
