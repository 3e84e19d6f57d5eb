// What the studio's session takes from a request: which settings a request
// may set (settings_request).
#include <gtest/gtest.h>

#include "host/studio/settings_request.h"
#include "host/studio/settings_vocabulary.h"

namespace plof::host::studio {
namespace {

SettingsRefusal refusalOf(const char *request, EffectSettings &settings) {
    SettingsRefusal refusal;
    EXPECT_FALSE(applySettingsRequest(nlohmann::json::parse(request), {"Emitter", "Hideout"}, settings, refusal))
        << request;
    return refusal;
}

TEST(StudioSettingsRequestTest, TakesWhatThePageOffersAllOrNothing) {
    const std::vector<std::string> names{"Emitter", "Hideout"};
    EffectSettings settings;
    SettingsRefusal refusal;
    ASSERT_TRUE(applySettingsRequest(nlohmann::json::parse(R"({"Gravity": -2.5, "Regist": 0.35, "SpreadMax": 90,
        "ReCycle": 0, "OrgEmit": 2, "V0Max": "7.25", "REFERENCE": "Hideout"})"),
                                     names, settings, refusal))
        << refusal.message;
    EXPECT_EQ(settings.number(Setting::Gravity), -2.5);
    EXPECT_EQ(settings.number(Setting::Regist), 0.35);
    EXPECT_EQ(settings.number(Setting::OrgEmit), 2);   // each point from its own place
    EXPECT_EQ(settings.number(Setting::V0Max), 7.25);  // typed text, read by the host
    EXPECT_EQ(settings.avoidObject, "Hideout");

    const EffectSettings before = settings;
    for (const char *bad :
         {R"({"Gravity": 1, "Regist": 0.37})", R"({"Birth": 1.5})", R"({"OrgEmit": 3})", R"({"SpreadMin": -1})",
          R"({"V0Max": 1e10})", R"({"V0Max": 0.0000001})", R"({"Gravity": true})", R"({"gravity": 1})",
          R"({"REFERENCE": 3})", R"({"REFERENCE": "Nobody"})", R"("Gravity")", R"({"Gravity": "4,5"})"}) {
        settings = before;
        EXPECT_NE(refusalOf(bad, settings).message, "") << bad;
        EXPECT_EQ(settings.values, before.values) << bad;
        EXPECT_EQ(settings.avoidObject, before.avoidObject) << bad;
    }
}

TEST(StudioSettingsRequestTest, RefusalsNameTheFieldByItsLabelAndWhatItTakes) {
    EffectSettings settings;
    const std::pair<const char *, std::pair<const char *, const char *>> cases[] = {
        // A decimal comma is never read as another number.
        {R"({"Gravity": "4,5"})", {"Gravity", "Gravity: 4,5: use 4.5"}},
        {R"({"Gravity": "lots"})", {"Gravity", "Gravity: \"lots\" is not a number"}},
        {R"({"AgeMax": 10.5})", {"AgeMax", "Age Max takes a whole number of frames"}},
        {R"({"SpreadMax": 200})", {"SpreadMax", "Spread Max takes 0 to 180 degrees"}},
        {R"({"Regist": 0.37})", {"Regist", "Registance takes steps of 0.05 from 0 to 5 per second"}},
        {R"({"OrgEmit": 5})",
         {"OrgEmit", "OrgEmitter takes 0 (from the pivot), 1 (straight out from the centre) or 2"}},
        {R"({"REFERENCE": "Nobody"})", {"REFERENCE", "Avoid Object: the scene has no item named \"Nobody\""}},
    };
    for (const auto &[request, expected] : cases) {
        const SettingsRefusal refusal = refusalOf(request, settings);
        EXPECT_EQ(refusal.field, expected.first) << request;
        EXPECT_EQ(refusal.message.rfind(expected.second, 0), 0u) << refusal.message;
        EXPECT_EQ(refusal.message.find("--"), std::string::npos) << refusal.message;  // no command-line flag
    }
}

TEST(StudioSettingsRequestTest, TheStatesOwnValuesAreTakenBackAsTheyAre) {
    // Held values the page would not offer: from a file, or the module's "none".
    EffectSettings settings;
    settings.values[static_cast<std::size_t>(Setting::Regist)] = 0.37;
    settings.values[static_cast<std::size_t>(Setting::OrgEmit)] = 7;
    settings.avoidObject = "none";
    const EffectSettings held = settings;
    SettingsRefusal refusal;
    EXPECT_TRUE(applySettingsRequest(settingsJson(settings), {"Emitter"}, settings, refusal)) << refusal.message;
    EXPECT_EQ(settings.values, held.values);
    EXPECT_EQ(settingsJson(EffectSettings{})["REFERENCE"], "none");
    // "none" (and "") name no avoid object, and the list offers "none" once.
    settings.avoidObject = "Emitter";
    ASSERT_TRUE(
        applySettingsRequest(nlohmann::json::parse(R"({"REFERENCE": "none"})"), {"Emitter"}, settings, refusal));
    EXPECT_EQ(settings.avoidObject, "");
}

TEST(StudioSettingsRequestTest, TheTableGivesEachFieldItsOwnLabelAndOrgEmitItsThreeChoices) {
    const auto table = settingsVocabularyJson();
    ASSERT_EQ(table.size(), kSettingCount + 1);
    std::set<std::string> labels;
    for (const auto &entry : table) EXPECT_TRUE(labels.insert(entry["label"].get<std::string>()).second) << entry;
    EXPECT_EQ(table[5]["label"], "Registance");
    EXPECT_EQ(table[5]["max"], 5);
    EXPECT_EQ(table[5]["step"], 0.05);
    const auto &orgEmit = table[static_cast<std::size_t>(Setting::OrgEmit)];
    EXPECT_EQ(orgEmit["control"], "choice");
    ASSERT_EQ(orgEmit["choices"].size(), 3u);
    EXPECT_EQ(orgEmit["choices"][1]["unused"], nlohmann::ordered_json({"SpreadMin", "SpreadMax"}));
    EXPECT_TRUE(orgEmit["choices"][2]["unused"].empty());
    EXPECT_EQ(table[kSettingCount]["control"], "item");
    EXPECT_EQ(table[kSettingCount]["none"], "none");
}

}  // namespace
}  // namespace plof::host::studio
