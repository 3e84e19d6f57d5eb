#include "host/module/saved_lines.h"

#include <gtest/gtest.h>

#include <cstring>

namespace plof::host {
namespace {

TEST(SavedLinesTest, ReaderHandsOutEveryLineThenReportsTheEndEveryTime) {
    const std::vector<std::string> lines{"PLOF_START", "", "REFERENCE", "PLOF_END"};
    LineReader reader(lines);
    const PlofLoadState &state = reader.state();
    char buffer[256];
    for (const std::string &line : lines) {
        ASSERT_EQ(state.read(state.data, buffer, sizeof buffer), static_cast<int32_t>(line.size()));
        EXPECT_STREQ(buffer, line.c_str());
    }
    std::strcpy(buffer, "stale");
    EXPECT_EQ(state.read(state.data, buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(state.read(state.data, buffer, sizeof buffer), -1);
}

TEST(SavedLinesTest, LongLinesAreCutToTheBuffer) {
    const std::vector<std::string> lines{"short", std::string(300, 'x'), "after"};
    LineReader reader(lines);
    char buffer[11];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reader.state().read(reader.state().data, buffer, sizeof buffer), 5);
    EXPECT_EQ(reader.state().read(reader.state().data, buffer, sizeof buffer), 10);
    EXPECT_EQ(std::string(buffer), std::string(10, 'x'));
    // The cut line is consumed whole: the next read is the next line.
    EXPECT_EQ(reader.state().read(reader.state().data, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "after");
}

TEST(SavedLinesTest, WriterTakesTheTextUpToItsNulOrLengthAndNeverALineBreak) {
    LineWriter writer;
    const PlofSaveState &state = writer.state();
    state.write(state.data, "V0Min 1.000000", 15);  // length counts the NUL
    const char unterminated[4] = {'a', 'b', 'c', 'd'};
    state.write(state.data, unterminated, 3);
    state.write(state.data, "two\nlines", 10);
    state.write(state.data, "early\0end", 10);
    state.write(state.data, "no length", 0);
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"V0Min 1.000000", "ab", "two", "early", "no length"}));
}

}  // namespace
}  // namespace plof::host
