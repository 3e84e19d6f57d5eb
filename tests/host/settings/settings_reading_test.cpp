// The host's own reading of the effect's saved lines (the e2e suite
// effect_settings_agreement_test checks it against the loaded module).
#include "host/settings/settings_reading.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plof::host {
namespace {

using Role = SettingsLine::Role;

TEST(EffectSettingsTest, KeywordsMatchByPrefixInOrderAndValuesAreDecimalPrefixes) {
    const std::vector<std::string> lines{"PLOF_START", "Grav 2.5",      "Gravty 7",   "AgeMin 12.9", "START_F -3.7",
                                         "S 4",        "SpreadMax 4,5", "V0Min lots", "V0Max",       "OrgEmit 257",
                                         "REF",        "Wall",          "PLOF_END",   "Birth 5"};
    const SettingsReading reading = readSettingsLines(lines, 10);
    const EffectSettings &s = reading.settings;
    EXPECT_EQ(s.number(Setting::Gravity), 2.5);  // "Grav" is the first keyword it begins
    EXPECT_EQ(s.whole(Setting::AgeMin), 12);
    EXPECT_EQ(s.number(Setting::START_F), 4.0);  // "S" begins START_F, read after -3 was
    EXPECT_EQ(s.whole(Setting::SpreadMax), 4);
    EXPECT_EQ(s.number(Setting::V0Min), 0.0);  // not a number: 0
    EXPECT_EQ(s.number(Setting::V0Max), 4.0);  // no value: unchanged
    EXPECT_EQ(s.whole(Setting::OrgEmit), 1);   // low 8 bits
    EXPECT_EQ(s.whole(Setting::Birth), 100);   // after PLOF_END: never read
    EXPECT_EQ(s.avoidObject, "Wall");
    ASSERT_EQ(reading.lines.size(), 13u);
    EXPECT_EQ(reading.lines[2].role, Role::Skipped);
    EXPECT_EQ(reading.lines[2].lineNumber, 12u);
    EXPECT_EQ(reading.lines[11].role, Role::Name);
    EXPECT_TRUE(reading.endLine);
    EXPECT_EQ(reading.unreadLines, 1u);
    EXPECT_EQ(reading.firstUnreadLine, 23u);
}

TEST(EffectSettingsTest, NewInstanceValuesAndTheEndsOfABlock) {
    const EffectSettings fresh = readEffectSettings(std::vector<std::string>{});
    EXPECT_EQ(fresh.number(Setting::V0Max), 4.0);
    EXPECT_EQ(fresh.whole(Setting::SpreadMax), 180);
    EXPECT_EQ(fresh.whole(Setting::Birth), 100);
    EXPECT_EQ(fresh.avoidObject, "");

    // An empty line ends the block; so does a beginning of PLOF_END.
    SettingsReading reading = readSettingsLines({{"PLOF_START", "Birth 3", "", "AgeMin 2"}}, 1);
    EXPECT_FALSE(reading.endLine);
    EXPECT_EQ(reading.settings.whole(Setting::AgeMin), 10);
    EXPECT_EQ(reading.unreadLines, 1u);
    reading = readSettingsLines({{"PLOF_START", "PLOF", "AgeMin 2"}}, 1);
    EXPECT_TRUE(reading.endLine);
    EXPECT_EQ(reading.settings.whole(Setting::AgeMin), 10);
    // A block that does not open reads nothing.
    reading = readSettingsLines({{"V0Min 3", "PLOF_END"}}, 1);
    EXPECT_FALSE(reading.started);
    EXPECT_EQ(reading.settings.number(Setting::V0Min), 1.0);
}

TEST(EffectSettingsTest, LongLinesAndNamesAreCutToTheEffectsBuffers) {
    const std::string name(260, 'n');
    const std::string longValue = "V0Min " + std::string(300, '2');
    const SettingsReading block = readSettingsLines({{"PLOF_START", longValue, "REFERENCE", name, "PLOF_END"}}, 1);
    EXPECT_TRUE(block.lines[1].cut);
    EXPECT_EQ(block.settings.number(Setting::V0Min), std::stod(std::string(249, '2')));
    EXPECT_EQ(block.settings.avoidObject, std::string(255, 'n'));
    EXPECT_TRUE(block.lines[3].cut);
    EXPECT_TRUE(block.endLine);

    // The file form skips the rest of a long line (it used to read it as the
    // next line), and an empty line is skipped rather than ending the settings.
    const SettingsReading file =
        readSettingsLines({{"PLOF_START", "", longValue, "Gravity", "REFERENCE", name, "PLOF_END"}}, 1, LineForm::File);
    EXPECT_EQ(file.lines[1].role, Role::Skipped);
    EXPECT_EQ(file.lines[2].role, Role::Value);
    EXPECT_TRUE(file.lines[2].cut);
    EXPECT_EQ(file.lines[3].lineNumber, 4u);
    EXPECT_EQ(file.lines[3].role, Role::Skipped);  // "Gravity\n" is no keyword
    EXPECT_EQ(file.settings.avoidObject, std::string(255, 'n'));
    EXPECT_EQ(file.lines.back().role, Role::End);
    EXPECT_TRUE(file.endLine);
}

TEST(EffectSettingsTest, DecimalPrefixesReadAsTheEffectReadsThem) {
    std::size_t length = 0;
    EXPECT_EQ(readDecimalPrefix("  -4,5", length), -4.0);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(readDecimalPrefix(" Inf", length), INFINITY);
    EXPECT_TRUE(std::isnan(readDecimalPrefix("nan", length)));
    EXPECT_EQ(readDecimalPrefix(" 1e400", length), INFINITY);
    EXPECT_EQ(readDecimalPrefix(" .5e1x", length), 5.0);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(readDecimalPrefix(" lots", length), 0.0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(readDecimalPrefix("--1", length), 0.0);
}

}  // namespace
}  // namespace plof::host
