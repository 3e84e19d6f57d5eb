#include "plugin/handler_activation.h"

#include "instance/displacement.h"
#include "instance/handler_instance.h"
#include "instance/instance_lifecycle.h"
#include "instance/keyword_block.h"
#include "instance/module_state.h"
#include "plof/handler.h"
#include "plof/host_services.h"
#include "plof/module.h"

namespace plof {

namespace {

HandlerInstance &asInstance(PlofInstance instance) { return *static_cast<HandlerInstance *>(instance); }

// The host calls these through the table: C-compatible signatures that turn
// the host's untyped instance into the module's record. Version-1 hosts give
// no item, so 0 stands in for it.
PlofInstance createThunk(const char **errorText, PlofItemId item) { return createInstance(errorText, item); }
PlofInstance createV1Thunk(const char **errorText) { return createInstance(errorText, 0); }
void destroyThunk(PlofInstance instance) { destroyInstance(static_cast<HandlerInstance *>(instance)); }
const char *copyThunk(PlofInstance from, PlofInstance to, PlofItemId item) {
    return copyInstance(asInstance(from), asInstance(to), item);
}
const char *copyV1Thunk(PlofInstance from, PlofInstance to) {
    return copyInstance(asInstance(from), asInstance(to), 0);
}
const char *loadThunk(PlofInstance instance, const PlofLoadState *state) {
    return loadInstance(asInstance(instance), *state);
}
const char *saveThunk(PlofInstance instance, const PlofSaveState *state) {
    return saveInstance(asInstance(instance), *state);
}
const char *newTimeThunk(PlofInstance instance, PlofItemId item, int32_t frame, double time) {
    return newTime(asInstance(instance), item, frame, time);
}
void evaluateThunk(PlofInstance instance, PlofDisplacementAccess *access) { evaluate(asInstance(instance), *access); }
int32_t flagsThunk(PlofInstance instance) { return flags(asInstance(instance)); }
const char *describeThunk(PlofInstance instance) { return describe(asInstance(instance)); }

template <typename Record>
const Record *fetch(PlofGlobalFunc global, const char *name) {
    return static_cast<const Record *>(global(name, 0));
}

void fillCommonSlots(PlofHandlerOperations &table) {
    table.destroy = destroyThunk;
    table.load = loadThunk;
    table.save = saveThunk;
    table.newTime = newTimeThunk;
    table.evaluate = evaluateThunk;
    table.flags = flagsThunk;
}

}  // namespace

int32_t activateHandler(int32_t version, PlofGlobalFunc global, void *table) {
    // The services are fetched into a record of their own and replace the
    // module-wide ones only when every one is there: instances that already
    // exist keep reading through the records of the last good activation.
    HostServiceRecords fetched;
    fetched.objectInfo = fetch<PlofObjectInfo>(global, PLOF_SERVICE_OBJECT_INFO);
    if (fetched.objectInfo == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    fetched.directoryInfo = fetch<PlofDirectoryInfo>(global, PLOF_SERVICE_DIRECTORY_INFO);

    auto &operations = *static_cast<PlofHandlerOperations *>(table);
    if (version == 1) {
        operations.create.v1 = createV1Thunk;
        operations.copy.v1 = copyV1Thunk;
        fillCommonSlots(operations);
    } else if (version == 2) {
        operations.create.v2 = createThunk;
        operations.copy.v2 = copyThunk;
        fillCommonSlots(operations);
        operations.describe = describeThunk;
    } else {
        return PLOF_ACTIVATE_BAD_VERSION;
    }

    fetched.itemInfo = fetch<PlofItemInfo>(global, PLOF_SERVICE_ITEM_INFO);
    if (fetched.itemInfo == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    fetched.messages = fetch<PlofMessages>(global, PLOF_SERVICE_MESSAGES);
    if (fetched.messages == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    fetched.fileRequest = fetch<PlofFileRequest>(global, PLOF_SERVICE_FILE_REQUEST);
    if (fetched.fileRequest == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    fetched.objectAccess = fetch<PlofObjectAccess>(global, PLOF_SERVICE_OBJECT_ACCESS);
    if (fetched.objectAccess == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;

    ModuleState &state = moduleState();
    state.global = global;
    static_cast<HostServiceRecords &>(state) = fetched;
    return PLOF_ACTIVATE_OK;
}

}  // namespace plof
