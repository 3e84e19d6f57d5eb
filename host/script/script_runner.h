// Runs a panel script against the panels the module opens: the stand-in
// host's person at the keyboard.
//
// A ScriptedUser (host/script/scripted_user.h) makes it the panel driver,
// the file dialog answerer and the message observer of the installed
// context. The module opens a panel (possibly nested inside an event of
// another), and the runner takes the script's next lines for it until a
// confirm or cancel; a file dialog takes the next line, which must be a
// choose. After the first error every panel and dialog is cancelled, so the
// module unwinds normally; the caller then reports error(). A confirmed
// baking panel's scene is reported to the context's WrittenFileCheck.
//
// Like a person, the runner remembers the file its last dialog for one file
// returned: the module's messages name no file, so after the next message
// the runner says which one it was ("(the file dialog had returned ...)").
// Its next action, or the next dialog, forgets it.
#pragma once

#include "host/dialogs/scripted_file_request.h"
#include "host/module/message_observer.h"
#include "host/panels/host_panel_services.h"
#include "host/script/panel_script.h"

#include <functional>
#include <optional>

namespace plof::host {

class ScriptRunner final : public PanelDriver, public FileDialogAnswerer, public MessageObserver {
public:
    // Writes a picture of the panel; false with `problem` set on failure.
    using SnapshotWriter = std::function<bool(const PlofPanelRecord &panel, std::string &problem)>;

    explicit ScriptRunner(PanelScript script);
    ScriptRunner(const ScriptRunner &) = delete;
    ScriptRunner &operator=(const ScriptRunner &) = delete;

    // With a writer, the outermost panel is pictured when it closes (unless a
    // snapshot line already did), and snapshot lines are allowed.
    void setSnapshotWriter(SnapshotWriter writer);

    int32_t runPanel(PlofPanelRecord &panel) override;
    int32_t answerFileDialog(const char *title, const char *offered, char *result, int32_t size) override;
    void messageShown() noexcept override;

    // Call after the module returned: true when the script ran without error
    // and every line was used.
    bool finish();
    const std::optional<ScriptError> &error() const { return error_; }

    // Files the dialogs returned for presses on panels with a list box, and
    // how many of them left every list box as it was (were not added).
    int filesForLists() const { return filesForLists_; }
    int filesNotListed() const { return filesNotListed_; }

    // The script ran out of lines with the outermost panel still open, after
    // acting on it: the host cancelled that panel, discarding its edits.
    bool endedWithPanelOpen() const { return endedWithPanelOpen_; }

private:
    int32_t actOnPanel(PlofPanelRecord &panel);
    int32_t answer(const char *title, const char *offered, char *result, int32_t size);
    void fail(int line, std::string message);
    // Notes what the exception being handled says, as a failure while `doing`
    // ("acting on a panel"). Called in a catch block only.
    void failWithoutThrowing(const char *doing) noexcept;
    bool stopped() const { return aborted_ || error_.has_value(); }
    PlofControlRecord *findControl(PlofPanelRecord &panel, const ScriptAction &action);
    void perform(PlofPanelRecord &panel, const ScriptAction &action);
    void setValue(PlofControlRecord &control, const ScriptAction &action);
    void checkValue(const PlofControlRecord &control, const ScriptAction &action);
    void takeSnapshot(const PlofPanelRecord &panel, int line);
    void noteAskedBake(const PlofPanelRecord &panel);

    PanelScript script_;
    std::size_t cursor_ = 0;
    int depth_ = 0;
    bool snapshotTaken_ = false;
    bool aborted_ = false;  // something was thrown inside a call from the module
    bool endedWithPanelOpen_ = false;
    int filesAnswered_ = 0;
    int filesForLists_ = 0;
    int filesNotListed_ = 0;
    std::string answeredFile_;  // the file the last dialog for one file returned, until the next message
    SnapshotWriter snapshot_;
    std::optional<ScriptError> error_;
};

}  // namespace plof::host
