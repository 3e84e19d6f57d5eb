// One run of the stand-in host: the one HostContext (host/base/host_context.h)
// and the parts it holds for the whole run. They are made and installed in
// the order of the members below, and removed in the reverse order: the
// temporaries table, the warning log, the service registry and the live
// panels; then the context that holds them is installed; last the signals,
// which read the context, so that a signal never finds it half made.
//
// Construct one before anything of the host is used and before any other
// thread starts, which inherits the interruptions it blocks
// (process_signals.h): plof-host's main does, for the program's life; tests
// do, for a test. At most one at a time.
#pragma once

#include <memory>

#include "host/base/host_context.h"
#include "host/base/warning_log.h"
#include "host/files/process_signals.h"
#include "host/files/temporary_files.h"
#include "host/module/service_registry.h"
#include "host/panels/host_panel_services.h"

namespace plof::host {

class HostProcess {
public:
    // Warnings go to standard error as they are said. Throws
    // std::logic_error when another HostProcess runs.
    HostProcess();
    HostProcess(const HostProcess &) = delete;
    HostProcess &operator=(const HostProcess &) = delete;

    // The context, for scopes and tests that look at its parts.
    HostContext &context() { return context_; }
    const WarningLog &warnings() const { return warnings_; }

private:
    // On the heap: 64 fixed paths are too large for a small stack.
    std::unique_ptr<TemporaryFiles> temporaries_;
    WarningLog warnings_;
    ServiceRegistry services_;
    LivePanels panels_;
    HostContext context_;
    ContextInstallation installation_;
    ProcessSignals signals_;
};

}  // namespace plof::host
