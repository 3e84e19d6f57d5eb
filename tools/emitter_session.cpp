#include "emitter_session.h"

#include <cstdio>
#include <vector>

#include "emitter_scene.h"
#include "host/base/host_error.h"
#include "host/play/frame_loop.h"
#include "host/scene/scene_writer.h"
#include "host/script/scripted_user.h"
#include "plof/host_services.h"

namespace plof::tools {

using namespace plof::host;

EmitterSession::EmitterSession(HostScene scene, const ParsedArguments &arguments, double fps)
    : scene_(std::move(scene)) {
    module_ = LoadedModule::open(modulePath(arguments));
    services_ = std::make_unique<HostServices>(scene_, fps);
    if (const auto objects = arguments.value("--objects-dir"))
        services_->setDirectory(PLOF_DIRECTORY_OBJECTS, *objects);
    if (const auto scenes = arguments.value("--scenes-dir")) services_->setDirectory(PLOF_DIRECTORY_SCENES, *scenes);
    // Before the handler is activated (scripted_user.h says why).
    provideScriptedServices();
    handler_ = std::make_unique<EffectHandler>(*module_, 2);
    // The emitter is item 1; the module may ask about item 0 while it is made.
    services_->setCurrentItem(1);
    instance_ = handler_->create(1);
    // emitterScene has warned about lines the effect cannot read whole.
    if (!scene_.items[0].effectLines.empty()) handler_->load(instance_, scene_.items[0].effectLines);
}

EmitterSession::~EmitterSession() {
    if (instance_) handler_->destroy(instance_);
    services_->setCurrentItem(0);
}

void EmitterSession::showFrame(int32_t frame, double time) {
    const HostItem &item = scene_.items[0];
    std::vector<double> displaced(item.points.size());
    runEffect(handler_->operations(), *services_, instance_, item, 0, frame, time, displaced.data());
}

void EmitterSession::saveScene(const std::string &path) {
    HostItem &item = scene_.items[0];
    item.effectLines = handler_->save(instance_);
    writeSceneFile(scene_, path);
}

}  // namespace plof::tools
