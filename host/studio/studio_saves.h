// What the studio writes and pictures of its scene, each through a fresh
// Playback of it: files are written by the module where the module writes
// them (a .plf through the options panel's "S", a baked scene through the
// baking panel) and by the host's OutputFile otherwise (the host scene, a
// .glb export). Item indices are 0-based and name items with the effect;
// paths are checked by the caller (save_name.h). Each throws as Playback and
// the options-panel run do, RequestError for an export too large.
#pragma once

#include <cstddef>
#include <string>

#include "host/run/playback_inputs.h"
#include "host/script/bake_request.h"

namespace plof::host::studio {

// The options panel's "S": a .plf file of item `index`'s settings at `path`.
void saveSettingsFile(const PlaybackInputs &scene, std::size_t index, const std::string &path);

// The baking panel, confirmed with `bake` (its scene file is bake.out).
void saveBake(const PlaybackInputs &scene, std::size_t index, const BakeRequest &bake);

// The host scene with each effect's saved lines, after playing the range.
void saveHostScene(const PlaybackInputs &scene, const std::string &path);

// The range exported as binary glTF.
void saveGltf(const PlaybackInputs &scene, const std::string &path);

// The options panel of item `index` as a PNG, taken as it closes.
std::string panelPicture(const PlaybackInputs &scene, std::size_t index);

}  // namespace plof::host::studio
