#include <emscripten.h>

#include "host/files/file_access.h"

// Node asks the system (access(2)), as the POSIX part does; emscripten's own
// access() guesses from the permission bits alone, whoever owns the folder.
EM_JS(int, plofDirectoryWritable, (const char *directory), {
    const fs = require('fs');
    try {
        fs.accessSync(UTF8ToString(directory), fs.constants.W_OK | fs.constants.X_OK);
        return 1;
    } catch (error) {
        return 0;
    }
});

namespace plof::host {

bool directoryWritable(const std::string &directory) { return plofDirectoryWritable(directory.c_str()) == 1; }

}  // namespace plof::host
