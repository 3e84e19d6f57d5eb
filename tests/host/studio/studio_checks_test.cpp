// The studio's HTTP-free pieces: who may drive the server (request_guard),
// where saves may go (save_name), which settings a request may set
// (settings_request), and the one thread that calls the module
// (module_thread).
#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "host/studio/module_thread.h"
#include "host/studio/request_guard.h"
#include "host/studio/save_name.h"
#include "host/studio/settings_request.h"

namespace plof::host::studio {
namespace {

TEST(StudioRequestGuardTest, TokenInAnyOfItsThreePlacesFromTheServerItself) {
    const std::string token = newToken();
    EXPECT_EQ(token.size(), 32u);
    EXPECT_NE(token, newToken());
    RequestFacts request{"127.0.0.1:8123", "", token, "", ""};
    EXPECT_EQ(refusalReason(request, token, 8123), "");
    request = {"localhost:8123", "http://localhost:8123", "", "Bearer " + token, ""};
    EXPECT_EQ(refusalReason(request, token, 8123), "");
    request = {"127.0.0.1:8123", "", "", "", "a=b; plof_studio_token=" + token + "; c=d"};
    EXPECT_EQ(refusalReason(request, token, 8123), "");

    const RequestFacts refused[] = {
        {"127.0.0.1:8123", "", "", "", ""},                        // no token
        {"127.0.0.1:8123", "", token.substr(1), "", ""},           // part of it
        {"127.0.0.1:8123", "", "", "Basic " + token, ""},          // not a bearer
        {"127.0.0.1:8123", "", "", "", "other_token=" + token},    // another cookie
        {"rebound.example:8123", "", token, "", ""},               // DNS rebinding
        {"127.0.0.1:8124", "", token, "", ""},                     // another port
        {"127.0.0.1:8123", "http://evil.example", token, "", ""},  // another site
        {"127.0.0.1:8123", "null", token, "", ""},                 // a sandboxed page
    };
    for (const RequestFacts &facts : refused) {
        EXPECT_NE(refusalReason(facts, token, 8123), "") << facts.host << " " << facts.origin;
    }
}

TEST(StudioSaveNameTest, PlainNamesInsideTheDirectoryOnly) {
    const auto root = std::filesystem::temp_directory_path() / "plof_studio_save_name";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "in");
    std::filesystem::create_directories(root / "outside");
    std::filesystem::create_symlink(root / "outside/a.plf", root / "in/away.plf");
    std::filesystem::create_symlink(root / "in/kept.plf", root / "in/inner.plf");
    const std::string in = (root / "in").string();
    const std::string canonicalIn = std::filesystem::canonical(in).string();
    std::string problem;
    EXPECT_EQ(savePath(in, "fountain", ".plf", problem), canonicalIn + "/fountain.plf");
    EXPECT_EQ(savePath(in, "fountain.plf", ".plf", problem), canonicalIn + "/fountain.plf");
    EXPECT_EQ(savePath(in, "inner", ".plf", problem), canonicalIn + "/inner.plf");  // a link that stays inside
    for (const std::string &name :
         std::vector<std::string>{"", "../a", "..", "a..b", "a.", "/tmp/a", "sub/a", "sub\\a", "away", "tab\tname",
                                  std::string(kLongestSaveName + 1, 'a')}) {
        EXPECT_FALSE(savePath(in, name, ".plf", problem)) << name;
        EXPECT_NE(problem, "") << name;
    }
    std::filesystem::remove_all(root);
}

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

TEST(StudioModuleThreadTest, OneThreadInQueueOrderFailuresToTheCaller) {
    ModuleThread moduleThread;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<int> running{0}, mostRunning{0};
    int done = 0;
    std::vector<std::thread> callers;
    for (int c = 0; c < 8; ++c) {
        callers.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                moduleThread.run([&] {
                    const int now = ++running;  // outside any lock: two at once would show
                    if (now > mostRunning) mostRunning = now;
                    std::this_thread::yield();
                    {
                        std::lock_guard lock(mutex);
                        threads.insert(std::this_thread::get_id());
                        ++done;
                    }
                    --running;
                });
            }
        });
    }
    for (std::thread &caller : callers) caller.join();
    EXPECT_EQ(done, 400);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(mostRunning, 1);
    EXPECT_THROW(moduleThread.run([] { throw std::runtime_error("module failed"); }), std::runtime_error);
    moduleThread.run([&] { ++done; });  // still serving
    EXPECT_EQ(done, 401);
}

}  // namespace
}  // namespace plof::host::studio
