// What the studio writes and pictures of its scene, each through a fresh
// Playback of it, into its ConfinedFolder (host/files/confined_folder.h):
// the module writes where the module writes (a .plf through the options
// panel's "S", a baked scene through the baking panel), into the folder's
// work folder, and the file is then moved into place; the host writes its
// own (the host scene, a .glb export) through OutputFile's confined mode.
// Either way a name under which a link or a special file stands is refused,
// and a file there is kept unless `placement` replaces it (ExistingFile),
// before any work is done and again when the file is put in place.
// Item indices are 0-based and name items with the effect; names are plain
// (save_name.h). Each throws as Playback and the options-panel run do, with
// messages that name the file in the folder, and RequestError for an export
// too large.
#pragma once

#include <cstddef>
#include <string>

#include "host/files/confined_folder.h"
#include "host/run/playback_inputs.h"
#include "host/script/bake_request.h"

namespace plof::host::studio {

// Where a save goes: `name` in `folder`, replacing a file there or not.
struct SaveTarget {
    const ConfinedFolder &folder;
    std::string name;
    Placement placement;
};

// The options panel's "S": a .plf file of item `index`'s settings.
void saveSettingsFile(const PlaybackInputs &scene, std::size_t index, const SaveTarget &target);

// The baking panel, confirmed with `bake` (whose out is the target).
void saveBake(const PlaybackInputs &scene, std::size_t index, BakeRequest bake, const SaveTarget &target);

// The host scene with each effect's saved lines, after playing the range.
void saveHostScene(const PlaybackInputs &scene, const SaveTarget &target);

// The range exported as binary glTF.
void saveGltf(const PlaybackInputs &scene, const SaveTarget &target);

// The options panel of item `index` as a PNG, taken as it closes.
std::string panelPicture(const PlaybackInputs &scene, std::size_t index);

}  // namespace plof::host::studio
