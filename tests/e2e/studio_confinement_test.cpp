// plof-host studio's saves against another program that can write into
// --dir: every save stays inside the folder opened at the start, whatever
// link is swapped in while it is made, a FIFO or link under a save's name is
// refused without being opened, and an existing file is kept unless the
// request says to replace it.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include <nlohmann/json.hpp>

#include "e2e/host_run.h"
#include "e2e/studio_process.h"

namespace plof::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kPlofHost = std::string(PLOF_BIN_DIR) + "/plof-host";

struct Answer {
    int status = 0;  // 0: no answer
    nlohmann::json body;
};

Answer save(httplib::Client &client, const nlohmann::json &request) {
    const auto answer = client.Post("/api/save", request.dump(), "application/json");
    if (!answer) return {};
    return {answer->status, nlohmann::json::parse(answer->body, nullptr, false)};
}

// A studio of a small grid saving into `dir`/saves (or the --dir given).
class ConfinementTest : public ::testing::Test {
protected:
    void start(const std::string &saveDirectory = "") {
        Settings settings;
        settings.Birth = 60;
        const std::string start = dir_.write("start.plf", settings.text());
        fs::create_directories(dir_.path() / "saves");
        fs::create_directories(dir_.path() / "outside");
        studio_ = std::make_unique<Studio>(
            kPlofHost,
            std::vector<std::string>{"--object", "builtin:grid:6x5", "--settings", start, "--dir",
                                     saveDirectory.empty() ? dir_ / "saves" : saveDirectory, "--frames", "0..20"});
        ASSERT_TRUE(studio_->started());
        client_ = studio_->client();
        client_->set_read_timeout(10);
    }

    TempDirectory dir_;
    std::unique_ptr<Studio> studio_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(ConfinementTest, ALinkSwappedInDuringEachKindOfSaveNeverLeadsOutside) {
    start();
    const std::pair<const char *, const char *> kinds[] = {
        {"plf", ".plf"}, {"scene", ".lws"}, {"glb", ".glb"}, {"bake", ".lws"}};
    constexpr int kTries = 8;
    int won = 0, saved = 0;
    for (const auto &[kind, extension] : kinds) {
        const fs::path name = dir_.path() / "saves" / (std::string("race") + extension);
        const fs::path outside = dir_.path() / "outside" / (std::string("won") + extension);
        for (int attempt = 0; attempt < kTries; ++attempt) {
            // Another program swaps a link to a file outside in and out of the
            // name, starting at another moment in each try.
            std::atomic<bool> racing{true};
            std::thread racer([&] {
                std::this_thread::sleep_for(std::chrono::microseconds(150 * (attempt % 4)));
                while (racing) {
                    ::symlink(outside.c_str(), name.c_str());
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
                    ::unlink(name.c_str());
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
                }
            });
            const Answer answer = save(*client_, {{"kind", kind}, {"name", "race"}, {"replace", true}});
            racing = false;
            racer.join();
            EXPECT_TRUE(answer.status == 200 || answer.status == 400 || answer.status == 409)
                << kind << ": " << answer.status << " " << answer.body;
            saved += answer.status == 200 ? 1 : 0;
            std::error_code ignored;
            if (fs::exists(fs::symlink_status(outside, ignored))) ++won;
            fs::remove(outside, ignored);
            fs::remove(name, ignored);
        }
    }
    std::printf("a link swapped in won %d of %d saves (%d saved)\n", won, 4 * kTries, saved);
    EXPECT_EQ(won, 0);
    EXPECT_GT(saved, 0) << "the race refused every save: it tested nothing";
    EXPECT_EQ(studio_->stopWithin(10), 0);
}

TEST_F(ConfinementTest, AFifoOrLinkUnderASavesNameIsRefusedUnopened) {
    start();
    ASSERT_EQ(::mkfifo((dir_.path() / "saves/pipe.lws").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir_.path() / "saves/pipe.plf").c_str(), 0600), 0);
    fs::create_symlink(dir_.path() / "outside/kept.glb", dir_.path() / "saves/link.glb");
    for (const nlohmann::json &request : {
             nlohmann::json{{"kind", "scene"}, {"name", "pipe"}},
             nlohmann::json{{"kind", "plf"}, {"name", "pipe"}, {"replace", true}},
             nlohmann::json{{"kind", "glb"}, {"name", "link"}, {"replace", true}},
         }) {
        const Answer answer = save(*client_, request);
        EXPECT_EQ(answer.status, 400) << request;
        EXPECT_NE(answer.body.value("error", "").find(" is a "), std::string::npos) << answer.body;
    }
    const auto state = client_->Get("/api/state");
    EXPECT_TRUE(state && state->status == 200) << "the studio answers on";
    EXPECT_FALSE(fs::exists(dir_.path() / "outside/kept.glb"));
    EXPECT_EQ(studio_->stopWithin(10), 0);
}

TEST_F(ConfinementTest, ADirThatIsALinkIsFollowedOnceAtTheStart) {
    fs::create_directories(dir_.path() / "first");
    fs::create_directory_symlink(dir_.path() / "first", dir_.path() / "chosen");
    start(dir_ / "chosen");
    fs::remove(dir_.path() / "chosen");
    fs::create_directory_symlink(dir_.path() / "outside", dir_.path() / "chosen");
    for (const char *kind : {"plf", "scene"}) {
        const Answer answer = save(*client_, {{"kind", kind}, {"name", "where"}});
        ASSERT_EQ(answer.status, 200) << answer.body;
        EXPECT_EQ(fs::path(answer.body["written"].get<std::string>()).parent_path(),
                  fs::canonical(dir_.path() / "first"));
    }
    EXPECT_TRUE(fs::exists(dir_.path() / "first/where.plf"));
    EXPECT_TRUE(fs::exists(dir_.path() / "first/where.lws"));
    EXPECT_TRUE(fs::is_empty(dir_.path() / "outside"));
    EXPECT_EQ(studio_->stopWithin(10), 0);
    // The work folder went with the studio.
    for (const auto &entry : fs::directory_iterator(dir_.path() / "first")) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".plof")) << entry.path();
    }
}

TEST_F(ConfinementTest, AnExistingFileIsKeptUntilTheRequestSaysToReplaceIt) {
    start();
    dir_.write("saves/kept.plf", "keep me");
    const Answer refused = save(*client_, {{"kind", "plf"}, {"name", "kept"}});
    EXPECT_EQ(refused.status, 409);
    EXPECT_EQ(refused.body["exists"], "kept.plf");
    EXPECT_EQ(refused.body["error"].get<std::string>().rfind("kept.plf exists in ", 0), 0u) << refused.body;
    EXPECT_EQ(fileText(dir_.path() / "saves/kept.plf"), "keep me");
    const Answer replaced = save(*client_, {{"kind", "plf"}, {"name", "kept.plf"}, {"replace", true}});
    ASSERT_EQ(replaced.status, 200) << replaced.body;
    EXPECT_EQ(fileText(dir_.path() / "saves/kept.plf").rfind("PLOF", 0), 0u);

    // Another kind's extension is replaced by the kind's own; the answer names the file.
    const Answer scene = save(*client_, {{"kind", "scene"}, {"name", "g100.plf"}});
    ASSERT_EQ(scene.status, 200) << scene.body;
    EXPECT_EQ(scene.body["written"], (fs::canonical(dir_.path() / "saves") / "g100.lws").string());

    // Refusals in the page's words, and names that would show other text.
    const std::pair<nlohmann::json, std::string> refusals[] = {
        {{{"kind", "plf"}, {"name", "a"}, {"colour", "red"}}, "takes no \"colour\""},
        {{{"kind", "bake"}, {"name", "b"}, {"frames", 2.5}}, "frames takes a whole number"},
        {{{"kind", "plf"}, {"name", "evil\u202Egnp.plf"}}, "text-direction"},
        {{{"kind", "plf"}, {"name", "two\u2028lines"}}, "line-break"},
        {{{"kind", "plf"}, {"name", "next\u0085line"}}, "control"},
    };
    for (const auto &[request, words] : refusals) {
        const Answer answer = save(*client_, request);
        EXPECT_EQ(answer.status, 400) << request;
        const std::string error = answer.body.value("error", "");
        EXPECT_NE(error.find(words), std::string::npos) << error;
        EXPECT_EQ(error.find("--"), std::string::npos) << error;
    }
    EXPECT_EQ(studio_->stopWithin(10), 0);
}

}  // namespace
}  // namespace plof::e2e
