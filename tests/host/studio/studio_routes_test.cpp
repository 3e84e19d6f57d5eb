#include "host/studio/studio_routes.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace plof::host::studio {
namespace {

// A session that records what it was asked and fails on request.
class FakeModel : public StudioModel {
public:
    nlohmann::ordered_json state() override { return {{"revision", 7}}; }
    nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) override {
        changedItem = item;
        if (request.contains("fail")) throw std::runtime_error("the module failed");
        if (request.contains("refuse")) throw BadRequest("Gravity takes -100 to 100");
        return {{"changed", request}};
    }
    std::string frames(int32_t first, int32_t last) override {
        return std::to_string(first) + ".." + std::to_string(last);
    }
    std::string playCsv() override { return "frame,point,x,y,z\n"; }
    std::string panelPicture(std::size_t item) override { return "png of " + std::to_string(item); }
    nlohmann::ordered_json save(const nlohmann::json &) override { return {{"written", "a.plf"}}; }

    std::size_t changedItem = 0;
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
