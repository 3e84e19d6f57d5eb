#include "instance/item_motion.h"

#include "instance/module_state.h"

namespace plof {

namespace {

Vec3 queryParam(PlofItemId item, int32_t code, double time) {
    Vec3 value{};
    moduleState().itemInfo->param(item, code, time, value.data());
    return value;
}

}  // namespace

ItemFrame queryFrame(PlofItemId item, double time) {
    return {queryParam(item, PLOF_PARAM_RIGHT, time), queryParam(item, PLOF_PARAM_UP, time),
            queryParam(item, PLOF_PARAM_FORWARD, time), queryParam(item, PLOF_PARAM_W_POSITION, time)};
}

Vec3 queryPosition(PlofItemId item, double time) { return queryParam(item, PLOF_PARAM_W_POSITION, time); }

ItemAxes queryAxes(PlofItemId item, double time) {
    return {queryParam(item, PLOF_PARAM_RIGHT, time), queryParam(item, PLOF_PARAM_UP, time),
            queryParam(item, PLOF_PARAM_FORWARD, time)};
}

}  // namespace plof
