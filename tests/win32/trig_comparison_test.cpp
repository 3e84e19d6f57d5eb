// The trigonometry of portable_math.h on the native build and on the 32-bit
// Windows build under Wine: the same bits for a sample of arguments over the
// whole domain and for every hard case of tests/math/hard_trig_cases.txt,
// which the exact path decides (trig_sample prints them).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "support/host_programs.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

constexpr long kSampleCount = 20000;

std::string bitsText(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

// tests/math/hard_trig_cases.txt as trig_sample reads calls: bits, not hexadecimal fractions.
size_t writeHardCalls(const fs::path &path) {
    std::ifstream in(PLOF_SOURCE_DIR "/tests/math/hard_trig_cases.txt");
    std::ofstream out(path);
    size_t calls = 0;
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

std::string runSample(Build build, const fs::path &calls, const fs::path &directory) {
    const fs::path program =
        build == Build::native ? fs::path(PLOF_BIN_DIR) / "trig_sample" : windowsBinDir() / "trig_sample.exe";
    std::string command = build == Build::native
                              ? ""
                              : "PLOF_WINEPREFIX='" + (windowsBinDir().parent_path() / "wineprefix").string() +
                                    "' " PLOF_SOURCE_DIR "/scripts/wine-run ";
    const fs::path out = directory / (std::string(buildName(build)) + ".txt");
    command += "'" + program.string() + "' " + std::to_string(kSampleCount) + " '" + hostPath(build, calls) + "' >'" +
               out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    // Standard output in text mode ends the Windows program's lines with CR LF.
    std::string text = readFileBytes(out);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST(TrigComparison, WindowsBuildGivesTheNativeBitsOnASampleAndTheHardCases) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    if (!fs::exists(windowsBinDir() / "trig_sample.exe")) {
        GTEST_SKIP() << "trig_sample.exe is missing from the Windows build; rebuild it: cmake --build --preset win32";
    }
    const fs::path directory = freshTestDirectory("trig_comparison");
    const fs::path calls = directory / "hard_calls.txt";
    const size_t hardCalls = writeHardCalls(calls);
    ASSERT_GE(hardCalls, 300u);
    const std::string native = runSample(Build::native, calls, directory);
    const std::string windows = runSample(Build::windows, calls, directory);
    EXPECT_EQ(static_cast<size_t>(std::count(native.begin(), native.end(), '\n')), 4 * kSampleCount + hardCalls);
    if (native == windows) return;
    // The first line that differs.
    std::istringstream a(native), b(windows);
    std::string lineA, lineB;
    for (int line = 1; std::getline(a, lineA); ++line) {
        std::getline(b, lineB);
        if (lineA != lineB) FAIL() << "line " << line << ": native '" << lineA << "', Windows '" << lineB << "'";
    }
    FAIL() << "the Windows output has more lines";
}

}  // namespace
}  // namespace plof::test
