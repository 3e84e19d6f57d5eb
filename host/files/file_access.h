// Whether the running program may create files in a directory, as the
// system answers it (so a privileged user may write where the permission
// bits say no). One file per platform.
#pragma once

#include <string>

namespace plof::host {

bool directoryWritable(const std::string &directory);

}  // namespace plof::host
