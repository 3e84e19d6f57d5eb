// The objects the studio offers an item: the built-in shapes (their sizes
// filled in by the person) and the object files inside the save folder
// (--dir) and inside the objects folder named at start (--objects-dir),
// named by their paths inside the folder ("objects/spout.lwo"). A name that
// leaves its folder ("..", an absolute path) names nothing on offer.
//
// Points are read when an item takes an object and kept for the few objects
// used last, so that undoing a change of object reads no file again.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/studio/studio_document.h"

namespace plof::host::studio {

class StudioObjects final : public ObjectPoints {
public:
    // `objectsDirectory` "": none named.
    StudioObjects(std::string saveDirectory, std::string objectsDirectory);

    // {"shapes": ["builtin:grid:WxH", ...], "files": [{"name", "folder" ("dir"
    // or "objects")}, ...]}: at most kMostListed files, folders searched
    // kFolderDepth deep (and no further than 20 000 entries), in name order.
    nlohmann::ordered_json list() const;

    // The item's object for `name`: a built-in shape of a valid size, or a
    // file on offer (the save folder first). Throws BadRequest saying what
    // is on offer otherwise, or why the object cannot be read.
    void choose(const std::string &name, StudioItemEdit &item);

    std::vector<float> points(const StudioItemEdit &item) override;

    static constexpr std::size_t kMostListed = 500;
    static constexpr int kFolderDepth = 3;

private:
    void chooseObject(const std::string &name, StudioItemEdit &item);

    std::string saveDirectory_;
    std::string objectsDirectory_;
    std::vector<std::pair<std::string, std::vector<float>>> recent_;  // newest last
};

}  // namespace plof::host::studio
