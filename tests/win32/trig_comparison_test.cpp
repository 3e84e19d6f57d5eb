// The trigonometry of portable_math.h on the native build and on the 32-bit
// Windows build under Wine: the same bits for a sample of arguments over the
// whole domain and for every hard case of tests/math/hard_trig_cases.txt,
// which the exact path decides (trig_sample prints them).
#include <gtest/gtest.h>

#include <algorithm>

#include "support/host_programs.h"
#include "support/trig_sample_runs.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

TEST(TrigComparison, WindowsBuildGivesTheNativeBitsOnASampleAndTheHardCases) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    if (!fs::exists(windowsBinDir() / "trig_sample.exe")) {
        GTEST_SKIP() << "trig_sample.exe is missing from the Windows build; rebuild it: cmake --build --preset win32";
    }
    const fs::path directory = freshTestDirectory("trig_comparison");
    const fs::path calls = directory / "hard_calls.txt";
    const size_t hardCalls = writeHardTrigCalls(calls);
    ASSERT_GE(hardCalls, 300u);
    const std::string native = runTrigSample(Build::native, calls, directory);
    const std::string windows = runTrigSample(Build::windows, calls, directory);
    EXPECT_EQ(static_cast<size_t>(std::count(native.begin(), native.end(), '\n')), 4 * kTrigSampleCount + hardCalls);
    EXPECT_EQ(firstTrigDifference(native, windows, "Windows"), "");
}

}  // namespace
}  // namespace plof::test
