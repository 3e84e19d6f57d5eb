// The panel script of `plof-host bake`: what it presses and chooses, in order.
#include "host/script/bake_request.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(BakeRequest, ObjectsAreAddedInOrderEachThroughItsOwnDialog) {
    BakeRequest request;
    request.out = "x.lws";
    request.objects = {"a.lwo", "b.lwo"};
    const PanelScript script = bakeScript(request);
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < script.actions.size(); ++i) {
        if (script.actions[i].verb != ScriptVerb::Choose) continue;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(script.actions[i - 1].verb, ScriptVerb::Press);
        EXPECT_EQ(script.actions[i - 1].control.label, "ObjectFile ");
        chosen.push_back(script.actions[i].path);
    }
    EXPECT_EQ(chosen, request.objects);
    // The baking panel is confirmed, then the options panel closed unchanged.
    ASSERT_GE(script.actions.size(), 2u);
    EXPECT_EQ(script.actions[script.actions.size() - 2].verb, ScriptVerb::Confirm);
    EXPECT_EQ(script.actions.back().verb, ScriptVerb::Cancel);
}

}  // namespace
}  // namespace plof::host
