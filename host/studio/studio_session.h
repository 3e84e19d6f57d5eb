// The studio's session: the scene it plays, as a whole description a page
// may edit, and the last play of it. Every change makes a new description,
// which is played (studio_play.h) and kept only when it plays, so that a
// change the module cannot play changes nothing; a revision counts the
// changes kept. The answers of the interface (studio_model.h) are computed
// from what the host observed of the last play.
//
// The session needs neither an HTTP library nor threads: any front may drive
// it, one call at a time (the HTTP server from its module thread).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/files/confined_folder.h"
#include "host/run/playback_inputs.h"
#include "host/studio/save_request.h"
#include "host/studio/studio_model.h"
#include "host/studio/studio_play.h"

namespace plof::host::studio {

class StudioSession final : public StudioModel {
public:
    // Plays `scene` once (performing its first panel run, if any), printing
    // that play's warnings. Saves go into `saveFolder`, which must outlive
    // the session. Throws as Playback does.
    StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder);

    nlohmann::ordered_json state() override;
    nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) override;
    std::string frames(int32_t first, int32_t last) override;
    std::string playCsv() override;
    std::string panelPicture(std::size_t item) override;
    nlohmann::ordered_json save(const nlohmann::json &request) override;

private:
    // The index of 1-based effect item `item`; BadRequest otherwise.
    std::size_t effectItem(std::size_t item) const;
    // The effect item a save request names, by default the first.
    std::size_t savedItem(const SaveRequest &request) const;

    PlaybackInputs scene_;
    const ConfinedFolder &saveFolder_;
    StudioPlay play_;
    uint64_t revision_ = 0;
};

}  // namespace plof::host::studio
