// Reading panel scripts: what each line says, and errors that name the line.
#include "host/script/panel_script.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

PanelScript parse(std::string_view text) {
    PanelScript script;
    ScriptError error;
    EXPECT_TRUE(parsePanelScript(text, "edit.txt", script, error)) << error.text();
    return script;
}

ScriptError parseError(std::string_view text) {
    PanelScript script;
    ScriptError error;
    EXPECT_FALSE(parsePanelScript(text, "edit.txt", script, error)) << "accepted: " << text;
    return error;
}

TEST(PanelScript, ReadsEveryActionWithItsLine) {
    const PanelScript script = parse(
        "# edit the emitter\n"
        "\n"
        "set \"      V0  Min \" 1.5   # trailing comment\n"
        "set #3 on\n"
        "drag #4 1 20 -20\n"
        "press \"    CreateScene   \"\n"
        "set \"   HPB min  \" 1,2,3\n"
        "choose \"/tmp/a dir/ball.lwo\"\n"
        "choose cancel\n"
        "choose \"cancel\"\n"
        "snapshot\r\n"
        "confirm\n"
        "cancel");
    ASSERT_EQ(script.actions.size(), 11u);
    const ScriptAction &set = script.actions[0];
    EXPECT_EQ(set.line, 3);
    EXPECT_EQ(set.verb, ScriptVerb::Set);
    EXPECT_EQ(set.control.label, "      V0  Min ");
    EXPECT_EQ(set.control.index, 0);
    ASSERT_EQ(set.values.size(), 1u);
    EXPECT_EQ(set.values[0].text, "1.5");

    EXPECT_EQ(script.actions[1].control.index, 3);
    EXPECT_EQ(script.actions[1].values[0].text, "on");
    EXPECT_EQ(script.actions[2].verb, ScriptVerb::Drag);
    EXPECT_EQ(script.actions[2].drags, (std::vector<int32_t>{1, 20, -20}));
    EXPECT_EQ(script.actions[3].control.label, "    CreateScene   ");
    EXPECT_EQ(script.actions[4].values[0].text, "1,2,3");

    EXPECT_EQ(script.actions[5].path, "/tmp/a dir/ball.lwo");
    EXPECT_FALSE(script.actions[5].cancelDialog);
    EXPECT_TRUE(script.actions[6].cancelDialog);
    // A quoted "cancel" is a file of that name.
    EXPECT_FALSE(script.actions[7].cancelDialog);
    EXPECT_EQ(script.actions[8].verb, ScriptVerb::Snapshot);
    EXPECT_EQ(script.actions[9].verb, ScriptVerb::Confirm);
    EXPECT_EQ(script.actions[10].verb, ScriptVerb::Cancel);
    EXPECT_EQ(script.actions[10].line, 13);
}

TEST(PanelScript, QuotedLabelsKeepSpacesAndEscapes) {
    const PanelScript script = parse("set \"say \\\"hi\\\" \\\\ \" \"a # b\"\n");
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(script.actions[0].control.label, "say \"hi\" \\ ");
    EXPECT_EQ(script.actions[0].values[0].text, "a # b");
    EXPECT_TRUE(script.actions[0].values[0].quoted);
}

TEST(PanelScript, EachBadLineIsReportedWithItsNumber) {
    struct Case {
        const char *text;
        int line;
        const char *says;
    };
    const Case cases[] = {
        {"confirm\nsett \"Gravity\" 1\n", 2, "unknown action \"sett\""},
        {"sett \"Gravity\" 1\n", 1, "the actions are set, expect, press, drag, choose, snapshot, confirm, cancel"},
        {"set Gravity 1\n", 1, "is not a control"},
        {"\n\nset \"Gravity\"\n", 3, "needs a value"},
        {"set\n", 1, "needs a control"},
        {"press \"S\" now\n", 1, "takes only the control"},
        {"drag #3\n", 1, "one or more whole numbers"},
        {"drag #3 1 2.5\n", 1, "\"2.5\" is not a whole number"},
        {"drag #3 99999999999\n", 1, "is not a whole number"},
        {"choose\n", 1, "exactly one answer"},
        {"choose a b\n", 1, "exactly one answer"},
        {"confirm now\n", 1, "takes nothing after it"},
        {"# fine\nset \"Gravity 1\n", 2, "not closed"},
        {"press #0\n", 1, "is not a control"},
        {"\"set\" #1 2\n", 1, "unknown action"},
    };
    for (const Case &c : cases) {
        const ScriptError error = parseError(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
        EXPECT_EQ(error.text().rfind("edit.txt:" + std::to_string(c.line) + ": ", 0), 0u) << error.text();
    }
}

TEST(PanelScript, MissingFileIsNamed) {
    PanelScript script;
    ScriptError error;
    EXPECT_FALSE(readPanelScript("/nonexistent/dir/edit.txt", script, error));
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.text().rfind("/nonexistent/dir/edit.txt: ", 0), 0u) << error.text();
}

}  // namespace
}  // namespace plof::host
