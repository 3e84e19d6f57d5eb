// The services the stand-in host offers the module through the global-service
// function, answered from one scene: "LW Object Info", "LWObjectAccess",
// "LW Item Info", "Info Messages", "Directory Info" and a "File Request"
// that always answers "cancelled".
//
// Constructing a HostServices provides its records in the service registry
// (host/module/service_registry.h), which stays the one place the module's
// requests are answered from: another part of the host may replace any
// record there afterwards (a scripted "File Request", the panel services).
// The records are plain C tables that answer from the context's
// sceneServices (host/base/host_context.h), which the HostServices fills
// while it lives; its destructor withdraws those of its records that are
// still provided. A message the module shows is told to the context's
// MessageObserver once shown. Constructing one without an installed context
// throws std::logic_error.
//
// Items are numbered 1, 2, ... in scene order; every item is an object item.
// Item 0 is "no item", except that object, point and parameter queries for
// item 0 answer for the current item: the object whose instance the host is
// creating or running. A version-1 handler creates its instances without an
// item and so asks about item 0. Parameter queries cost no allocation and no
// name lookup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/base/host_context.h"
#include "host/scene/host_scene.h"
#include "host/scene/scene_poses.h"
#include "plof/abi.h"

namespace plof::host {

class HostServices {
public:
    // `scene` must outlive this object and keep its items unchanged.
    HostServices(const HostScene &scene, double framesPerSecond);
    ~HostServices();
    HostServices(const HostServices &) = delete;
    HostServices &operator=(const HostServices &) = delete;

    // Every "Info Messages" message so far, as printed: "first second".
    const std::vector<std::string> &messages() const { return messages_; }

    // Sets the directory that "Directory Info" answers for PLOF_DIRECTORY_OBJECTS or
    // PLOF_DIRECTORY_SCENES.
    void setDirectory(const std::string &kind, const std::string &path);

    // Number of "LW Item Info" parameter queries answered so far.
    uint64_t parameterQueries() const { return parameterQueries_; }

    ScenePoses &poses() { return poses_; }

    // The item that queries about item 0 answer for (0: none).
    void setCurrentItem(PlofItemId item) { currentItem_ = item; }

private:
    friend struct ServiceCallbacks;

    const HostScene &scene_;
    ScenePoses poses_;
    std::vector<std::string> messages_;
    std::string objectsDirectory_;
    std::string scenesDirectory_;
    uint64_t parameterQueries_ = 0;
    PlofItemId currentItem_ = 0;
    ContextScope answering_;  // last: the records answer from this object once it is whole
};

}  // namespace plof::host
