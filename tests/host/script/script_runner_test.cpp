// The script runner acting on panels the way a person would: events on every
// change, drag steps, nested panels, file dialogs answered in order, and
// errors that name the line.
#include "host/script/script_runner.h"
#include "host/dialogs/scripted_file_request.h"
#include "host/module/service_registry.h"
#include "host/run/host_process.h"
#include "host/script/scripted_user.h"
#include "plof/host_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plof::host {
namespace {

// A small module-side panel, built through the services record as the module
// builds its panels: an options panel whose "Nested" button opens a second
// panel and whose "L" button asks for a file.
struct FakeModule {
    PlofPanelServices *services = nullptr;
    PlofPanel panel = nullptr;
    PlofControl gravity = nullptr, maxA = nullptr, maxB = nullptr, drag = nullptr, slider = nullptr, recycle = nullptr,
                avoid = nullptr;
    std::vector<std::string> events;
    std::vector<int32_t> dragSteps;
    int draws = 0;
    std::vector<std::string> files;
    std::vector<int32_t> dialogResults;
    int32_t nestedResult = -1;
    int32_t nestedFrame = 0;
    std::string nestedScene;
    int32_t dialogSize = 256;

    PlofControl add(PlofPanel into, const char *kind, const char *label, PlofControlDescription d = {}) {
        PlofControl control = services->addControl(into, kind, &d, label);
        EXPECT_NE(control, nullptr) << kind;
        return control;
    }
    void setInteger(PlofControl control, int32_t code, intptr_t integer) {
        PlofControlValue value{};
        value.type = PLOF_VALUE_INTEGER;
        value.value.integer = integer;
        services->setControlAttribute(control, code, &value);
    }
    void wire(PlofControl control, PlofEventFunc event) {
        setInteger(control, PLOF_CONTROL_EVENT, reinterpret_cast<intptr_t>(event));
        setInteger(control, PLOF_CONTROL_USER_DATA, reinterpret_cast<intptr_t>(this));
    }
    intptr_t integer(PlofControl control) {
        PlofControlValue value{};
        value.type = PLOF_VALUE_INTEGER;
        services->getControlAttribute(control, PLOF_CONTROL_VALUE, &value);
        return value.value.integer;
    }
    double number(PlofControl control) {
        PlofControlValue value{};
        value.type = PLOF_VALUE_FLOAT;
        services->getControlAttribute(control, PLOF_CONTROL_VALUE, &value);
        return value.value.number;
    }

    static void onChange(PlofControl control, void *data) {
        static_cast<FakeModule *>(data)->events.push_back(control->label);
    }
    static void onDrag(PlofControl control, void *data) {
        auto *self = static_cast<FakeModule *>(data);
        PlofControlValue value{};
        value.type = PLOF_VALUE_INT_VECTOR;
        self->services->getControlAttribute(control, PLOF_CONTROL_VALUE, &value);
        EXPECT_EQ(value.value.integers[0], 0);
        EXPECT_EQ(value.value.integers[2], 0);
        self->dragSteps.push_back(value.value.integers[1]);
    }
    static void onDraw(PlofPanel, void *data, int32_t) { ++static_cast<FakeModule *>(data)->draws; }
    static void onLoad(PlofControl, void *data) {
        auto *self = static_cast<FakeModule *>(data);
        auto *request = static_cast<PlofFileRequest *>(findService(PLOF_SERVICE_FILE_REQUEST));
        char name[] = "<setting.plf";
        char path[] = "/objects";
        char result[256] = "untouched";
        const int32_t answer = request->request("load plf setting", name, path, result, self->dialogSize);
        self->dialogResults.push_back(answer);
        if (answer > 0) self->files.emplace_back(result);
    }
    static void onNested(PlofControl, void *data) {
        auto *self = static_cast<FakeModule *>(data);
        PlofPanel nested = self->services->createPanel("SceneCreate", self->services);
        PlofControl scene = self->add(nested, "FileControl", "ScneName   ", {1, {30}});
        PlofControl frame = self->add(nested, "NumControl", "  frame     ", {2, {}});
        PlofControl load = self->add(nested, "ButtonControl", "L", {2, {}});
        self->wire(load, &onLoad);
        self->setInteger(frame, PLOF_CONTROL_VALUE, 60);
        self->nestedResult = self->services->openPanel(nested, PLOF_OPEN_FLAGS);
        self->nestedFrame = static_cast<int32_t>(self->integer(frame));
        char text[256] = "";
        PlofControlValue value{};
        value.type = PLOF_VALUE_TEXT;
        value.value.text.buffer = text;
        value.value.text.length = sizeof text;
        self->services->getControlAttribute(scene, PLOF_CONTROL_VALUE, &value);
        self->nestedScene = text;
        self->services->destroyPanel(nested);
    }

    void build() {
        services = static_cast<PlofPanelServices *>(findService(PLOF_SERVICE_PANELS));
        panel = services->createPanel("PLOF!  ver.1.95", services);
        gravity = add(panel, "FloatControl", "Gravity", {3, {}});
        maxA = add(panel, "NumControl", "  Max", {2, {}});
        maxB = add(panel, "NumControl", "  Max", {2, {}});
        drag = add(panel, "DragButtonControl", "", {19, {0, -1}});
        slider = add(panel, "SliderControl", "Spread Min", {15, {180, 0, 180}});
        recycle = add(panel, "BoolControl", "Recycle", {8, {}});
        avoid = add(panel, "LWListControl", "                  Avoid Object ",
                    {16, {reinterpret_cast<intptr_t>(globalServiceFunction())}});
        PlofControl nested = add(panel, "ButtonControl", "Nested", {2, {}});
        PlofControl load = add(panel, "ButtonControl", "L", {2, {}});
        for (PlofControl control : {gravity, maxA, slider, recycle, avoid}) wire(control, &onChange);
        wire(drag, &onDrag);
        wire(nested, &onNested);
        wire(load, &onLoad);
        services->setPanelAttribute(panel, PLOF_PANEL_DRAW, reinterpret_cast<void *>(&onDraw));
        services->setPanelAttribute(panel, PLOF_PANEL_USER_DATA, this);
    }
    int32_t open() { return services->openPanel(panel, PLOF_OPEN_FLAGS); }
    ~FakeModule() {
        if (panel) services->destroyPanel(panel);
    }
};

// Two scene objects for the avoid-object list.
PlofItemId firstItem(int32_t, PlofItemId) { return 11; }
PlofItemId nextItem(PlofItemId item) { return item == 11 ? 12 : 0; }
const char *itemName(PlofItemId item) { return item == 11 ? "Emitter" : item == 12 ? "Wall" : ""; }

class ScriptRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        providePanelServices();
        provideScriptedFileRequest();
        items.first = &firstItem;
        items.next = &nextItem;
        items.name = &itemName;
        provideService(PLOF_SERVICE_ITEM_INFO, &items);
        module.build();
    }

    static PanelScript script(std::string_view text) {
        PanelScript parsed;
        ScriptError error;
        EXPECT_TRUE(parsePanelScript(text, "edit.txt", parsed, error)) << error.text();
        return parsed;
    }
    // Runs `text` on the fake panel; the error text, or "" when it ran clean.
    std::string run(std::string_view text, int32_t *result = nullptr) {
        ScriptRunner runner(script(text));
        const ScriptedUser user(runner);
        const int32_t confirmed = module.open();
        if (result) *result = confirmed;
        return runner.finish() ? "" : runner.error()->text();
    }

    HostProcess process;  // first: the fake module's panels live in it
    PlofItemInfo items{};
    FakeModule module;
};

TEST_F(ScriptRunnerTest, SetsValuesFiresEventsAndRedraws) {
    int32_t result = 0;
    EXPECT_EQ(run("set \"Gravity\" -9.5\n"
                  "set \"Spread Min\" 30\n"
                  "set \"Spread Min\" 45\n"
                  "set \"Recycle\" on\n"
                  "set \"Avoid Object\" \"Wall\"\n"
                  "set #2 17\n"
                  "set #3 -4\n"
                  "confirm\n",
                  &result),
              "");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(module.number(module.gravity), -9.5);
    EXPECT_EQ(module.integer(module.slider), 45);
    EXPECT_EQ(module.integer(module.recycle), 1);
    EXPECT_EQ(module.integer(module.avoid), 12);
    EXPECT_EQ(module.integer(module.maxA), 17);
    EXPECT_EQ(module.integer(module.maxB), -4);
    // Every change fires the control's event; #3 has none.
    EXPECT_EQ(module.events, (std::vector<std::string>{"Gravity", "Spread Min", "Spread Min", "Recycle",
                                                       "                  Avoid Object ", "  Max"}));
    // Once on opening and once after each of the seven actions.
    EXPECT_EQ(module.draws, 8);
}

TEST_F(ScriptRunnerTest, ExpectComparesWhatEachControlHolds) {
    EXPECT_EQ(run("set \"Gravity\" -9.5\n"
                  "expect \"Gravity\" -9.5\n"
                  "expect \"Recycle\" off\n"
                  "expect \"Avoid Object\" none\n"
                  "set \"Avoid Object\" \"Wall\"\n"
                  "expect \"Avoid Object\" \"Wall\"\n"
                  "expect \"L\" \"\"\n"
                  "press \"Nested\"\n"
                  "expect \"  frame     \" 60\n"
                  "confirm\n"
                  "confirm\n"),
              "");
    // Checking changes nothing and fires no event.
    EXPECT_EQ(module.events, (std::vector<std::string>{"Gravity", "                  Avoid Object "}));

    const std::pair<const char *, const char *> mismatches[] = {
        {"set \"Gravity\" 2\nexpect \"Gravity\" 2.5\n", "edit.txt:2: #1 \"Gravity\" (FloatControl) holds 2, not"},
        {"expect \"L\" \"/objects/*.plf\"\n", "edit.txt:1: #9 \"L\" (ButtonControl) holds \"\", not"},
        {"expect \"Recycle\" maybe\n", "edit.txt:1: wrong value for #6"},
        {"expect #4 1\n", "edit.txt:1: #4 \"\" (DragButtonControl) holds no value"},
    };
    for (const auto &[text, says] : mismatches) {
        FakeModule fresh;
        fresh.build();
        ScriptRunner runner(script(text));
        const ScriptedUser user(runner);
        EXPECT_EQ(fresh.open(), 0) << text;
        ASSERT_FALSE(runner.finish()) << text;
        EXPECT_EQ(runner.error()->text().rfind(says, 0), 0u) << runner.error()->text();
    }
}

TEST_F(ScriptRunnerTest, DragFiresOneEventPerStep) {
    EXPECT_EQ(run("drag #4 1 20 -20 -100\nconfirm\n"), "");
    EXPECT_EQ(module.dragSteps, (std::vector<int32_t>{1, 20, -20, -100}));
    EXPECT_EQ(module.draws, 5);
}

TEST_F(ScriptRunnerTest, ScriptEndingWithoutConfirmCancels) {
    int32_t result = 1;
    EXPECT_EQ(run("set \"Gravity\" 2\n", &result), "");
    EXPECT_EQ(result, 0);
}

TEST_F(ScriptRunnerTest, NestedPanelTakesTheFollowingLinesUntilItCloses) {
    int32_t result = 0;
    EXPECT_EQ(run("press \"Nested\"\n"
                  "set \"  frame     \" 30\n"
                  "set \"ScneName\" \"/tmp/out.lws\"\n"
                  "confirm\n"
                  "set \"Gravity\" 3\n"
                  "cancel\n",
                  &result),
              "");
    EXPECT_EQ(module.nestedResult, 1);
    EXPECT_EQ(module.nestedFrame, 30);
    EXPECT_EQ(module.nestedScene, "/tmp/out.lws");
    // The line after the nested confirm acts on the outer panel again.
    EXPECT_EQ(module.number(module.gravity), 3.0);
    EXPECT_EQ(result, 0);
}

// A path cut to the module's buffer would name another file: it is refused.
TEST_F(ScriptRunnerTest, FileDialogsAreAnsweredInOrderAndRefusedBeyondTheirSize) {
    module.dialogSize = 19;
    EXPECT_EQ(run("press \"L\"\nchoose \"/tmp/long name.plf\"\npress \"L\"\nchoose cancel\nconfirm\n"), "");
    EXPECT_EQ(module.dialogResults, (std::vector<int32_t>{1, 0}));
    ASSERT_EQ(module.files.size(), 1u);
    EXPECT_EQ(module.files[0], "/tmp/long name.plf");

    module.dialogSize = 18;
    EXPECT_EQ(run("press \"L\"\nchoose \"/tmp/long name.plf\"\nconfirm\n"),
              "edit.txt:2: the dialog returns the full path \"/tmp/long name.plf\", 18 characters, but the module "
              "takes at most 17");
}

TEST_F(ScriptRunnerTest, LabelMatchFallsBackToTrimmedSpaces) {
    EXPECT_EQ(run("set \"  Gravity \" 4\nconfirm\n"), "");
    EXPECT_EQ(module.number(module.gravity), 4.0);
}

TEST_F(ScriptRunnerTest, EveryMistakeNamesItsLineAndCancelsThePanels) {
    struct Case {
        const char *text;
        const char *says;
        bool confirmedFirst = false;
    };
    const Case cases[] = {
        {"set \"Gravity\" 1\nset \"Gravty\" 2\nconfirm\n", "edit.txt:2: unknown control \"Gravty\""},
        {"set \"Gravity\" heavy\nconfirm\n", "edit.txt:1: wrong value for #1 \"Gravity\" (FloatControl)"},
        {"set #2 1.5\nconfirm\n", "edit.txt:1: wrong value for #2"},
        {"set \"  Max\" 3\nconfirm\n", "edit.txt:1: label \"  Max\" names controls #2, #3"},
        {"set #40 3\n", "edit.txt:1: no control #40"},
        {"set \"Spread Min\" 181\n", "edit.txt:1: slider #5 \"Spread Min\" (SliderControl) goes from 0 to 180"},
        {"set \"Recycle\" maybe\n", "edit.txt:1: wrong value for #6"},
        {"set \"Avoid Object\" \"Moon\"\n", "edit.txt:1: no object named \"Moon\""},
        {"press \"Gravity\"\n", "edit.txt:1: cannot press #1"},
        {"drag \"Gravity\" 3\n", "edit.txt:1: cannot drag #1"},
        {"set #4 3\n", "edit.txt:1: #4 \"\" (DragButtonControl) is a drag button: use drag"},
        {"confirm\nset \"Gravity\" 1\n", "edit.txt:2: \"set\" has no open panel", true},
        {"confirm\nchoose \"/a.plf\"\n", "edit.txt:2: unused file dialog answer", true},
        {"choose \"/a.plf\"\nconfirm\n", "edit.txt:1: \"choose\" answers a file dialog, but no dialog is open"},
        {"press \"L\"\nconfirm\n", "edit.txt:2: the file dialog \"load plf setting\" is open here"},
        {"press \"L\"\n", "edit.txt: the script ended while the file dialog \"load plf setting\" was open"},
        {"snapshot\n", "edit.txt:1: \"snapshot\" needs a picture file"},
        {"press \"Nested\"\nset \"Gravity\" 1\nconfirm\nconfirm\n",
         "edit.txt:2: unknown control \"Gravity\" in panel \"SceneCreate\""},
    };
    for (const Case &c : cases) {
        FakeModule fresh;
        fresh.build();
        ScriptRunner runner(script(c.text));
        const ScriptedUser user(runner);
        const int32_t result = fresh.open();
        ASSERT_FALSE(runner.finish()) << c.text;
        const std::string error = runner.error()->text();
        EXPECT_EQ(error.rfind(c.says, 0), 0u) << "script:\n" << c.text << "error: " << error;
        // A mistake found while the panel is open cancels it.
        EXPECT_EQ(result, c.confirmedFirst ? 1 : 0) << c.text;
    }
}

TEST_F(ScriptRunnerTest, AfterAnErrorNestedPanelsAndDialogsCancel) {
    const std::string error = run("press \"Nested\"\nset \"nothing\" 1\nconfirm\nconfirm\n");
    EXPECT_NE(error.find("edit.txt:2:"), std::string::npos);
    EXPECT_EQ(module.nestedResult, 0);
}

TEST_F(ScriptRunnerTest, WithoutARunnerDialogsCancel) {
    auto *request = static_cast<PlofFileRequest *>(findService(PLOF_SERVICE_FILE_REQUEST));
    char name[] = "x", path[] = "y", result[16] = "";
    EXPECT_EQ(request->request("t", name, path, result, sizeof result), 0);
    EXPECT_STREQ(result, "");
}

TEST_F(ScriptRunnerTest, SnapshotLineAndClosingOuterPanelPicturePanels) {
    std::vector<std::string> pictured;
    {
        ScriptRunner runner(script("set \"Gravity\" 7\nsnapshot\npress \"Nested\"\nsnapshot\nconfirm\nconfirm\n"));
        const ScriptedUser user(runner);
        runner.setSnapshotWriter([&](const PlofPanelRecord &panel, std::string &) {
            pictured.push_back(panel.title + " " + std::to_string(module.number(module.gravity)));
            return true;
        });
        module.open();
        EXPECT_TRUE(runner.finish());
    }
    // A snapshot line was used, so closing the outer panel adds none.
    EXPECT_EQ(pictured, (std::vector<std::string>{"PLOF!  ver.1.95 7.000000", "SceneCreate 7.000000"}));

    pictured.clear();
    {
        ScriptRunner runner(script("set \"Gravity\" 8\nconfirm\n"));
        const ScriptedUser user(runner);
        runner.setSnapshotWriter([&](const PlofPanelRecord &panel, std::string &) {
            pictured.push_back(panel.title + " " + std::to_string(module.number(module.gravity)));
            return true;
        });
        module.open();
        EXPECT_TRUE(runner.finish());
    }
    EXPECT_EQ(pictured, (std::vector<std::string>{"PLOF!  ver.1.95 8.000000"}));
}

}  // namespace
}  // namespace plof::host
