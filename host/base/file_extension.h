// File types by name: the one rule the host and plof-host use to tell a
// file's type from its name.
#pragma once

#include <string_view>

namespace plof::host {

// True when the file name in `path` (after its last '/' or '\') ends in
// `extension` (".png") and has something before it, letters compared
// without regard to case: "a.PNG" has ".png", ".png" and "dir/.png" have
// none, as a file name that is all extension names no type.
bool hasExtension(std::string_view path, std::string_view extension);

// The module's own test, for the host's checks that foretell what the module
// will accept (object files ".lwo", settings files ".plf"): the whole path
// ends in `extension`, byte for byte, case included.
bool hasModuleExtension(std::string_view path, std::string_view extension);

}  // namespace plof::host
