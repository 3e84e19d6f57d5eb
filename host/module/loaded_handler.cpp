#include "host/module/loaded_handler.h"

#include "host/base/host_error.h"
#include "host/module/saved_lines.h"
#include "host/module/service_registry.h"

namespace plof::host {

EffectHandler::EffectHandler(const PlofModuleDescriptor &descriptor, const std::string &modulePath,
                             int interfaceVersion)
    : modulePath_(modulePath), version_(interfaceVersion) {
    const PlofActivateFunc activate = findServer(descriptor, PLOF_CLASS_DISPLACEMENT_HANDLER, PLOF_SERVER_NAME);
    if (!activate) {
        throw ModuleError(modulePath_ + ": the module has no " PLOF_CLASS_DISPLACEMENT_HANDLER
                                        " server named " PLOF_SERVER_NAME);
    }
    const int32_t status = activate(interfaceVersion, globalServiceFunction(), &operations_);
    if (status == PLOF_ACTIVATE_BAD_VERSION) {
        throw ModuleError(modulePath_ + ": the module does not support handler interface version " +
                          std::to_string(interfaceVersion));
    }
    if (status != PLOF_ACTIVATE_OK) {
        throw ModuleError(modulePath_ + ": the module refused activation (status " + std::to_string(status) +
                          ": a host service it needs is missing)");
    }
    const bool complete = operations_.create.v2 && operations_.destroy && operations_.copy.v2 && operations_.load &&
                          operations_.save && operations_.newTime && operations_.evaluate && operations_.flags;
    if (!complete) {
        throw ModuleError(modulePath_ + ": the module left handler operations unfilled");
    }
}

PlofInstance EffectHandler::create(PlofItemId item) const {
    const char *error = nullptr;
    PlofInstance instance = version_ == 1 ? operations_.create.v1(&error) : operations_.create.v2(&error, item);
    if (!instance) {
        throw ModuleError(modulePath_ + ": creating the effect failed: " + (error ? error : "no reason given"));
    }
    return instance;
}

void EffectHandler::destroy(PlofInstance instance) const { operations_.destroy(instance); }

std::string EffectHandler::copy(PlofInstance from, PlofInstance to, PlofItemId item) const {
    const char *error = version_ == 1 ? operations_.copy.v1(from, to) : operations_.copy.v2(from, to, item);
    return error ? error : "";
}

void EffectHandler::load(PlofInstance instance, const std::vector<std::string> &lines) const {
    LineReader reader(lines);
    operations_.load(instance, &reader.state());
}

std::vector<std::string> EffectHandler::save(PlofInstance instance) const {
    LineWriter writer;
    operations_.save(instance, &writer.state());
    return writer.lines();
}

std::string EffectHandler::describe(PlofInstance instance) const {
    if (version_ == 1 || !operations_.describe) {
        return "";
    }
    const char *text = operations_.describe(instance);
    return text ? text : "";
}

}  // namespace plof::host
