// The studio's session: the scene it plays, as documents a page edits
// (studio_document.h), the history of them, and the last play. Every change
// makes a new document, which is played (studio_play.h) and kept only when
// it plays, so that a change the module cannot play changes nothing; a
// change whose work would not fit the machine's memory is refused before it
// is played. A revision counts the documents shown. The answers of the
// interface (studio_model.h) are computed from what the host observed of
// the last play.
//
// The session's state is plain data (StudioSessionState): the scene the
// studio started with, the history with the document shown, the document
// last saved and the revision. What it plays and answers is made from it.
// The session needs neither an HTTP library nor threads: any front may
// drive it, one call at a time (the HTTP server from its module thread).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/files/confined_folder.h"
#include "host/run/playback_inputs.h"
#include "host/studio/save_request.h"
#include "host/studio/studio_document.h"
#include "host/studio/studio_history.h"
#include "host/studio/studio_model.h"
#include "host/studio/studio_objects.h"
#include "host/studio/studio_play.h"

namespace plof::host::studio {

struct StudioSessionState {
    PlaybackInputs start;   // as the studio started it, its panel script performed
    StudioHistory history;  // the document shown is history.current()
    StudioDocument saved;   // the document last saved (or started with)
    uint64_t revision = 0;
};

class StudioSession final : public StudioModel {
public:
    // Plays `scene` once (performing its first panel run, if any), printing
    // that play's warnings. Saves go into `saveFolder`, which must outlive
    // the session; object files are offered from it and from the scene's
    // objects directory. Throws as Playback does.
    StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder);
    // The session whose documents `text` holds (session_text.h), over
    // `scene`, the scene it was opened with: its panel script, if any, is
    // not performed again, since the documents hold what it left. Nothing is
    // played yet: the document shown is played when an answer needs its
    // play, and a change plays only its new document, so that a session made
    // for one request plays at most once (the WebAssembly build's module can
    // be loaded once per instance). Throws InputError for a text that does
    // not fit the scene.
    StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder, const std::string &text);

    // The session's documents as text (session_text.h).
    std::string text() const;
    // Whether the document shown has been played by this session.
    bool played() const { return play_.has_value(); }

    nlohmann::ordered_json state() override;
    uint64_t revision() const override { return state_.revision; }
    nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) override;
    nlohmann::ordered_json changeObject(std::size_t item, const nlohmann::json &request) override;
    nlohmann::ordered_json changeMotion(std::size_t item, const nlohmann::json &request) override;
    nlohmann::ordered_json changeRange(const nlohmann::json &request) override;
    nlohmann::ordered_json loadSettingsFile(std::size_t item, const nlohmann::json &request) override;
    nlohmann::ordered_json undo() override;
    nlohmann::ordered_json redo() override;
    nlohmann::ordered_json revert() override;
    nlohmann::ordered_json objects() override;
    std::string frames(int32_t first, int32_t last) override;
    std::string looks(int32_t first, int32_t last) override;
    std::string poses(int32_t first, int32_t last) override;
    std::string playCsv() override;
    std::string panelPicture(std::size_t item) override;
    nlohmann::ordered_json save(const nlohmann::json &request) override;

private:
    // The play of the document shown, played first where it has not been.
    const StudioPlay &play();
    // Each item's settings as the effect holds them in the document shown.
    std::vector<EffectSettings> shownSettings() const;
    // Plays `document` and shows it; throws, changing nothing, when it
    // cannot be played or would not fit the machine's memory.
    void show(const StudioDocument &document);
    // Shows `next` as a new step of the history (no step when nothing changed).
    nlohmann::ordered_json change(StudioDocument next);
    // The index of 1-based item `item` (one that carries the effect); BadRequest otherwise.
    std::size_t sceneItem(std::size_t item) const;
    std::size_t effectItem(std::size_t item) const;
    // The effect item a save request names, by default the first.
    std::size_t savedItem(const SaveRequest &request) const;

    const ConfinedFolder &saveFolder_;
    StudioSessionState state_;
    // Made from the state: the scene shown, its play, the objects' points.
    PlaybackInputs shown_;
    std::optional<StudioPlay> play_;
    StudioObjects objects_;
};

}  // namespace plof::host::studio
