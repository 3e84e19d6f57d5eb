#include "host/settings/settings_warnings.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

std::vector<std::string> warn(const std::vector<std::string> &lines, LineForm form = LineForm::Block) {
    return settingsWarnings(readSettingsLines(lines, 1, form), "s.plf");
}

// Each line below has one thing the effect reads otherwise than it looks;
// each gets exactly one warning, naming its line, in line order.
TEST(SettingsWarningsTest, EachSurpriseIsToldOnceWithItsLine) {
    const std::vector<std::string> lines{
        "PLOF_START",
        "Gravty 2.0",                      // 2: unknown, near Gravity
        "Grav 3",                          // 3: abbreviated
        "V0Min lots",                      // 4: not a number
        "V0Max 4,5",                       // 5: comma
        "AgeMin 12.5",                     // 6: fraction
        "SpreadMax 190",                   // 7: beyond the panel
        "Regist inf",                      // 8: not finite
        "Birth 30 per second",             // 9: text after the number
        "START_F",                         // 10: no value
        "Wobble 3",                        // 11: unknown, nothing near
        "AgeMax 10",                       // AgeMin 12 above it: told at line 6
        "V0Min " + std::string(300, '1'),  // 13: longer than the buffer, and above V0Max
        "PLOF_END",
        "Birth 4",  // 15: after the end
    };
    const std::vector<std::string> warnings = warn(lines);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"s.plf:2: ", "did you mean \"Gravity\"?"},
        {"s.plf:3: ", "\"Grav\" is read as Gravity"},
        {"s.plf:4: ", "\"lots\" is not a number: the effect reads V0Min as 0"},
        {"s.plf:5: ", "\"4,5\" is read as 4"},
        {"s.plf:6: ", "reads 12.5 as 12"},
        {"s.plf:7: ", "SpreadMax 190 is outside what the options panel offers"},
        {"s.plf:8: ", "Regist is inf"},
        {"s.plf:9: ", "ignores \"per second\""},
        {"s.plf:10: ", "START_F has no value after it, so the effect leaves it at 0"},
        {"s.plf:11: ", "\"Wobble\" is no setting"},
        {"s.plf:13: ", "longer than the effect's line buffer"},
        {"s.plf:13: ", "is above V0Max 4: launch speeds run from V0Min up to"},
        {"s.plf:6: ", "AgeMin 12 is above AgeMax 10"},
        {"s.plf:15: ", "1 line(s) after PLOF_END (line 14) are not read"},
    };
    ASSERT_EQ(warnings.size(), expected.size()) << testing::PrintToString(warnings);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(warnings[i].rfind(expected[i].first, 0), 0u) << warnings[i];
        EXPECT_NE(warnings[i].find(expected[i].second), std::string::npos) << warnings[i];
    }
}

TEST(SettingsWarningsTest, CleanLinesWarnNothingAndBlockEndsAreTold) {
    const std::vector<std::string> clean{"PLOF_START", "V0Min 1.000000", "AgeMin 10.000000", "OrgEmit 1.000000",
                                         "REFERENCE",  "none",           "PLOF_END"};
    EXPECT_TRUE(warn(clean).empty());
    EXPECT_TRUE(warn(clean, LineForm::File).empty());
    // An empty line before PLOF_END loses nothing when only PLOF_END follows.
    EXPECT_TRUE(warn({"PLOF_START", "V0Min 2", "", "PLOF_END"}).empty());

    std::vector<std::string> warnings = warn({"PLOF_START", "V0Min 2"});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("s.plf:2: no PLOF_END line", 0), 0u);
    warnings = warn({"PLOF_START", "V0Min 2", "", "AgeMin 3", "PLOF_END"});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("s.plf:3: an empty line ends the settings here", 0), 0u);
    EXPECT_NE(warnings[0].find("1 line(s) after it are not read"), std::string::npos);
    warnings = warn({"V0Min 2", "PLOF_END"});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("do not begin with PLOF_START"), std::string::npos);
}

TEST(SettingsWarningsTest, TheFileFormOfTheLoadButtonIsToldOnItsOwnTerms) {
    // Read by the panel's "L": a line without a value is skipped whole, an
    // empty line is skipped, and a long line is told about once.
    const std::vector<std::string> warnings =
        warn({"PLOF_START", "Gravity", "", "V0Max " + std::string(300, '1'), "PLOF_END"}, LineForm::File);
    ASSERT_EQ(warnings.size(), 2u) << testing::PrintToString(warnings);
    EXPECT_EQ(warnings[0].rfind("s.plf:2: \"Gravity\" has no value after it, so the effect skips the line", 0), 0u);
    EXPECT_EQ(warnings[1].rfind("s.plf:4: longer than the effect's line buffer", 0), 0u);
}

TEST(SettingsWarningsTest, NearestKeywordsAreCloseOnes) {
    EXPECT_EQ(nearestKeyword("Gravty"), "Gravity");
    EXPECT_EQ(nearestKeyword("spreadmax"), "SpreadMax");
    EXPECT_EQ(nearestKeyword("Recycle"), "ReCycle");
    EXPECT_EQ(nearestKeyword("PLOF_ED"), "PLOF_END");
    EXPECT_EQ(nearestKeyword("Wobble"), "");
    EXPECT_EQ(nearestKeyword("X"), "");
    // Panel labels written as keywords: whole, run together, or their first word.
    EXPECT_EQ(nearestKeyword("Registance"), "Regist");
    EXPECT_EQ(nearestKeyword("BirthRate"), "Birth");
    EXPECT_EQ(nearestKeyword("SparkFrame"), "START_F");
    EXPECT_EQ(nearestKeyword("OrgEmitter"), "OrgEmit");
    EXPECT_EQ(nearestKeyword("Max"), "");  // the label of two fields
}

}  // namespace
}  // namespace plof::host
