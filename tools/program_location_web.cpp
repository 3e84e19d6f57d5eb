#include <emscripten.h>

#include <cstdlib>

#include "program_location.h"

// The folder of plof-host.js as Node started it, links resolved, as the
// native build reads /proc/self/exe. allocateUTF8 hands it over in the
// instance's memory.
EM_JS(char *, plofScriptDirectory, (), {
    const path = require('path');
    return allocateUTF8(path.dirname(require('fs').realpathSync(process.argv[1])));
});

namespace plof::tools {

std::string executableDirectory() {
    char *directory = plofScriptDirectory();
    std::string copy = directory;
    std::free(directory);
    return copy;
}

}  // namespace plof::tools
