#include "instance/random_generator.h"

#include "instance/module_state.h"

namespace plof {

int32_t nextRandom() {
    uint32_t &state = moduleState().randomState;
    state = state * 214013u + 2531011u;  // unsigned: wraps modulo 2^32 by definition
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

}  // namespace plof
