// The stand-in host program of each build, for the suites that compare them:
// the native plof-host beside the native plof.p; the 32-bit Windows
// plof-host.exe beside the Windows plof.p, run under Wine through
// scripts/wine-run (one Wine prefix under the build tree, headless, Wine's
// own messages kept out); and the WebAssembly build's plof-host.js, the
// module built in, run by Node.
//
// Contract:
// - run() starts the program in `workDir` with the arguments as given,
//   waits for it, and returns its exit code and everything it wrote to
//   standard output and standard error. Nothing of the arguments is
//   translated: a path handed to the Windows program must be made with
//   hostPath(), which gives it the form Windows programs receive (drive
//   letter and backslashes), as the real host hands paths to the module.
// - windowsBuildMissing() is "" when both programs and Wine are there,
//   webBuildMissing() when both programs and Node are; otherwise each says
//   what is missing and how to build it, for GTEST_SKIP.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace plof::test {

enum class Build { native, windows, web };

const char *buildName(Build build);

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The directory holding plof-host.exe and the Windows plof.p.
std::filesystem::path windowsBinDir();

std::string windowsBuildMissing();

// The folder of plof-host.js (the static folder build/web), and the build
// tree's programs of the WebAssembly build (trig_sample.js).
std::filesystem::path webDir();
std::filesystem::path webProgramsDir();

std::string webBuildMissing();

// `path` as the program of `build` is given it: unchanged for the native
// and the WebAssembly build (Node reaches the real file system); for the
// Windows build the Wine drive that maps the root ("Z:"),
// then the absolute path with backslashes.
std::string hostPath(Build build, const std::filesystem::path &path);

ProgramRun runHost(Build build, const std::vector<std::string> &arguments, const std::filesystem::path &workDir);

// A fresh, empty directory under the build tree for one test's files.
std::filesystem::path freshTestDirectory(const std::string &name);

std::string readFileBytes(const std::filesystem::path &path);

}  // namespace plof::test

// Skips the current test, saying why, when the Windows build is not there.
#define PLOF_SKIP_WITHOUT_WINDOWS_BUILD()                                    \
    do {                                                                     \
        const std::string plofMissing = ::plof::test::windowsBuildMissing(); \
        if (!plofMissing.empty()) GTEST_SKIP() << plofMissing;               \
    } while (false)

// Skips the current test, saying why, when the WebAssembly build is not there.
#define PLOF_SKIP_WITHOUT_WEB_BUILD()                                    \
    do {                                                                 \
        const std::string plofMissing = ::plof::test::webBuildMissing(); \
        if (!plofMissing.empty()) GTEST_SKIP() << plofMissing;           \
    } while (false)
