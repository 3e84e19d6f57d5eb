#include "host/play/scene_services.h"

#include <cstdio>
#include <filesystem>

#include "host/base/host_context.h"
#include "host/module/message_observer.h"
#include "host/module/service_registry.h"
#include "plof/host_services.h"

namespace plof::host {

// The C operations behind the records; each answers from the services of the
// installed context.
struct ServiceCallbacks {
    static HostServices *activeServices() {
        const HostContext *context = hostContext();
        return context ? context->sceneServices : nullptr;
    }

    // Item 0 stands for the current item; see the header.
    static PlofItemId resolved(PlofItemId id) {
        const HostServices *active = activeServices();
        return id == 0 && active ? active->currentItem_ : id;
    }

    static const HostItem *item(PlofItemId id) {
        const HostServices *active = activeServices();
        if (!active || id == 0 || id > active->scene_.items.size()) {
            return nullptr;
        }
        return &active->scene_.items[id - 1];
    }

    static void *meshSource(PlofItemId id) { return const_cast<HostItem *>(item(resolved(id))); }

    static int32_t pointCount(PlofItemId id) {
        const HostItem *found = item(resolved(id));
        return found ? found->pointCount() : 0;
    }

    static void *accessHandle(void *meshSource) { return meshSource; }

    static const float *pointPosition(void *handle, int32_t point) {
        const auto *found = static_cast<const HostItem *>(handle);
        if (!found || point < 0 || point >= found->pointCount()) {
            return nullptr;
        }
        return found->points.data() + 3 * static_cast<std::size_t>(point);
    }

    static PlofItemId first(int32_t kind, PlofItemId parent) {
        const HostServices *active = activeServices();
        if (!active || kind != PLOF_ITEM_OBJECT) {
            return 0;
        }
        const auto &items = active->scene_.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (parent == 0 || items[i].parent == static_cast<int32_t>(parent)) {
                return static_cast<PlofItemId>(i + 1);
            }
        }
        return 0;
    }

    static PlofItemId next(PlofItemId id) { return item(id) && item(id + 1) ? id + 1 : 0; }

    static const char *name(PlofItemId id) {
        const HostItem *found = item(id);
        return found ? found->name.c_str() : "";
    }

    static void param(PlofItemId id, int32_t code, double time, double vector[3]) {
        if (!vector) {
            return;
        }
        HostServices *active = activeServices();
        if (active) {
            ++active->parameterQueries_;
        }
        id = resolved(id);
        const Vec3 *answer = nullptr;
        if (item(id)) {
            const ItemPose &pose = active->poses_.at(id - 1, time);
            switch (code) {
                case PLOF_PARAM_RIGHT: answer = &pose.axes.x; break;
                case PLOF_PARAM_UP: answer = &pose.axes.y; break;
                case PLOF_PARAM_FORWARD: answer = &pose.axes.z; break;
                case PLOF_PARAM_W_POSITION: answer = &pose.position; break;
                default: break;
            }
        }
        for (int i = 0; i < 3; ++i) {
            vector[i] = answer ? (*answer)[i] : 0.0;
        }
    }

    static void message(const char *first, const char *second) {
        std::string text = first ? first : "";
        if (second) {
            text += ' ';
            text += second;
        }
        std::fprintf(stderr, "PLOF!: %s\n", text.c_str());
        const HostContext *context = hostContext();
        if (context && context->messages) context->messages->messageShown();
        HostServices *active = activeServices();
        if (active) {
            active->messages_.push_back(std::move(text));
        }
    }

    static const char *directory(const char *kind) {
        const HostServices *active = activeServices();
        if (!active || !kind) {
            return nullptr;
        }
        const std::string_view wanted(kind);
        if (wanted == PLOF_DIRECTORY_OBJECTS) {
            return active->objectsDirectory_.c_str();
        }
        if (wanted == PLOF_DIRECTORY_SCENES) {
            return active->scenesDirectory_.c_str();
        }
        return nullptr;
    }

    static int32_t cancelledRequest(const char *, char *, char *, char *resultBuffer, int32_t size) {
        if (resultBuffer && size > 0) {
            resultBuffer[0] = '\0';
        }
        return 0;
    }
};

namespace {

PlofObjectInfo objectInfo{&ServiceCallbacks::meshSource, &ServiceCallbacks::pointCount};
PlofObjectAccess objectAccess{&ServiceCallbacks::accessHandle, nullptr, nullptr, nullptr, nullptr,
                              &ServiceCallbacks::pointPosition};
PlofItemInfo itemInfo{
    &ServiceCallbacks::first, &ServiceCallbacks::next, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    &ServiceCallbacks::name,  &ServiceCallbacks::param};
PlofMessages messageRecord{&ServiceCallbacks::message, &ServiceCallbacks::message};
PlofDirectoryInfo directoryInfo{&ServiceCallbacks::directory};
PlofFileRequest fileRequest{&ServiceCallbacks::cancelledRequest};

struct Provided {
    const char *name;
    void *record;
};
const Provided kProvided[] = {
    {PLOF_SERVICE_OBJECT_INFO, &objectInfo},       {PLOF_SERVICE_OBJECT_ACCESS, &objectAccess},
    {PLOF_SERVICE_ITEM_INFO, &itemInfo},           {PLOF_SERVICE_MESSAGES, &messageRecord},
    {PLOF_SERVICE_DIRECTORY_INFO, &directoryInfo}, {PLOF_SERVICE_FILE_REQUEST, &fileRequest},
};

}  // namespace

HostServices::HostServices(const HostScene &scene, double framesPerSecond)
    : scene_(scene), poses_(scene, framesPerSecond), answering_({.sceneServices = this}) {
    std::error_code ignored;
    objectsDirectory_ = scenesDirectory_ = std::filesystem::current_path(ignored).string();
    for (const Provided &service : kProvided) {
        provideService(service.name, service.record);
    }
}

HostServices::~HostServices() {
    for (const Provided &service : kProvided) {
        if (findService(service.name) == service.record) {
            provideService(service.name, nullptr);
        }
    }
}

void HostServices::setDirectory(const std::string &kind, const std::string &path) {
    if (kind == PLOF_DIRECTORY_OBJECTS) {
        objectsDirectory_ = path;
    } else if (kind == PLOF_DIRECTORY_SCENES) {
        scenesDirectory_ = path;
    }
}

}  // namespace plof::host
