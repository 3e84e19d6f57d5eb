#include "instance/module_state.h"

namespace plof {

namespace {

ModuleState state;

}  // namespace

ModuleState &moduleState() { return state; }

ModuleState freshModuleState() { return ModuleState{}; }

}  // namespace plof
