#include "panel/scene_baking_panel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "panel/object_file_list.h"
#include "panel/panel_fixture.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;
using Services = RecordingPanelServices;

constexpr const char *kSceneTitle = "SceneCreate                        ";

struct ExpectedControl {
    const char *kind;
    int32_t type;
    const char *label;
    int32_t column;
    int32_t row;
};

class SceneBakingPanelTest : public PanelTest {
protected:
    // Presses "    CreateScene   " in the options panel; `act` plays the user
    // on the baking panel.
    void bakeWith(std::function<int32_t(RecordedPanel &)> act) {
        openOptions(
            [](RecordedPanel &panel) {
                Services::press(panel.control("    CreateScene   "));
                return kCancel;
            },
            act);
    }

    // Calls openSceneBakingPanel directly from inside the options panel, after
    // `prepare`, and returns its result.
    int32_t resultOfOpening(std::function<void()> prepare) {
        int32_t result = -1;
        openOptions([&](RecordedPanel &panel) {
            prepare();
            result = openSceneBakingPanel(panel.control("    CreateScene   ").handle(),
                                          *static_cast<OptionsPanelContext *>(panel.userData));
            return kCancel;
        });
        return result;
    }
};

TEST_F(SceneBakingPanelTest, AFreshInstanceShowsTheDefaults) {
    bool seen = false;
    bakeWith([&](RecordedPanel &panel) {
        seen = true;
        EXPECT_EQ(panel.title, kSceneTitle);
        const std::vector<ExpectedControl> expected{
            {"FileControl", 1, "ScneName   ", 100, 1},  {"ButtonControl", 2, "ObjectFile ", 100, 2},
            {"NumControl", 2, "  frame     ", 100, 9},  {"NumControl", 2, "  frame step", 100, 10},
            {"FVecControl", 6, "   HPB min  ", 80, 12}, {"FVecControl", 6, "   HPB max  ", 80, 13},
            {"BoolControl", 8, "Align H", 100, 15},     {"BoolControl", 8, "Scale ctl", 200, 15},
            {"BoolControl", 8, "Dslv ctl", 300, 15},    {"ListBoxControl", 18, "Obj List", 100, 3},
        };
        EXPECT_EQ(panel.controls.size(), expected.size());
        for (std::size_t i = 0; i < expected.size() && i < panel.controls.size(); ++i) {
            SCOPED_TRACE(expected[i].label);
            const RecordedControl &control = panel.controlAt(i);
            EXPECT_EQ(control.kind, expected[i].kind);
            EXPECT_EQ(control.description.type, expected[i].type);
            EXPECT_EQ(control.label, expected[i].label);
            EXPECT_EQ(control.x, expected[i].column - static_cast<int32_t>(6 * std::strlen(expected[i].label)));
            EXPECT_EQ(control.y, 20 * expected[i].row);
        }
        EXPECT_EQ(panel.control("ScneName   ").description.words[0], 30);
        const PlofControlDescription &list = panel.control("Obj List").description;
        EXPECT_EQ(list.words[0], 200);
        EXPECT_EQ(list.words[1], 5);
        EXPECT_EQ(list.words[2], 0);
        auto count = reinterpret_cast<PlofListCountFunc>(list.words[3]);
        auto name = reinterpret_cast<PlofListNameFunc>(list.words[4]);
        void *data = panel.control("Obj List").userData;
        EXPECT_EQ(data, &instance->objectList);
        EXPECT_EQ(Services::current()->record().userData, data);
        EXPECT_EQ(count(data), 1);
        EXPECT_STREQ(name(data, 0), "none");

        EXPECT_EQ(panel.control("ScneName   ").text, std::string("scenes") + kPathSeparator + "PLOF.lws");
        EXPECT_EQ(panel.control("ObjectFile ").text, std::string("objects") + kPathSeparator + "*.lwo");
        EXPECT_EQ(panel.control("  frame     ").integer, 60);
        EXPECT_EQ(panel.control("  frame step").integer, 1);
        EXPECT_EQ(panel.control("   HPB min  ").numbers, (std::array<double, 3>{0, 0, 0}));
        EXPECT_EQ(panel.control("   HPB max  ").valueType, PLOF_VALUE_FLOAT_VECTOR);
        for (const char *box : {"Align H", "Scale ctl", "Dslv ctl"}) {
            EXPECT_EQ(panel.control(box).valueType, PLOF_VALUE_INTEGER) << box;
            EXPECT_EQ(panel.control(box).integer, 0) << box;
        }
        EXPECT_NE(panel.control("ObjectFile ").event, nullptr);
        EXPECT_NE(panel.control("ObjectFile ").userData, nullptr);
        EXPECT_NE(panel.control("Obj List").event, nullptr);
        EXPECT_EQ(panel.openFlags, 7);
        return kCancel;
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(services.panel(kSceneTitle).destroyed);
}

TEST_F(SceneBakingPanelTest, CancelKeepsTheInstanceSettings) {
    instance->frameStep = 3;
    bakeWith([](RecordedPanel &panel) {
        Services::setInteger(panel.control("  frame step"), 9);
        Services::setInteger(panel.control("Align H"), 1);
        panel.control("   HPB min  ").numbers = {1, 2, 3};
        return kCancel;
    });
    EXPECT_EQ(instance->frameStep, 3);
    EXPECT_EQ(instance->alignH, 0);
    EXPECT_EQ(instance->hpbMin, (Vec3{0, 0, 0}));
    // Reopening shows the stored step and a fresh frame count.
    bakeWith([](RecordedPanel &panel) {
        EXPECT_EQ(panel.control("  frame step").integer, 3);
        EXPECT_EQ(panel.control("  frame     ").integer, 60);
        return kCancel;
    });
}

class SceneBakingConfirmTest : public SceneBakingPanelTest {
protected:
    void SetUp() override {
        directory = fs::temp_directory_path() /
                    ("plof_bake_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        host.directories[PLOF_DIRECTORY_SCENES] = directory.string();
    }
    void TearDown() override { fs::remove_all(directory); }

    static std::string read(const fs::path &file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static std::size_t occurrences(const std::string &text, const std::string &part) {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
        return count;
    }

    // A motion key's frame line in the baked scene.
    static std::string keyAtFrame(int frame) { return "\r\n  " + std::to_string(frame) + " 0 0 0 0\r\n"; }

    fs::path directory;
};

TEST_F(SceneBakingConfirmTest, ConfirmingUnchangedBakesSixtyFramesIntoTheScenesDirectory) {
    bakeWith([](RecordedPanel &) { return kConfirm; });
    const std::string scene = read(directory / "PLOF.lws");
    ASSERT_EQ(scene.rfind("LWSC\r\n", 0), 0u);
    // One object per particle, each keyed at frames 0 to 59.
    EXPECT_EQ(occurrences(scene, "LoadObject none\r\n"), 4u);
    EXPECT_EQ(occurrences(scene, keyAtFrame(59)), 4u);
    EXPECT_EQ(occurrences(scene, keyAtFrame(60)), 0u);
    EXPECT_EQ(instance->bakeMode, 0);
}

TEST_F(SceneBakingConfirmTest, ConfirmStoresTheReadBackSettingsAndBakesWithThem) {
    const std::string scene = (directory / "baked.lws").string();
    bakeWith([&](RecordedPanel &panel) {
        Services::setText(panel.control("ScneName   "), scene);
        Services::setInteger(panel.control("  frame     "), 5);
        Services::setInteger(panel.control("  frame step"), 2);
        panel.control("   HPB min  ").numbers = {-10, 0, 5};
        panel.control("   HPB max  ").numbers = {10, 20, 5};
        Services::setInteger(panel.control("Align H"), 1);
        Services::setInteger(panel.control("Scale ctl"), 0x301);
        Services::setInteger(panel.control("Dslv ctl"), 0x100);
        return kConfirm;
    });
    EXPECT_EQ(instance->frameStep, 2);
    EXPECT_EQ(instance->alignH, 1);
    EXPECT_EQ(instance->scaleCtl, 1);  // low byte
    EXPECT_EQ(instance->dslvCtl, 0);
    EXPECT_EQ(instance->hpbMin, (Vec3{-10, 0, 5}));
    EXPECT_EQ(instance->hpbMax, (Vec3{10, 20, 5}));
    // Spins were assigned before the bake, within the bounds.
    for (const Particle &particle : instance.particles) {
        EXPECT_GE(particle.spin[0], -10.0);
        EXPECT_LT(particle.spin[0], 10.0);
        EXPECT_EQ(particle.spin[2], 5.0);
    }
    const std::string baked = read(scene);
    EXPECT_EQ(occurrences(baked, keyAtFrame(4)), 4u);  // frames 0, 2, 4 below 5
    EXPECT_EQ(occurrences(baked, keyAtFrame(3)), 0u);
    EXPECT_FALSE(fs::exists(directory / "PLOF.lws"));
}

TEST_F(SceneBakingPanelTest, DirectoriesTooLongForTheBuffersAreNeverOverrun) {
    // A scene path that would be cut is not suggested at all; the pattern
    // for the object dialog is only a hint and is cut to the buffer.
    host.directories[PLOF_DIRECTORY_SCENES] = std::string(250, 's');
    host.directories[PLOF_DIRECTORY_OBJECTS] = std::string(300, 'o');
    bakeWith([](RecordedPanel &panel) {
        EXPECT_EQ(panel.control("ScneName   ").text, "");
        EXPECT_EQ(panel.control("ObjectFile ").text, std::string(255, 'o'));
        return kCancel;
    });
    host.directories[PLOF_DIRECTORY_SCENES] = std::string(246, 's');
    bakeWith([](RecordedPanel &panel) {
        EXPECT_EQ(panel.control("ScneName   ").text.size(), 255u);
        return kCancel;
    });
}

TEST_F(SceneBakingPanelTest, FailuresAreReportedWithTheirResults) {
    EXPECT_EQ(resultOfOpening([this] { host.panelServicesMissing = true; }), 2);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Unable to active global LWPanelServices");
    EXPECT_EQ(host.errors()[0].second, " please add plugin lwpanels.p");
    host.panelServicesMissing = false;

    host.clearErrors();
    EXPECT_EQ(resultOfOpening([this] { services.failPanelCreation = true; }), 1);
    services.failPanelCreation = false;
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Duoooh!:"), std::string("Unable to create panel")));

    for (int32_t failing : {0, 9}) {
        host.clearErrors();
        EXPECT_EQ(resultOfOpening([this, failing] { services.failControlAt = failing; }), 1);
        services.failControlAt = -1;
        RecordedPanel &panel = services.panel(kSceneTitle);
        EXPECT_TRUE(panel.destroyed);
        EXPECT_EQ(panel.openFlags, -1);
        ASSERT_EQ(host.errors().size(), 1u);
        EXPECT_EQ(host.errors()[0].second, "Unable to create panel");
        services.panels.erase(services.panels.begin() + 1);
    }
    EXPECT_EQ(instance->frameStep, 1);
}

TEST(ObjectListCallbacks, AnswerOnlyForEntriesInUse) {
    auto list = std::make_unique<ObjectList>();
    list->count = 2;
    std::strcpy(list->names[0].data(), "a.lwo");
    std::strcpy(list->names[1].data(), "b.lwo");
    EXPECT_EQ(objectListCount(list.get()), 2);
    EXPECT_STREQ(objectListName(list.get(), 1), "b.lwo");
    EXPECT_EQ(objectListName(list.get(), 2), nullptr);
    EXPECT_EQ(objectListName(list.get(), 300), nullptr);
    EXPECT_EQ(objectListName(list.get(), -1), nullptr);
    list->count = 1000;  // a damaged count still never reads past the entries
    EXPECT_EQ(objectListName(list.get(), 256), nullptr);
    EXPECT_NE(objectListName(list.get(), 255), nullptr);
}

}  // namespace
}  // namespace plof::test
