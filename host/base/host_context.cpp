#include "host/base/host_context.h"

#include <atomic>
#include <stdexcept>

namespace plof::host {

namespace {

// The one static pointer: the module's global function and the signal
// handler find everything else through it.
std::atomic<HostContext *> gInstalled{nullptr};
static_assert(std::atomic<HostContext *>::is_always_lock_free, "the signal handler reads it");

// Calls `part(member)` for every member of HostContext, in declaration order.
template <typename Visit>
void forEachPart(Visit &&part) {
    part(&HostContext::temporaries);
    part(&HostContext::warnings);
    part(&HostContext::services);
    part(&HostContext::panels);
    part(&HostContext::sceneServices);
    part(&HostContext::writtenFiles);
    part(&HostContext::chosenFiles);
    part(&HostContext::messages);
    part(&HostContext::fileDialogs);
    part(&HostContext::panelDriver);
}

HostContext &installed() {
    HostContext *context = gInstalled.load();
    if (!context) throw std::logic_error("no host context is installed: a HostProcess must run the host");
    return *context;
}

}  // namespace

HostContext *hostContext() { return gInstalled.load(); }

ContextInstallation::ContextInstallation(HostContext &context) {
    HostContext *none = nullptr;
    if (!gInstalled.compare_exchange_strong(none, &context)) {
        throw std::logic_error("a host context is installed already: one HostProcess at a time");
    }
}

ContextInstallation::~ContextInstallation() { gInstalled.store(nullptr); }

ContextScope::ContextScope(const HostContext &parts) : parts_(parts) {
    HostContext &context = installed();
    forEachPart([&](auto member) {
        if (parts_.*member == nullptr) return;
        replaced_.*member = context.*member;
        context.*member = parts_.*member;
    });
}

ContextScope::~ContextScope() {
    HostContext *context = gInstalled.load();
    if (!context) return;
    forEachPart([&](auto member) {
        if (parts_.*member != nullptr) context->*member = replaced_.*member;
    });
}

}  // namespace plof::host
