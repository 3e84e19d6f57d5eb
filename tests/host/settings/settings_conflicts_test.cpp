#include "host/settings/settings_conflicts.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

EffectSettings withValues(std::initializer_list<std::pair<Setting, double>> values) {
    EffectSettings settings;
    for (const auto &[setting, value] : values) settings.values[static_cast<std::size_t>(setting)] = value;
    return settings;
}

TEST(SettingConflictsTest, SpeedsAndAgesAboveTheirMaximumAreToldWithWhatTheEffectDoes) {
    const std::vector<SettingConflict> both =
        settingConflicts(withValues({{Setting::V0Min, 5}, {Setting::V0Max, 2}, {Setting::AgeMin, 70}}));
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].setting, Setting::V0Min);
    EXPECT_EQ(both[0].otherSetting, Setting::V0Max);
    // Speeds are V0Min plus hundredths of the difference's size: 5 up to 8.
    EXPECT_EQ(both[0].message.rfind("V0Min 5 is above V0Max 2: launch speeds run from V0Min up to 8,", 0), 0u)
        << both[0].message;
    EXPECT_EQ(both[1].setting, Setting::AgeMin);
    EXPECT_EQ(both[1].message.rfind("AgeMin 70 is above AgeMax 60", 0), 0u) << both[1].message;
}

TEST(SettingConflictsTest, EqualBoundsAndAgesEqualAsWholeNumbersAreNoConflict) {
    EXPECT_TRUE(settingConflicts(EffectSettings{}).empty());
    EXPECT_TRUE(settingConflicts(withValues({{Setting::V0Min, 2}, {Setting::V0Max, 2}})).empty());
    // The effect keeps ages as whole numbers: 60.5 is 60.
    EXPECT_TRUE(settingConflicts(withValues({{Setting::AgeMin, 60.5}})).empty());
}

}  // namespace
}  // namespace plof::host
