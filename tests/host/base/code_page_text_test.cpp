// Windows-1252 to UTF-8: ASCII unchanged, Latin-1 as two bytes, the code
// page's own characters at 0x80..0x9F, and its five undefined bytes kept.
#include <gtest/gtest.h>

#include "host/base/code_page_text.h"

namespace plof::host {
namespace {

TEST(CodePageTextTest, EveryRangeOfTheCodePage) {
    EXPECT_EQ(utf8FromCodePage("spout 12"), "spout 12");
    EXPECT_EQ(utf8FromCodePage("D\xfcse \xff"), "D\xc3\xbcse \xc3\xbf");
    EXPECT_EQ(utf8FromCodePage("\x80\x8a\x9f"), "\xe2\x82\xac\xc5\xa0\xc5\xb8");  // euro, S caron, Y diaeresis
    EXPECT_EQ(utf8FromCodePage("\x81\x9d"), "\xc2\x81\xc2\x9d");
    EXPECT_EQ(utf8FromCodePage(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace plof::host
