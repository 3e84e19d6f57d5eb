#include "instance/keyword_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "fake_states.h"

namespace plof {
namespace {

using testing::FakeLoadState;
using testing::FakeSaveState;

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A temporary file holding exactly `bytes`, positioned at its start.
File fileWith(const std::string &bytes) {
    File file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string contents(std::FILE *file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    return text;
}

TEST(HasPrefix, KeywordsReadMatchTheVocabularyByPrefix) {
    EXPECT_EQ(hasPrefix("V0Min", "V0Min"), 0);
    EXPECT_EQ(hasPrefix("V0Min", "V0Max"), 1);
    EXPECT_EQ(hasPrefix("V0Min", "V0"), 0);
    EXPECT_EQ(hasPrefix("V0", "V0Min"), 1);
    EXPECT_EQ(hasPrefix("V0Min", ""), 0);
    EXPECT_EQ(hasPrefix("", ""), 0);
    EXPECT_EQ(hasPrefix("", "V"), 1);
    EXPECT_EQ(hasPrefix("V0Min", "v0min"), 1);
    EXPECT_EQ(hasPrefix("PLOF_START", "PLOF_START\n"), 1);
}

TEST(EndsWith, ComparesTheSuffixFromTheEnd) {
    EXPECT_EQ(endsWith("C:\\objects\\spark.lwo", ".lwo"), 1);
    EXPECT_EQ(endsWith("C:\\objects\\spark.LWO", ".lwo"), 0);
    EXPECT_EQ(endsWith("lwo", ".lwo"), 0);
    EXPECT_EQ(endsWith(".lwo", ".lwo"), 1);
    EXPECT_EQ(endsWith("setting.plf", ".lwo"), 0);
    EXPECT_EQ(endsWith("", ""), 1);
}

TEST(EndsWith, OnlyTheFirst255CharactersOfANameCount) {
    const std::string name = std::string(251, 'a') + ".lwo";  // 255 characters
    EXPECT_EQ(endsWith(name.c_str(), ".lwo"), 1);
    EXPECT_EQ(endsWith((name + "x").c_str(), ".lwo"), 1);
    EXPECT_EQ(endsWith((name + "x").c_str(), ".lwox"), 0);
}

TEST(ReadKeywordLineFromHost, SplitsKeywordAndValueAtTheFirstSpace) {
    FakeLoadState block({"Gravity 9.8", "REFERENCE", "V0Min -1.5e1 junk", "OrgEmit ", " 3", ""});
    KeywordLine line;

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "Gravity");
    EXPECT_EQ(line.length, 7);
    EXPECT_TRUE(line.hasValue);
    EXPECT_EQ(line.value, 9.8);

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "REFERENCE");
    EXPECT_EQ(line.length, 9);
    EXPECT_FALSE(line.hasValue);
    EXPECT_EQ(line.value, 9.8) << "a line without a space leaves the value alone";

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "V0Min");
    EXPECT_EQ(line.value, -15.0);

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "OrgEmit");
    EXPECT_TRUE(line.hasValue);
    EXPECT_EQ(line.value, 0.0) << "a space without a number reads as 0";

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "");
    EXPECT_EQ(line.length, 0);
    EXPECT_EQ(line.value, 3.0);

    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_EQ(line.length, 0);
    EXPECT_FALSE(line.hasValue);

    for (int32_t size : block.sizes()) EXPECT_EQ(size, 256);
}

TEST(ReadKeywordLineFromHost, TheEndOfTheBlockGivesNoLine) {
    FakeLoadState block({});
    KeywordLine line;
    line.keyword[0] = 'X';
    line.keyword[1] = '\0';
    line.length = 1;
    EXPECT_FALSE(readKeywordLine(block.state(), line));
    EXPECT_STREQ(line.keyword.data(), "X");
    EXPECT_EQ(line.length, 1);
}

TEST(ReadKeywordLineFromHost, ALongLineIsCutToTheBuffer) {
    FakeLoadState block({std::string(400, 'K')});
    KeywordLine line;
    ASSERT_TRUE(readKeywordLine(block.state(), line));
    EXPECT_EQ(line.length, 255);
    EXPECT_EQ(std::string(line.keyword.data()), std::string(255, 'K'));
}

TEST(ReadKeywordLineFromHost, NeverReadsPastAnUnterminatedHostBuffer) {
    // A host that fills the whole buffer and forgets the NUL.
    PlofLoadState careless{nullptr, [](void *, char *buffer, int32_t size) {
                               std::memset(buffer, 'Z', static_cast<std::size_t>(size));
                               return size;
                           }};
    KeywordLine line;
    ASSERT_TRUE(readKeywordLine(careless, line));
    EXPECT_EQ(line.length, 255);
}

// Names used to be read into 50 bytes, so long ones came back cut to 49.
TEST(ReadNameLineFromHost, ReadsTheWholeLineUpTo255Characters) {
    FakeLoadState block({"Avoid Me Please", std::string(80, 'n'), std::string(300, 'm')});
    LineBuffer name;
    name.fill('#');

    ASSERT_TRUE(readNameLine(block.state(), name));
    EXPECT_STREQ(name.data(), "Avoid Me Please");

    ASSERT_TRUE(readNameLine(block.state(), name));
    EXPECT_EQ(std::string(name.data()), std::string(80, 'n'));
    ASSERT_TRUE(readNameLine(block.state(), name));
    EXPECT_EQ(std::string(name.data()), std::string(255, 'm'));

    EXPECT_FALSE(readNameLine(block.state(), name));
    EXPECT_STREQ(name.data(), "");
    EXPECT_EQ(block.sizes(), (std::vector<int32_t>{256, 256, 256, 256}));
}

TEST(WriteToHost, LinesCarryTheirNulInTheLength) {
    FakeSaveState saved;
    writeTextLine(saved.state(), "PLOF_START");
    writeKeywordValue(saved.state(), "AgeMin", 10);
    writeKeywordValue(saved.state(), "Gravity", 9.8);
    writeKeywordValue(saved.state(), "V0Min", 1.2345678);
    writeKeywordValue(saved.state(), "Birth", -3);
    EXPECT_TRUE(saved.lengthsCountTheNul());
    EXPECT_EQ(saved.lines(), (std::vector<std::string>{"PLOF_START", "AgeMin 10.000000", "Gravity 9.800000",
                                                       "V0Min 1.234568", "Birth -3.000000"}));
}

TEST(WriteToHost, OversizedLinesAreCutTo254Characters) {
    FakeSaveState saved;
    writeTextLine(saved.state(), std::string(300, 't').c_str());
    writeKeywordValue(saved.state(), "V0Min", 1e300);
    writeKeywordValue(saved.state(), std::string(300, 'k').c_str(), 1.0);
    EXPECT_TRUE(saved.lengthsCountTheNul());
    ASSERT_EQ(saved.lines().size(), 3u);
    EXPECT_EQ(saved.lines()[0], std::string(254, 't'));
    // Cut, the value would read back as another number: its shortest form.
    EXPECT_EQ(saved.lines()[1], "V0Min 1e+300");
    EXPECT_EQ(saved.lines()[2], std::string(254, 'k'));
}

TEST(WriteToHost, FixedNotationIsKeptUpToTheLastValueThatFitsTheLine) {
    FakeSaveState saved;
    // The double nearest 1e239 has 239 digits: with "Gravity " and six
    // decimals, exactly the 254 characters a line holds.
    writeKeywordValue(saved.state(), "Gravity", 1e239);
    writeKeywordValue(saved.state(), "Gravity", 1e240);
    writeKeywordValue(saved.state(), "Gravity", -1e238);  // one character over, by its sign
    ASSERT_EQ(saved.lines().size(), 3u);
    EXPECT_EQ(saved.lines()[0].size(), 254u);
    EXPECT_EQ(saved.lines()[0].substr(0, 12), "Gravity 9999");
    EXPECT_TRUE(saved.lines()[0].ends_with(".000000"));
    EXPECT_EQ(saved.lines()[1], "Gravity 1e+240");
    EXPECT_EQ(saved.lines()[2], "Gravity -1e+238");
}

TEST(FileForm, WritesLinesEndedByALineFeed) {
    File file(std::tmpfile());
    writeTextLine(file.get(), "REFERENCE");
    writeKeywordValue(file.get(), "SpreadMax", 180);
    writeTextLine(file.get(), std::string(300, 'x').c_str());
    EXPECT_EQ(contents(file.get()), "REFERENCE\nSpreadMax 180.000000\n" + std::string(254, 'x') + "\n");
}

TEST(FileForm, LinesKeepTheirLineEndAndWindowsLineEndsReadAsLineFeeds) {
    File file = fileWith("PLOF_START\r\nGravity 9.800000\r\nREFERENCE\r\nSpark Emitter\r\nPLOF_END");
    KeywordLine line;
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "PLOF_START\n");
    EXPECT_EQ(line.length, 11);
    EXPECT_FALSE(line.hasValue);
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "Gravity");
    EXPECT_EQ(line.value, 9.8);
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "REFERENCE\n");
    LineBuffer name;
    ASSERT_TRUE(readNameLine(file.get(), name));
    EXPECT_STREQ(name.data(), "Spark Emitter");
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "PLOF_END") << "a last line without its line end";
    EXPECT_FALSE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "PLOF_END") << "the end of the file leaves the line alone";
}

// The rest of an over-long line used to be read as the next line.
TEST(FileForm, ALineLongerThan255CharactersIsCutAndItsRestSkipped) {
    File file = fileWith(std::string(255, 'q') + "Birth 7\n" + std::string(255, 'r') + "\r\nPLOF_END\n");
    KeywordLine line;
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_EQ(std::string(line.keyword.data()), std::string(255, 'q'));
    EXPECT_FALSE(line.hasValue);
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_EQ(std::string(line.keyword.data()), std::string(255, 'r')) << "its line end was not read";
    ASSERT_TRUE(readKeywordLine(file.get(), line));
    EXPECT_STREQ(line.keyword.data(), "PLOF_END\n");
}

TEST(FileForm, NameLinesHoldUpTo255Characters) {
    File file = fileWith(std::string(60, 'n') + "\n" + std::string(255, 'o') + "Gravity 0\nnone\nlast");
    LineBuffer name;
    ASSERT_TRUE(readNameLine(file.get(), name));
    EXPECT_EQ(std::string(name.data()), std::string(60, 'n'));
    ASSERT_TRUE(readNameLine(file.get(), name));
    EXPECT_EQ(std::string(name.data()), std::string(255, 'o'));
    ASSERT_TRUE(readNameLine(file.get(), name));
    EXPECT_STREQ(name.data(), "none");
    ASSERT_TRUE(readNameLine(file.get(), name));
    EXPECT_STREQ(name.data(), "last");
    EXPECT_FALSE(readNameLine(file.get(), name));
    EXPECT_STREQ(name.data(), "");
}

}  // namespace
}  // namespace plof
