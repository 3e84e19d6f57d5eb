// The studio's side of `plof-host studio`: the scene and its current
// settings, played through the module for every change, and the answers of
// the HTTP interface (host/studio/studio_model.h) computed from what the
// host observed.
//
// Every play loads the module afresh (the previous load is unloaded first),
// so that its random generator starts at 1 as it does for `plof-host play`:
// the positions shown for a set of settings are those `play` prints for the
// same settings saved as a .plf file or a scene. Files are written by the
// module where the module writes them (.plf through the options panel's
// "S", baked scenes through the baking panel) and by OutputFile otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/play/summary.h"
#include "host/run/playback.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {

class StudioSession final : public StudioModel {
public:
    // Plays the inputs once. `saveDirectory` is where saves go. Throws as
    // Playback does.
    StudioSession(PlaybackInputs inputs, std::string saveDirectory);

    nlohmann::ordered_json state() override;
    nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) override;
    std::string frames(int32_t first, int32_t last) override;
    std::string playCsv() override;
    std::string panelPicture(std::size_t item) override;
    nlohmann::ordered_json save(const nlohmann::json &request) override;

private:
    // The inputs of a fresh play of the current settings.
    PlaybackInputs currentInputs() const;
    // Plays the current settings and keeps what was observed.
    void replay();
    // The index of 1-based effect item `item`; BadRequest otherwise.
    std::size_t effectItem(std::size_t item) const;
    std::string savePath(const nlohmann::json &request, const std::string &extension) const;
    std::string saveSettingsFile(std::size_t index, const std::string &path);
    std::string saveBake(std::size_t index, const std::string &path, const nlohmann::json &request);
    std::string saveGltf(const std::string &path);

    PlaybackInputs base_;
    std::string saveDirectory_;
    bool ownLines_ = false;  // the effects load settingsBlockLines(settings_) instead of the scene's lines
    std::vector<EffectSettings> settings_;
    std::vector<std::size_t> itemPositions_;  // x, y, z triples of each item per frame
    std::size_t framePositions_ = 0;
    std::vector<double> positions_;  // frame by frame, items in order
    std::vector<EffectSummary> summaries_;
    uint64_t revision_ = 0;
};

}  // namespace plof::host::studio
