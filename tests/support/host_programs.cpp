#include "support/host_programs.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plof::test {

namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

fs::path wineRunner() { return fs::path(PLOF_SOURCE_DIR) / "scripts" / "wine-run"; }

}  // namespace

const char *buildName(Build build) {
    switch (build) {
        case Build::native: return "native";
        case Build::windows: return "windows";
        default: return "web";
    }
}

fs::path windowsBinDir() { return fs::path(PLOF_WIN32_BIN_DIR); }

std::string windowsBuildMissing() {
    if (!fs::exists(fs::path(PLOF_BIN_DIR) / "plof-host")) {
        return "the native plof-host to compare with is missing from " PLOF_BIN_DIR;
    }
    for (const char *file : {"plof-host.exe", "plof.p"}) {
        if (!fs::exists(windowsBinDir() / file)) {
            return "the 32-bit Windows build is missing (" + (windowsBinDir() / file).string() +
                   "); build it with: cmake --preset win32 && cmake --build --preset win32";
        }
    }
    if (std::system("command -v wine >/dev/null 2>&1") != 0) {
        return "Wine is missing; install it with: scripts/install-deps --win32";
    }
    return "";
}

fs::path webDir() { return fs::path(PLOF_WEB_DIR); }
fs::path webProgramsDir() { return fs::path(PLOF_WEB_PROGRAMS_DIR); }

std::string webBuildMissing() {
    if (!fs::exists(fs::path(PLOF_BIN_DIR) / "plof-host")) {
        return "the native plof-host to compare with is missing from " PLOF_BIN_DIR;
    }
    for (const fs::path &program : {webDir() / "plof-host.js", webProgramsDir() / "trig_sample.js"}) {
        if (!fs::exists(program)) {
            return "the WebAssembly build is missing (" + program.string() +
                   "); build it with: cmake --preset web && cmake --build --preset web";
        }
    }
    if (std::system("command -v node >/dev/null 2>&1") != 0) {
        return "Node is missing; install it with: scripts/install-deps";
    }
    return "";
}

std::string hostPath(Build build, const fs::path &path) {
    const std::string absolute = fs::absolute(path).lexically_normal().string();
    if (build != Build::windows) {
        return absolute;
    }
    std::string windows = "Z:" + absolute;
    for (char &c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

ProgramRun runHost(Build build, const std::vector<std::string> &arguments, const fs::path &workDir) {
    std::string command = "cd " + shellQuoted(workDir.string()) + " && ";
    if (build == Build::native) {
        command += shellQuoted((fs::path(PLOF_BIN_DIR) / "plof-host").string());
    } else if (build == Build::web) {
        command += "node " + shellQuoted((webDir() / "plof-host.js").string());
    } else {
        // The prefix lives in the Windows build tree, wherever that is.
        command += "PLOF_WINEPREFIX=" + shellQuoted((windowsBinDir().parent_path() / "wineprefix").string()) + " " +
                   shellQuoted(wineRunner().string()) + " " + shellQuoted((windowsBinDir() / "plof-host.exe").string());
    }
    for (const std::string &argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    const fs::path outPath = workDir / ".program-out";
    const fs::path errPath = workDir / ".program-err";
    command += " >" + shellQuoted(outPath.string()) + " 2>" + shellQuoted(errPath.string()) + " </dev/null";

    ProgramRun run;
    const int status = std::system(command.c_str());
    run.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    run.out = readFileBytes(outPath);
    run.err = readFileBytes(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return run;
}

fs::path freshTestDirectory(const std::string &name) {
    const fs::path directory = fs::path(PLOF_BIN_DIR).parent_path() / "test-files" / name;
    fs::remove_all(directory);
    fs::create_directories(directory);
    return directory;
}

std::string readFileBytes(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace plof::test
