// What POST /api/save asks, read from its JSON body and refused in the
// page's words (its fields' labels, never a command-line flag) before any
// work: {"kind": "plf"|"scene"|"glb"|"bake", "name": text, "item": N,
// "replace": true|false} and, for a bake, "frames", "step", "hpbMin",
// "hpbMax" ([h, p, b]), "alignH", "scale", "dissolve". A field the kind does
// not take is refused, as an unknown setting is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "host/files/confined_folder.h"
#include "host/script/bake_request.h"

namespace plof::host::studio {

enum class SaveKind {
    settings,  // a .plf file, through the options panel's "S"
    scene,     // the host scene, as play --save-scene writes it
    gltf,      // a binary glTF export
    bake,      // a baked scene, through the baking panel
};

struct SaveRequest {
    SaveKind kind = SaveKind::settings;
    std::string fileName;             // plain, with the kind's extension (save_name.h)
    std::optional<std::size_t> item;  // 1-based, as asked
    Placement placement = Placement::keepExisting;
    BakeRequest bake;  // a bake's values; its out is left to the caller
};

// Reads `body`; throws BadRequest (studio_model.h) saying what to change.
SaveRequest readSaveRequest(const nlohmann::json &body);

}  // namespace plof::host::studio
