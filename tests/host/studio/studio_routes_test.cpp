#include "host/studio/studio_routes.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace plof::host::studio {
namespace {

// A session that records what it was asked and fails on request.
class FakeModel : public StudioModel {
public:
    nlohmann::ordered_json state() override { return {{"revision", 7}}; }
    uint64_t revision() const override { return 7; }
    nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) override {
        changedItem = item;
        if (request.contains("fail")) throw std::runtime_error("the module failed");
        if (request.contains("refuse")) throw BadRequest("Gravity takes -100 to 100", "Gravity");
        return {{"changed", request}};
    }
    nlohmann::ordered_json changeObject(std::size_t item, const nlohmann::json &request) override {
        return called("object " + std::to_string(item) + " " + request.dump());
    }
    nlohmann::ordered_json changeMotion(std::size_t item, const nlohmann::json &request) override {
        return called("motion " + std::to_string(item) + " " + request.dump());
    }
    nlohmann::ordered_json loadSettingsFile(std::size_t item, const nlohmann::json &request) override {
        return called("settings file " + std::to_string(item) + " " + request.dump());
    }
    nlohmann::ordered_json changeRange(const nlohmann::json &request) override {
        return called("range " + request.dump());
    }
    nlohmann::ordered_json undo() override { return called("undo"); }
    nlohmann::ordered_json redo() override { return called("redo"); }
    nlohmann::ordered_json revert() override { return called("revert"); }
    nlohmann::ordered_json objects() override { return called("objects"); }
    std::string frames(int32_t first, int32_t last) override {
        return std::to_string(first) + ".." + std::to_string(last);
    }
    std::string looks(int32_t first, int32_t last) override {
        return "looks " + std::to_string(first) + ".." + std::to_string(last);
    }
    std::string poses(int32_t first, int32_t last) override {
        return "poses " + std::to_string(first) + ".." + std::to_string(last);
    }
    std::string playCsv() override { return "frame,point,x,y,z\n"; }
    std::string panelPicture(std::size_t item) override { return "png of " + std::to_string(item); }
    nlohmann::ordered_json save(const nlohmann::json &) override { return {{"written", "a.plf"}}; }

    std::size_t changedItem = 0;

private:
    static nlohmann::ordered_json called(const std::string &what) { return {{"called", what}}; }
};

StudioAnswer ask(FakeModel &model, std::string method, std::string path, std::string body = "",
                 std::map<std::string, std::string> query = {}) {
    return answerRequest(model, {std::move(method), std::move(path), std::move(query), std::move(body)});
}

std::string errorOf(const StudioAnswer &answer) { return nlohmann::json::parse(answer.body).at("error"); }

TEST(StudioRoutesTest, EachRouteReachesItsCallWithTheItemAndFramesOfTheRequest) {
    FakeModel model;
    EXPECT_EQ(ask(model, "GET", "/api/state").body, "{\"revision\":7}\n");
    const StudioAnswer changed = ask(model, "PUT", "/api/items/3/settings", R"({"Gravity": 2})");
    EXPECT_EQ(changed.status, 200);
    EXPECT_EQ(model.changedItem, 3u);
    EXPECT_EQ(ask(model, "GET", "/api/frames", "", {{"from", "-2"}, {"to", "5"}}).body, "-2..5");
    const StudioAnswer picture = ask(model, "GET", "/api/items/2/panel.png");
    EXPECT_EQ(picture.contentType, "image/png");
    EXPECT_EQ(picture.body, "png of 2");
    EXPECT_EQ(ask(model, "POST", "/api/save", "{}").body, "{\"written\":\"a.plf\"}\n");
    const std::pair<StudioAnswer, std::string> calls[] = {
        {ask(model, "PUT", "/api/items/2/object", R"({"object":"builtin:line:3"})"),
         R"(object 2 {"object":"builtin:line:3"})"},
        {ask(model, "PUT", "/api/items/4/motion", R"({"keys":""})"), R"(motion 4 {"keys":""})"},
        {ask(model, "PUT", "/api/items/5/settings-file", R"({"file":"a.plf"})"), R"(settings file 5 {"file":"a.plf"})"},
        {ask(model, "PUT", "/api/range", R"({"to":9})"), R"(range {"to":9})"},
        {ask(model, "POST", "/api/undo"), "undo"},
        {ask(model, "POST", "/api/redo"), "redo"},
        {ask(model, "POST", "/api/revert"), "revert"},
        {ask(model, "GET", "/api/objects"), "objects"},
    };
    for (const auto &[answer, call] : calls) {
        ASSERT_EQ(answer.status, 200) << call << answer.body;
        EXPECT_EQ(nlohmann::json::parse(answer.body).at("called"), call);
    }
    EXPECT_EQ(ask(model, "GET", "/api/looks", "", {{"from", "1"}, {"to", "2"}}).body, "looks 1..2");
    EXPECT_EQ(ask(model, "GET", "/api/poses", "", {{"from", "0"}, {"to", "0"}}).body, "poses 0..0");
    EXPECT_EQ(ask(model, "GET", "/api/poses", "", {{"from", "0"}, {"to", "0"}}).contentType,
              "application/octet-stream");
}

TEST(StudioRoutesTest, RefusalsAreTheClientsAndFailuresOursEachWithItsReason) {
    FakeModel model;
    EXPECT_EQ(ask(model, "GET", "/api/nothing").status, 404);
    EXPECT_EQ(ask(model, "DELETE", "/api/state").status, 405);
    const StudioAnswer notJson = ask(model, "PUT", "/api/items/1/settings", "{");
    EXPECT_EQ(notJson.status, 400);
    EXPECT_EQ(errorOf(notJson), "the body is not JSON");
    EXPECT_EQ(errorOf(ask(model, "PUT", "/api/items/0/settings", "{}")), "no item 0");
    EXPECT_EQ(errorOf(ask(model, "GET", "/api/frames", "", {{"from", "1"}})), "\"to\" takes a whole frame number");
    const StudioAnswer refused = ask(model, "PUT", "/api/items/1/settings", R"({"refuse": 1})");
    EXPECT_EQ(refused.status, 400);
    EXPECT_EQ(errorOf(refused), "Gravity takes -100 to 100");
    EXPECT_EQ(nlohmann::json::parse(refused.body).at("field"), "Gravity");  // shown beside its field
    EXPECT_EQ(ask(model, "GET", "/api/undo").status, 405);
    // Frames of the revision shown, or a refusal saying which that is now.
    EXPECT_EQ(ask(model, "GET", "/api/frames", "", {{"from", "1"}, {"to", "2"}, {"revision", "7"}}).body, "1..2");
    const StudioAnswer stale = ask(model, "GET", "/api/looks", "", {{"from", "1"}, {"to", "2"}, {"revision", "6"}});
    EXPECT_EQ(stale.status, 409);
    EXPECT_EQ(nlohmann::json::parse(stale.body).at("revision"), 7);
    EXPECT_EQ(ask(model, "GET", "/api/items/1/panel.png", "", {{"revision", "8"}}).status, 409);
    const StudioAnswer failed = ask(model, "PUT", "/api/items/1/settings", R"({"fail": 1})");
    EXPECT_EQ(failed.status, 500);
    EXPECT_EQ(errorOf(failed), "the module failed");
}

TEST(StudioRoutesTest, AnErrorNamingBytesThatAreNotUtf8IsStillJson) {
    const StudioAnswer answer = errorAnswer(400, "no file \xFC.plf");
    EXPECT_EQ(errorOf(answer), "no file \xEF\xBF\xBD.plf");
}

}  // namespace
}  // namespace plof::host::studio
