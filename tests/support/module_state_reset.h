// Tests start from a freshly loaded module: the module's state put back as it
// is right after loading, without loading plof.p again. Test code only; the
// module itself never resets its state.
#pragma once

namespace plof {

void resetModuleState();

}  // namespace plof
