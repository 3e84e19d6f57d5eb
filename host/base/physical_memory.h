// How much memory the machine has, for commands to refuse up front what
// cannot fit. One file per platform.
#pragma once

#include <cstdint>

namespace plof::host {

// The machine's physical memory in bytes; 0 when the system does not say.
uint64_t physicalMemoryBytes();

}  // namespace plof::host
