#include "support/module_state_reset.h"

#include "instance/module_state.h"

namespace plof {

void resetModuleState() { moduleState() = freshModuleState(); }

}  // namespace plof
