// Tokens nobody can guess: the studio's server requires one in every
// request, and the studio names its temporary files with one.
#pragma once

#include <string>

namespace plof::host {

// 32 random hexadecimal digits from the system's random source.
std::string newToken();

}  // namespace plof::host
