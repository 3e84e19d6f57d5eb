#include "host/module/module_loader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/base/host_error.h"

namespace plof::host {

namespace {

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace

std::string checkDescriptor(const PlofModuleDescriptor &descriptor, const std::string &path) {
    if (descriptor.sync != PLOF_MODULE_SYNC) {
        return path + ": not a plug-in module for this host (synchronisation word " + hex(descriptor.sync) +
               ", expected " + hex(PLOF_MODULE_SYNC) + ")";
    }
    if (descriptor.version != PLOF_MODULE_VERSION) {
        return path + ": module descriptor version " + std::to_string(descriptor.version) +
               " is not supported (this host reads version " + std::to_string(PLOF_MODULE_VERSION) + ")";
    }
    if (descriptor.machine != PLOF_MODULE_MACHINE) {
        return path + ": module built for machine code " + hex(descriptor.machine) + ", expected " +
               hex(PLOF_MODULE_MACHINE);
    }
    if (!descriptor.startup || !descriptor.servers) {
        return path + ": module descriptor has no start-up operation or no server list";
    }
    return "";
}

PlofActivateFunc findServer(const PlofModuleDescriptor &descriptor, const char *className, const char *serverName) {
    for (const PlofServerRecord *server = descriptor.servers; server && server->className; ++server) {
        if (std::strcmp(server->className, className) == 0 &&
            (!serverName || (server->serverName && std::strcmp(server->serverName, serverName) == 0))) {
            return server->activate;
        }
    }
    return nullptr;
}

std::unique_ptr<LoadedModule> LoadedModule::open(const std::string &path) {
    std::error_code ignored;
    if (!moduleBuiltIn() && !std::filesystem::is_regular_file(path, ignored)) {
        throw ModuleError(path + ": no such module file (give another with --module PATH)");
    }
    std::string error;
    void *library = platform::openLibrary(path, error);
    if (!library) {
        throw ModuleError(path + ": cannot load the module: " + error);
    }
    const auto *descriptor =
        static_cast<const PlofModuleDescriptor *>(platform::findSymbol(library, PLOF_DESCRIPTOR_SYMBOL));
    if (!descriptor) {
        platform::closeLibrary(library);
        throw ModuleError(path + ": not a plug-in module: it exports no " PLOF_DESCRIPTOR_SYMBOL);
    }
    if (std::string problem = checkDescriptor(*descriptor, path); !problem.empty()) {
        platform::closeLibrary(library);
        throw ModuleError(problem);
    }
    std::unique_ptr<LoadedModule> module(new LoadedModule(path, library, descriptor));
    module->serverData_ = descriptor->startup();
    if (!module->serverData_) {
        throw ModuleError(path + ": the module's start-up operation failed");
    }
    return module;
}

LoadedModule::LoadedModule(std::string path, void *library, const PlofModuleDescriptor *descriptor)
    : path_(std::move(path)), library_(library), descriptor_(descriptor) {}

LoadedModule::~LoadedModule() {
    if (serverData_ && descriptor_->shutdown) {
        descriptor_->shutdown(serverData_);
    }
    platform::closeLibrary(library_);
}

}  // namespace plof::host
