// What the studio's session takes from a request: which settings a request
// may set (settings_request).
#include <gtest/gtest.h>

#include "host/studio/settings_request.h"

namespace plof::host::studio {
namespace {

TEST(StudioSettingsRequestTest, TakesWhatThePanelHoldsAllOrNothing) {
    const std::vector<std::string> names{"Emitter", "Hideout"};
    EffectSettings settings;
    std::string problem;
    ASSERT_TRUE(applySettingsRequest(nlohmann::json::parse(R"({"Gravity": -2.5, "Regist": 0.35, "SpreadMax": 90,
        "ReCycle": 0, "REFERENCE": "Hideout"})"),
                                     names, settings, problem))
        << problem;
    EXPECT_EQ(settings.number(Setting::Gravity), -2.5);
    EXPECT_EQ(settings.number(Setting::Regist), 0.35);
    EXPECT_EQ(settings.avoidObject, "Hideout");
    const std::vector<std::string> lines = settingsBlockLines(settings);
    EXPECT_EQ(lines.front(), "PLOF_START");
    EXPECT_EQ(lines[5], "Gravity -2.500000");
    EXPECT_EQ(lines[lines.size() - 3], "REFERENCE");
    EXPECT_EQ(lines[lines.size() - 2], "Hideout");

    const EffectSettings before = settings;
    for (const char *bad :
         {R"({"Gravity": 1, "Regist": 0.37})", R"({"Birth": 1.5})", R"({"OrgEmit": 2})", R"({"SpreadMin": -1})",
          R"({"V0Max": 1e10})", R"({"V0Max": 0.0000001})", R"({"Gravity": true})", R"({"gravity": 1})",
          R"({"REFERENCE": 3})", R"({"REFERENCE": "Nobody"})", R"("Gravity")"}) {
        problem.clear();
        EXPECT_FALSE(applySettingsRequest(nlohmann::json::parse(bad), names, settings, problem)) << bad;
        EXPECT_NE(problem, "") << bad;
        EXPECT_EQ(settings.values, before.values) << bad;
    }
    // The table a page builds its controls from: each setting once, then the avoid object.
    const auto table = settingsVocabularyJson();
    ASSERT_EQ(table.size(), kSettingCount + 1);
    EXPECT_EQ(table[5]["label"], "Registance");
    EXPECT_EQ(table[5]["control"], "slider");
    EXPECT_EQ(table[5]["step"], 0.05);
    EXPECT_EQ(table[kSettingCount]["control"], "item");
}

}  // namespace
}  // namespace plof::host::studio
