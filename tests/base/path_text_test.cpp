#include "base/path_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace plof::test {
namespace {

TEST(PathText, JoinsWithThePlatformSeparatorAndCutsSafely) {
    char out[12];
    EXPECT_TRUE(joinPath(out, sizeof out, "dir", "*.plf"));
    EXPECT_EQ(out, std::string("dir") + kPathSeparator + "*.plf");
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(joinPath(out, 8, "directory", "*.plf"));
    EXPECT_STREQ(out, "directo");
    EXPECT_EQ(out[8], 'x');
    EXPECT_TRUE(joinPath(out, sizeof out, nullptr, "a"));
    EXPECT_EQ(out, std::string(1, kPathSeparator) + "a");
    EXPECT_FALSE(copyBounded(out, 4, "abcdef"));
    EXPECT_STREQ(out, "abc");
    EXPECT_TRUE(copyBounded(out, 4, nullptr));
    EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace plof::test
