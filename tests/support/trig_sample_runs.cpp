#include "support/trig_sample_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace plof::test {

namespace fs = std::filesystem;

namespace {

std::string bitsText(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

}  // namespace

std::size_t writeHardTrigCalls(const fs::path &path) {
    std::ifstream in(PLOF_SOURCE_DIR "/tests/math/hard_trig_cases.txt");
    std::ofstream out(path);
    std::size_t calls = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, first, second;
        fields >> name >> first >> second;
        const double a = std::strtod(first.c_str(), nullptr);
        if (name == "atan2") {
            out << "a " << bitsText(a) << " " << bitsText(std::strtod(second.c_str(), nullptr)) << "\n";
            ++calls;
        } else {
            for (char f : {'s', 'c', 't'}) out << f << " " << bitsText(a) << "\n";
            calls += 3;
        }
    }
    return calls;
}

std::string runTrigSample(Build build, const fs::path &calls, const fs::path &directory) {
    std::string command;
    switch (build) {
        case Build::native: command = "'" + (fs::path(PLOF_BIN_DIR) / "trig_sample").string() + "'"; break;
        case Build::windows:
            command = "PLOF_WINEPREFIX='" + (windowsBinDir().parent_path() / "wineprefix").string() +
                      "' " PLOF_SOURCE_DIR "/scripts/wine-run '" + (windowsBinDir() / "trig_sample.exe").string() + "'";
            break;
        case Build::web: command = "node '" + (webProgramsDir() / "trig_sample.js").string() + "'"; break;
    }
    const fs::path out = directory / (std::string(buildName(build)) + ".txt");
    command += " " + std::to_string(kTrigSampleCount) + " '" + hostPath(build, calls) + "' >'" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    // Standard output in text mode ends the Windows program's lines with CR LF.
    std::string text = readFileBytes(out);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string firstTrigDifference(const std::string &native, const std::string &other, const std::string &name) {
    if (native == other) return "";
    std::istringstream a(native), b(other);
    std::string lineA, lineB;
    for (int line = 1; std::getline(a, lineA); ++line) {
        std::getline(b, lineB);
        if (lineA != lineB)
            return "line " + std::to_string(line) + ": native '" + lineA + "', " + name + " '" + lineB + "'";
    }
    return "the " + name + " output has more lines";
}

}  // namespace plof::test
