#include "host/base/quoted_text.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(QuotedTextTest, LongLinesAreCutWithoutSplittingACharacter) {
    EXPECT_EQ(lineExcerpt(std::string(1'000'000, 'x')), std::string(80, 'x') + "...");
    EXPECT_EQ(lineExcerpt(std::string(80, 'x')), std::string(80, 'x'));
    // "é" is two bytes: a cut between them moves before the character.
    EXPECT_EQ(lineExcerpt("ab\xc3\xa9z", 3), "ab...");
    EXPECT_EQ(lineExcerpt("caf\xc3\xa9\x1b[2J"), "caf\xc3\xa9\\x1b[2J");
}

}  // namespace
}  // namespace plof::host
