// The host's process-wide hooks, in one place. The module reaches the host
// only through plain C records and a global function that carry no user
// data, and a signal handler is handed nothing at all: what they need is
// found here, through the one installed HostContext.
//
// HostProcess (host/run/host_process.h) owns the context for a run of the
// host and installs it. Each part is filled by the one owner below, for as
// long as that owner lives, in this order (each may rely on those above it):
//   HostProcess, for the whole run:
//     temporaries    the temporary files being written (a signal removes them)
//     warnings       the warnings said so far, each once
//     services       the registry the module's global function answers from
//     panels         the panels the module made and has not destroyed
//   HostServices (host/play/scene_services.h), while it answers for a scene:
//     sceneServices  the services answered from that scene
//   a front that keeps each play's warnings apart (the studio), for one play:
//     warnings       that play's own log
//   ScriptedUser (host/script/scripted_user.h), while the module may open
//   panels; what the panels and dialogs report to comes before them:
//     writtenFiles   the files the module was asked to write
//     chosenFiles    told of each file a dialog returns
//     messages       told of each message the module shows
//     fileDialogs    answers every file dialog
//     panelDriver    acts on every panel opened
// An owner fills its parts with a ContextScope, which puts back what they
// replaced when it ends. Only one thread uses the context at a time (the
// studio's module thread), apart from what takes an interruption (a thread
// of its own, or a signal handler), which reads `temporaries` only; that
// part never changes while the context is installed.
#pragma once

namespace plof::host {

class ChosenFileObserver;
class FileDialogAnswerer;
class HostServices;
class LivePanels;
class MessageObserver;
class PanelDriver;
class ServiceRegistry;
class TemporaryFiles;
class WarningLog;
class WrittenFileCheck;

struct HostContext {
    TemporaryFiles *temporaries = nullptr;
    WarningLog *warnings = nullptr;
    ServiceRegistry *services = nullptr;
    LivePanels *panels = nullptr;
    HostServices *sceneServices = nullptr;
    WrittenFileCheck *writtenFiles = nullptr;
    ChosenFileObserver *chosenFiles = nullptr;
    MessageObserver *messages = nullptr;
    FileDialogAnswerer *fileDialogs = nullptr;
    PanelDriver *panelDriver = nullptr;
};

// The installed context, or null when none is. Safe in a signal handler.
HostContext *hostContext();

// Installs `context` as the host's one context until this object ends.
// Throws std::logic_error when one is installed already. `context` must
// outlive this object.
class ContextInstallation {
public:
    explicit ContextInstallation(HostContext &context);
    ~ContextInstallation();
    ContextInstallation(const ContextInstallation &) = delete;
    ContextInstallation &operator=(const ContextInstallation &) = delete;
};

// Fills the parts that `parts` sets (those not null) into the installed
// context until this object ends, then puts back what they replaced. Scopes
// end in the reverse order of their beginning, as C++ scopes do. Throws
// std::logic_error when no context is installed: a part the module cannot
// reach would fail silently.
class ContextScope {
public:
    explicit ContextScope(const HostContext &parts);
    ~ContextScope();
    ContextScope(const ContextScope &) = delete;
    ContextScope &operator=(const ContextScope &) = delete;

private:
    HostContext parts_;
    HostContext replaced_;
};

}  // namespace plof::host
