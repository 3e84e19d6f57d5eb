// One emitter object carrying the effect, with the module loaded and one
// fresh instance, as `plof-host panel` and `plof-host bake` need it: the
// scene of `--object` (with its --motion), the host services over it, and the
// instance created for the object and loaded from --settings the way the host
// loads the effect's block from a scene.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "command.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/play/scene_services.h"
#include "host/scene/host_scene.h"

namespace plof::tools {

class EmitterSession {
public:
    // Loads the module and creates the instance. Throws InputError for a bad
    // object or settings file, ModuleError when the module cannot be loaded
    // or the instance made. `scene` is built by the caller (emitterScene).
    EmitterSession(host::HostScene scene, const ParsedArguments &arguments, double fps);
    ~EmitterSession();
    EmitterSession(const EmitterSession &) = delete;
    EmitterSession &operator=(const EmitterSession &) = delete;

    const host::LoadedModule &module() const { return *module_; }
    PlofInstance instance() const { return instance_; }
    const host::HostScene &scene() const { return scene_; }
    // The emitter's point count: one particle per point.
    int64_t pointCount() const { return scene_.items[0].pointCount(); }

    // Plays one frame of the effect (newTime, then evaluate for every point),
    // as the host does when it shows the scene at its current frame.
    void showFrame(int32_t frame, double time);

    // Stores the instance's saved lines in the emitter item and writes the
    // host scene to `path`; throws OutputError when it cannot be written.
    void saveScene(const std::string &path);

private:
    host::HostScene scene_;
    std::unique_ptr<host::LoadedModule> module_;
    std::unique_ptr<host::HostServices> services_;
    std::unique_ptr<host::EffectHandler> handler_;
    PlofInstance instance_ = nullptr;
};

}  // namespace plof::tools
