#include <emscripten/heap.h>

#include "host/base/physical_memory.h"

namespace plof::host {

// A WebAssembly instance can use no more than its memory may grow to,
// however much the machine has.
uint64_t physicalMemoryBytes() { return emscripten_get_heap_max(); }

}  // namespace plof::host
