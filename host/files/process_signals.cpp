#include "host/files/process_signals.h"

#include "host/base/host_context.h"
#include "host/files/temporary_files.h"

namespace plof::host {

void removeNotedTemporaries() noexcept {
    if (const HostContext *context = hostContext(); context && context->temporaries) {
        context->temporaries->removeAll(&removeNoted);
    }
}

}  // namespace plof::host
