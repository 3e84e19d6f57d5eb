#include "host/module/service_registry.h"

#include <stdexcept>

#include "host/base/host_context.h"

namespace plof::host {

namespace {

void *answerGlobal(const char *name, int32_t) { return name ? findService(name) : nullptr; }

}  // namespace

void ServiceRegistry::provide(const char *name, void *record) {
    if (record) {
        records_[name] = record;
    } else {
        records_.erase(name);
    }
}

void *ServiceRegistry::find(const char *name) const {
    const auto found = records_.find(name);
    return found == records_.end() ? nullptr : found->second;
}

void provideService(const char *name, void *record) {
    const HostContext *context = hostContext();
    if (!context || !context->services) {
        throw std::logic_error(std::string("no service registry to provide \"") + name + "\" in: no host context");
    }
    context->services->provide(name, record);
}

void *findService(const char *name) {
    const HostContext *context = hostContext();
    return context && context->services ? context->services->find(name) : nullptr;
}

PlofGlobalFunc globalServiceFunction() { return &answerGlobal; }

}  // namespace plof::host
