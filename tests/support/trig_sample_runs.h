// Running trig_sample (tests/win32/trig_sample.cpp) of a build, for the
// suites that require every build to give the native bits of sin, cos, tan
// and atan2: a sample of kTrigSampleCount arguments over the whole domain,
// then every hard case of tests/math/hard_trig_cases.txt, which the exact
// path decides.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "support/host_programs.h"

namespace plof::test {

inline constexpr long kTrigSampleCount = 20000;

// Writes the hard cases as trig_sample reads calls (bits, not hexadecimal
// fractions) into `path`; returns how many calls it wrote.
std::size_t writeHardTrigCalls(const std::filesystem::path &path);

// trig_sample of `build` on the sample and the calls of `calls`, its output
// kept in `directory`; its lines, with CR LF made LF.
std::string runTrigSample(Build build, const std::filesystem::path &calls, const std::filesystem::path &directory);

// "" when `other` (the output of the build named `name`) equals `native`,
// else the first line that differs.
std::string firstTrigDifference(const std::string &native, const std::string &other, const std::string &name);

}  // namespace plof::test
