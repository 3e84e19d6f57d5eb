#include <windows.h>

#include "host/base/physical_memory.h"

namespace plof::host {

uint64_t physicalMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? static_cast<uint64_t>(status.ullTotalPhys) : 0;
}

}  // namespace plof::host
