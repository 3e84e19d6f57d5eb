// The main() of a test program that holds the suites of one folder of
// tests/ (one suite per NAME_test.cpp, linked together so that the sanitizer
// build links a program per folder rather than per suite).
// `PROGRAM --suite=NAME_test` runs only the tests defined in NAME_test.cpp,
// as that suite's own program did, so that each suite keeps its CTest entry
// and a failure names its suite; without --suite the program runs every test
// it holds. --gtest_filter narrows either further.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr const char *kSuiteFlag = "--suite=";

// Removes --suite=NAME from the arguments and returns NAME ("" without it).
std::string takeSuite(int &argc, char **argv) {
    std::string suite;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kSuiteFlag, std::strlen(kSuiteFlag)) == 0) {
            suite = argv[i] + std::strlen(kSuiteFlag);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return suite;
}

// The full names of the program's tests defined in another file than
// SUITE.cpp, ':'-separated, and whether any is defined in SUITE.cpp.
struct OtherTests {
    std::string names;
    bool suiteHasTests = false;
};

OtherTests testsOutside(const std::string &suite) {
    OtherTests other;
    const testing::UnitTest &program = *testing::UnitTest::GetInstance();
    for (int i = 0; i < program.total_test_suite_count(); ++i) {
        const testing::TestSuite &group = *program.GetTestSuite(i);
        for (int j = 0; j < group.total_test_count(); ++j) {
            const testing::TestInfo &test = *group.GetTestInfo(j);
            if (std::filesystem::path(test.file()).stem() == suite) {
                other.suiteHasTests = true;
                continue;
            }
            other.names += other.names.empty() ? "" : ":";
            other.names += std::string(group.name()) + "." + test.name();
        }
    }
    return other;
}

}  // namespace

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::string suite = takeSuite(argc, argv);
    if (argc > 1) {
        std::fprintf(stderr, "%s: unknown argument \"%s\"; the arguments are --suite=NAME and gtest's own\n", argv[0],
                     argv[1]);
        return 2;
    }
    if (!suite.empty()) {
        const OtherTests other = testsOutside(suite);
        if (!other.suiteHasTests) {
            std::fprintf(stderr, "%s: no test of this program is defined in %s.cpp; --gtest_list_tests lists them\n",
                         argv[0], suite.c_str());
            return 2;
        }
        // The filter's negative part (after its first '-') leaves out the
        // other files' tests, and keeps whatever the given filter chose.
        std::string filter = GTEST_FLAG_GET(filter);
        if (!other.names.empty()) {
            filter += filter.find('-') == std::string::npos ? "-" : ":";
            filter += other.names;
        }
        GTEST_FLAG_SET(filter, filter);
    }
    return RUN_ALL_TESTS();
}
