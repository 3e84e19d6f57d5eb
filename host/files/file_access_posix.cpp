#include <unistd.h>

#include "host/files/file_access.h"

namespace plof::host {

bool directoryWritable(const std::string &directory) { return access(directory.c_str(), W_OK | X_OK) == 0; }

}  // namespace plof::host
