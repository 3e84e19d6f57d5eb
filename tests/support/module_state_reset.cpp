#include "support/module_state_reset.h"

#include "plugin/module_state.h"

namespace plof {

void resetModuleState() { moduleState() = freshModuleState(); }

}  // namespace plof
