#include <emscripten.h>
#include <unistd.h>

#include "host/files/file_access.h"

// Under Node, Node asks the system (access(2)), as the POSIX part does;
// emscripten's own access() guesses from the permission bits alone, whoever
// owns the folder. In a browser (-1) the files are emscripten's own, in
// memory, and its access() answers for them.
EM_JS(int, plofDirectoryWritable, (const char *directory), {
    if (typeof process != 'object' || !process.versions || !process.versions.node) return -1;
    const fs = require('fs');
    try {
        fs.accessSync(UTF8ToString(directory), fs.constants.W_OK | fs.constants.X_OK);
        return 1;
    } catch (error) {
        return 0;
    }
});

namespace plof::host {

bool directoryWritable(const std::string &directory) {
    const int answer = plofDirectoryWritable(directory.c_str());
    return answer < 0 ? ::access(directory.c_str(), W_OK | X_OK) == 0 : answer == 1;
}

}  // namespace plof::host
