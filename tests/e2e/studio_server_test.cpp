// plof-host studio end to end: the real server on 127.0.0.1, driven over
// HTTP as the page and scripts drive it. Settings changed through the
// interface play exactly as `plof-host play` plays them from a .plf file,
// and save what the options panel's "S" writes; every refusal leaves the
// server answering; many clients at once are served without error and
// without the server's memory growing.
#include <cstring>
#include <filesystem>
#include <thread>

#include <nlohmann/json.hpp>

#include "e2e/host_run.h"
#include "e2e/studio_process.h"

namespace plof::e2e {
namespace {

// Starting settings, and the same with the changes the tests make through
// the interface.
Settings startSettings() {
    Settings s;
    s.V0Min = 1.5, s.V0Max = 3, s.AgeMin = 10, s.AgeMax = 40, s.Birth = 120, s.ReCycle = 1, s.SpreadMax = 30;
    return s;
}
const char *const kChange = R"({"Gravity": 3.5, "SpreadMin": 10, "SpreadMax": 45, "Regist": 0.35, "Birth": 200})";
Settings changedSettings() {
    Settings s = startSettings();
    s.Gravity = 3.5, s.SpreadMin = 10, s.SpreadMax = 45, s.Regist = 0.35, s.Birth = 200;
    return s;
}

const std::string kObject = "builtin:grid:6x5";
const std::string kPlofHost = std::string(PLOF_BIN_DIR) + "/plof-host";

// Requests per client in the many-clients load, first to settle and then to
// watch the memory. Under AddressSanitizer a request costs about ten times
// more: there a lighter load, which still finds errors and growth.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLOF_LIGHT_LOAD 1
#endif
#endif
#ifdef PLOF_LIGHT_LOAD
constexpr int kSettlingRequests = 20, kWatchedRequests = 80;
#else
constexpr int kSettlingRequests = 50, kWatchedRequests = 200;
#endif

nlohmann::json state(httplib::Client &client) {
    const auto answer = client.Get("/api/state");
    EXPECT_TRUE(answer && answer->status == 200);
    return answer ? nlohmann::json::parse(answer->body) : nlohmann::json();
}

TEST(StudioServerTest, ChangedSettingsPlayAndSaveAsPlayAndThePanelDo) {
    TempDirectory dir;
    const std::string start = dir.write("start.plf", startSettings().text());
    const std::string expected = dir.write("expected.plf", changedSettings().text());
    std::filesystem::create_directory(dir.path() / "saves");
    Studio studio(kPlofHost, {"--object", kObject, "--settings", start, "--dir", dir / "saves", "--frames", "0..40"});
    ASSERT_TRUE(studio.started());
    auto client = studio.client();

    const auto changed = client->Put("/api/items/1/settings", kChange, "application/json");
    ASSERT_TRUE(changed);
    ASSERT_EQ(changed->status, 200) << changed->body;
    const auto answered = nlohmann::json::parse(changed->body);
    EXPECT_EQ(answered["revision"], 1);
    EXPECT_EQ(answered["items"][0]["settings"]["Regist"], 0.35);
    EXPECT_EQ(answered["summary"]["items"][0]["birthRate"], 200);

    const auto csv = client->Get("/api/play.csv");
    ASSERT_TRUE(csv && csv->status == 200);
    const HostRun played = runHost("play --object " + kObject + " --settings '" + expected + "' --frames 0..40", dir);
    ASSERT_EQ(played.exitCode, 0) << played.err;
    EXPECT_TRUE(csv->body == played.out) << "the studio's CSV differs from plof-host play's";

    // Frame 40 as float32: the CSV's last 30 rows, each coordinate rounded once.
    const auto frames = client->Get("/api/frames?from=40&to=40");
    ASSERT_TRUE(frames && frames->status == 200);
    ASSERT_EQ(frames->body.size(), 30u * 3 * 4);
    const Csv rows = parseCsv(played.out);
    for (std::size_t p = 0; p < 30; ++p) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            float value;
            std::memcpy(&value, frames->body.data() + (p * 3 + axis) * 4, 4);
            EXPECT_EQ(value, static_cast<float>(rows.rows[rows.rows.size() - 30 + p][2 + axis]));
        }
    }

    // The .plf through the studio, and through the panel's "S" for the same settings.
    const auto saved = client->Post("/api/save", R"({"kind": "plf", "name": "tuned"})", "application/json");
    ASSERT_TRUE(saved && saved->status == 200) << (saved ? saved->body : "no answer");
    const std::string script = dir.write("save.txt", "press \"S\"\nchoose \"" + (dir / "panel.plf") + "\"\ncancel\n");
    const HostRun panel =
        runHost("panel --object " + kObject + " --settings '" + expected + "' --script '" + script + "'", dir);
    ASSERT_EQ(panel.exitCode, 0) << panel.err;
    EXPECT_EQ(fileText(dir / "saves/tuned.plf"), fileText(dir / "panel.plf"));

    // The host scene, as play --save-scene writes it; the other kinds write their files.
    ASSERT_EQ(client->Post("/api/save", R"({"kind": "scene", "name": "tuned.lws"})", "application/json")->status, 200);
    ASSERT_EQ(runHost("play --object " + kObject + " --settings '" + expected + "' --frames 0..40 --out p.csv " +
                          "--save-scene '" + (dir / "expected.lws") + "'",
                      dir)
                  .exitCode,
              0);
    EXPECT_EQ(fileText(dir / "saves/tuned.lws"), fileText(dir / "expected.lws"));
    ASSERT_EQ(client->Post("/api/save", R"({"kind": "glb", "name": "tuned"})", "application/json")->status, 200);
    const auto baked = client->Post("/api/save", R"({"kind": "bake", "name": "baked", "frames": 20, "step": 2,
                                    "dissolve": true})",
                                    "application/json");
    ASSERT_EQ(baked->status, 200) << baked->body;
    EXPECT_GT(std::filesystem::file_size(dir / "saves/tuned.glb"), 1000u);
    EXPECT_NE(fileText(dir / "saves/baked.lws").find("LoadObject"), std::string::npos);
    EXPECT_EQ(studio.stop(), 0);
}

TEST(StudioServerTest, RefusalsChangeNothingAndTheServerGoesOn) {
    TempDirectory dir;
    const std::string start = dir.write("start.plf", startSettings().text());
    std::filesystem::create_directories(dir.path() / "saves");
    std::filesystem::create_directories(dir.path() / "outside");
    std::filesystem::create_symlink(dir.path() / "outside/x.plf", dir.path() / "saves/out.plf");
    std::filesystem::create_directory_symlink(dir.path() / "outside", dir.path() / "saves/away");
    Studio studio(kPlofHost, {"--object", kObject, "--settings", start, "--dir", dir / "saves", "--frames", "0..10"});
    ASSERT_TRUE(studio.started());
    auto client = studio.client();
    const std::string host = "127.0.0.1:" + std::to_string(studio.port());

    // The page needs no token; the interface needs it as a bearer header,
    // in any case of the scheme, and nowhere else: not in the query, not in
    // a cookie (which every server on 127.0.0.1 would be sent).
    auto anonymous = studio.client(false);
    EXPECT_EQ(anonymous->Get("/api/state")->status, 403);
    const auto page = anonymous->Get("/");
    ASSERT_EQ(page->status, 200);
    EXPECT_FALSE(page->has_header("Set-Cookie"));
    EXPECT_EQ(page->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_EQ(page->get_header_value("Content-Security-Policy"), "frame-ancestors 'none'");
    EXPECT_EQ(anonymous->Get("/api/state?token=" + studio.token())->status, 403);
    EXPECT_EQ(anonymous->Get("/api/state", {{"Cookie", "plof_studio_token=" + studio.token()}})->status, 403);
    EXPECT_EQ(anonymous->Get("/api/state", {{"Authorization", "Bearer " + std::string(32, '0')}})->status, 403);
    EXPECT_EQ(anonymous->Get("/api/state", {{"Authorization", "bearer  " + studio.token()}})->status, 200);
    EXPECT_EQ(anonymous->Get("/api/state", {{"Authorization", "BEARER " + studio.token()}})->status, 200);

    EXPECT_EQ(client->Get("/api/state", {{"Host", "evil.example:" + std::to_string(studio.port())}})->status, 403);
    EXPECT_EQ(client->Get("/api/state", {{"Host", "127.0.0.1"}})->status, 403);
    EXPECT_EQ(client->Get("/api/state", {{"Origin", "http://evil.example"}})->status, 403);
    EXPECT_EQ(
        client
            ->Put("/api/items/1/settings", {{"Origin", "http://evil.example"}}, R"({"Gravity": 1})", "application/json")
            ->status,
        403);
    EXPECT_EQ(client->Get("/api/state", {{"Origin", "http://" + host}})->status, 200);

    const std::pair<std::string, int> bodies[] = {
        {std::string(100 * 1024, ' ') + "{}", 413},
        {"{\"Gravity\": ", 400},
        {"{\"Gravity\": NaN}", 400},
        {"{\"Gravity\": \"3,5\"}", 400},  // typed text is read, a decimal comma refused
        {"{\"Gravity\": 1e300}", 400},
        {"{\"Gravity\": 1e999}", 400},
        {"{\"Gravty\": 3}", 400},
        {"{\"Regist\": 0.37}", 400},
        {"{\"SpreadMax\": 181}", 400},
        {"{\"AgeMin\": 2.5}", 400},
        {"{\"V0Min\": 0.1234567}", 400},
        {"{\"REFERENCE\": \"nobody\"}", 400},
        {"[1, 2]", 400},
    };
    for (const auto &[body, status] : bodies) {
        const auto answer = client->Put("/api/items/1/settings", body, "application/json");
        ASSERT_TRUE(answer) << body.substr(0, 40);
        EXPECT_EQ(answer->status, status) << body.substr(0, 40);
    }
    EXPECT_EQ(client->Put("/api/items/2/settings", "{}", "application/json")->status, 400);
    EXPECT_EQ(client->Get("/api/frames?from=5&to=11")->status, 400);
    EXPECT_EQ(client->Get("/api/frames?from=a&to=3")->status, 400);

    for (const std::string name : {"../x", "/tmp/x", "a/b", "..", "sub\\\\x", "out", "away/y", ""}) {
        const auto answer =
            client->Post("/api/save", R"({"kind": "plf", "name": ")" + name + "\"}", "application/json");
        EXPECT_EQ(answer->status, 400) << name;
    }
    EXPECT_EQ(client->Post("/api/save", R"({"kind": "tar", "name": "x"})", "application/json")->status, 400);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "outside/x.plf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "outside/y.plf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.plf"));

    const nlohmann::json after = state(*client);
    EXPECT_EQ(after["revision"], 0);
    EXPECT_EQ(after["items"][0]["settings"]["Gravity"], 9.8);
    EXPECT_EQ(studio.stop(SIGINT), 0);
}

TEST(StudioServerTest, ManyClientsAtOnceWithoutErrorsOrGrowingMemory) {
    TempDirectory dir;
    const std::string start = dir.write("start.plf", startSettings().text());
    // AddressSanitizer holds freed memory back in a quarantine (256 MB), which
    // would look like growth: the studio of a sanitizer build runs without it.
    const char *sanitizer = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", ((sanitizer ? std::string(sanitizer) + ":" : "") + "quarantine_size_mb=0").c_str(), 1);
    Studio studio(kPlofHost, {"--object", "builtin:grid:20x20", "--settings", start, "--dir", dir.path().string()});
    if (sanitizer)
        setenv("ASAN_OPTIONS", sanitizer, 1);
    else
        unsetenv("ASAN_OPTIONS");
    ASSERT_TRUE(studio.started());
    // Each client reads the state and the frames, and now and then changes a
    // setting, takes the panel's picture or saves a kind in turn.
    auto load = [&](int requests) {
        std::atomic<int> failures{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < 8; ++c) {
            clients.emplace_back([&, c] {
                auto client = studio.client();
                for (int r = 0; r < requests; ++r) {
                    const std::string kind = std::vector<std::string>{"plf", "scene", "glb", "bake"}[r / 25 % 4];
                    const std::string save =
                        R"({"kind": ")" + kind + R"(", "name": "c)" + std::to_string(c) + R"(", "replace": true})";
                    httplib::Result answer =
                        r % 50 == 49
                            ? client->Put("/api/items/1/settings", "{\"SpreadMax\": " + std::to_string(30 + c) + "}",
                                          "application/json")
                        : r % 25 == 12 ? client->Post("/api/save", save, "application/json")
                        : r % 25 == 6  ? client->Get("/api/items/1/panel.png")
                        : r % 2        ? client->Get("/api/frames?from=0&to=59")
                                       : client->Get("/api/state");
                    if (!answer || answer->status != 200) ++failures;
                }
            });
        }
        for (std::thread &client : clients) client.join();
        return failures.load();
    };
    EXPECT_EQ(load(kSettlingRequests), 0);
    const long before = studio.residentKb();
    EXPECT_EQ(load(kWatchedRequests), 0);
    const long after = studio.residentKb();
    EXPECT_GT(before, 0);
    EXPECT_LT(after - before, 16 * 1024) << "resident memory grew from " << before << " to " << after << " kB";
    std::printf("resident memory %ld kB after 8 x %d requests, %ld kB after 8 x %d more\n", before, kSettlingRequests,
                after, kWatchedRequests);
    EXPECT_EQ(studio.stop(), 0);
}

TEST(StudioServerTest, PortInUseIsAClearFailure) {
    TempDirectory dir;
    const std::string start = dir.write("start.plf", startSettings().text());
    Studio first(kPlofHost, {"--object", kObject, "--settings", start});
    ASSERT_TRUE(first.started());
    const HostRun second = runHost(
        "studio --object " + kObject + " --settings '" + start + "' --port " + std::to_string(first.port()), dir);
    EXPECT_EQ(second.exitCode, 4);
    EXPECT_NE(second.err.find("127.0.0.1:" + std::to_string(first.port())), std::string::npos) << second.err;
    EXPECT_EQ(first.stop(), 0);
}

}  // namespace
}  // namespace plof::e2e
