#include "host/module/service_registry.h"

#include <map>
#include <string>

namespace plof::host {

namespace {

std::map<std::string, void *, std::less<>> &registry() {
    static std::map<std::string, void *, std::less<>> services;
    return services;
}

void *answerGlobal(const char *name, int32_t) { return name ? findService(name) : nullptr; }

}  // namespace

void provideService(const char *name, void *record) {
    if (record) {
        registry()[name] = record;
    } else {
        registry().erase(name);
    }
}

void *findService(const char *name) {
    auto found = registry().find(name);
    return found == registry().end() ? nullptr : found->second;
}

PlofGlobalFunc globalServiceFunction() { return &answerGlobal; }

}  // namespace plof::host
