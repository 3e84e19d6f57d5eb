#include <io.h>

#include "host/files/file_access.h"

namespace plof::host {

// Mode 2 asks for write permission; Windows answers it from the read-only attribute.
bool directoryWritable(const std::string &directory) { return _access(directory.c_str(), 2) == 0; }

}  // namespace plof::host
