#include "instance/module_state.h"

namespace plof {

ModuleState freshModuleState() {
    ModuleState state;
    state.panel.text.type = PLOF_VALUE_TEXT;
    state.panel.integer.type = PLOF_VALUE_INTEGER;
    state.panel.number.type = PLOF_VALUE_FLOAT;
    state.panel.intVector.type = PLOF_VALUE_INT_VECTOR;
    state.panel.floatVector.type = PLOF_VALUE_FLOAT_VECTOR;
    state.panel.layoutInteger.type = PLOF_VALUE_INTEGER;
    return state;
}

namespace {

ModuleState state = freshModuleState();

}  // namespace

ModuleState &moduleState() { return state; }

}  // namespace plof
