#include "panel/options_panel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "instance/module_state.h"
#include "panel/panel_fixture.h"

namespace plof::test {
namespace {

using Services = RecordingPanelServices;

constexpr std::size_t kV0Min = 0, kV0Max = 1, kV0MinDrag = 2, kV0MaxDrag = 3, kAgeMin = 4, kAgeMax = 5, kAgeMinDrag = 6,
                      kAgeMaxDrag = 7;

struct ExpectedControl {
    const char *kind;
    int32_t type;
    std::vector<intptr_t> words;
    const char *label;
    int32_t column;
    int32_t row;
};

TEST_F(PanelTest, BuildsTheTwentyControlsInOrderWithKindsLabelsWordsAndPlaces) {
    ASSERT_EQ(openOptions([](RecordedPanel &) { return kCancel; }), 0);
    RecordedPanel &panel = services.panel(kOptionsTitle);
    const auto global = reinterpret_cast<intptr_t>(&PanelFakeHost::global);
    const std::vector<ExpectedControl> expected{
        {"FloatControl", 3, {}, "      V0  Min ", 100, 1},
        {"FloatControl", 3, {}, "  Max", 250, 1},
        {"DragButtonControl", 19, {0, -1}, "", 170, 1},
        {"DragButtonControl", 19, {0, -1}, "", 320, 1},
        {"NumControl", 2, {}, " Age Min frame ", 100, 2},
        {"NumControl", 2, {}, "  Max", 250, 2},
        {"DragButtonControl", 19, {0, -1}, "", 170, 2},
        {"DragButtonControl", 19, {0, -1}, "", 320, 2},
        {"FloatControl", 3, {}, "Gravity", 100, 3},
        {"NumControl", 2, {}, "SparkFrame", 100, 4},
        {"NumControl", 2, {}, "BirthRate p/s", 250, 4},
        {"BoolControl", 8, {}, "Recycle", 400, 4},
        {"SliderControl", 15, {180, 0, 180}, "Spread Min", 100, 5},
        {"SliderControl", 15, {180, 0, 180}, "Spread Max", 100, 6},
        {"SliderControl", 15, {200, 0, 100}, "Registance", 100, 9},
        {"BoolControl", 8, {}, "OrgEmitter", 400, 7},
        {"LWListControl", 16, {global, 0, 0, 0, 0}, "                  Avoid Object ", 100, 7},
        {"ButtonControl", 2, {}, "    CreateScene   ", 100, 11},
        {"ButtonControl", 2, {}, "S", 300, 11},
        {"ButtonControl", 2, {}, "L", 330, 11},
    };
    ASSERT_EQ(panel.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        const RecordedControl &control = *panel.controls[i];
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_EQ(control.description.type, expected[i].type);
        for (std::size_t w = 0; w < expected[i].words.size(); ++w) {
            EXPECT_EQ(control.description.words[w], expected[i].words[w]) << "word " << w;
        }
        EXPECT_EQ(control.label, expected[i].label);
        // The fake's metric: 6 pixels per label character.
        const auto labelWidth = static_cast<int32_t>(6 * std::strlen(expected[i].label));
        EXPECT_EQ(control.x, expected[i].column - labelWidth);
        EXPECT_EQ(control.y, 20 * expected[i].row);
    }
    EXPECT_EQ(panel.height, 338);
    EXPECT_EQ(panel.openFlags, 7);
    EXPECT_TRUE(panel.destroyed);
}

TEST_F(PanelTest, ShowsTheInstanceWithItsConversionsAndTheSettingsPattern) {
    instance->V0Min = 1.5;
    instance->V0Max = 2.5;
    instance->AgeMin = 12;
    instance->AgeMax = 34;
    instance->Gravity = -3.25;
    instance->START_F = 7;
    instance->Birth = 250;
    instance->ReCycle = 0;
    instance->SpreadMin = 15;
    instance->SpreadMax = 75;
    instance->Regist = 0.37;
    instance->OrgEmit = 1;
    instance->refItem = 0x1234;
    openOptions([](RecordedPanel &panel) {
        EXPECT_EQ(panel.controlAt(kV0Min).valueType, PLOF_VALUE_FLOAT);
        EXPECT_DOUBLE_EQ(panel.controlAt(kV0Min).number, 1.5);
        EXPECT_DOUBLE_EQ(panel.controlAt(kV0Max).number, 2.5);
        EXPECT_EQ(panel.controlAt(kAgeMin).valueType, PLOF_VALUE_INTEGER);
        EXPECT_EQ(panel.controlAt(kAgeMin).integer, 12);
        EXPECT_EQ(panel.controlAt(kAgeMax).integer, 34);
        EXPECT_DOUBLE_EQ(panel.control("Gravity").number, -3.25);
        EXPECT_EQ(panel.control("SparkFrame").integer, 7);
        EXPECT_EQ(panel.control("BirthRate p/s").integer, 250);
        EXPECT_EQ(panel.control("Recycle").integer, 0);
        EXPECT_EQ(panel.control("Spread Min").integer, 15);
        EXPECT_EQ(panel.control("Spread Max").integer, 75);
        EXPECT_EQ(panel.control("Registance").integer, 7);
        EXPECT_EQ(panel.control("OrgEmitter").integer, 1);
        EXPECT_EQ(panel.control("                  Avoid Object ").integer, 0x1234);
        const std::string pattern = std::string("objects") + kPathSeparator + "*.plf";
        EXPECT_EQ(panel.control("S").text, pattern);
        EXPECT_EQ(panel.control("L").text, pattern);
        return kCancel;
    });
}

TEST_F(PanelTest, WiresEventsAndUserDataToOneContext) {
    openOptions([](RecordedPanel &panel) {
        EXPECT_NE(panel.draw, nullptr);
        if (panel.userData == nullptr) {
            ADD_FAILURE() << "the panel has no user data";
            return kCancel;
        }
        for (const char *label : {"    CreateScene   ", "Spread Min", "Spread Max", "S", "L"}) {
            EXPECT_NE(panel.control(label).event, nullptr) << label;
            EXPECT_EQ(panel.control(label).userData, panel.userData) << label;
        }
        for (std::size_t index : {kV0MinDrag, kV0MaxDrag, kAgeMinDrag, kAgeMaxDrag}) {
            EXPECT_NE(panel.controlAt(index).event, nullptr) << index;
            EXPECT_EQ(panel.controlAt(index).userData, panel.userData) << index;
        }
        // Controls without an action get no event.
        EXPECT_EQ(panel.control("Gravity").event, nullptr);
        const auto &context = *static_cast<OptionsPanelContext *>(panel.userData);
        EXPECT_EQ(context.controls[kSpreadMinSlider], panel.control("Spread Min").handle());
        EXPECT_EQ(context.controls[kRegistanceSlider], panel.control("Registance").handle());
        EXPECT_EQ(context.controls[kV0MaxDrag], panel.controlAt(kV0MaxDrag).handle());
        EXPECT_STREQ(context.objectsDir.data(), "objects");
        EXPECT_EQ(context.ageMinAnchor, 10);
        EXPECT_EQ(context.ageMaxAnchor, 60);
        return kCancel;
    });
}

TEST_F(PanelTest, ConfirmReadsEveryMovedControlBack) {
    instance->Regist = 0.37;
    host.addItem("Cube");
    const PlofItemId ball = host.addItem("Ball");
    openOptions([ball](RecordedPanel &panel) {
        Services::setNumber(panel.controlAt(kV0Min), 0.5);
        Services::setNumber(panel.controlAt(kV0Max), 8.25);
        // Neither order nor range is checked.
        Services::setInteger(panel.controlAt(kAgeMin), 90);
        Services::setInteger(panel.controlAt(kAgeMax), 5);
        Services::setNumber(panel.control("Gravity"), 1.5);
        Services::setInteger(panel.control("SparkFrame"), -4);
        Services::setInteger(panel.control("BirthRate p/s"), 30);
        Services::setInteger(panel.control("Recycle"), 0);
        Services::setInteger(panel.control("Spread Min"), 120);
        Services::setInteger(panel.control("Spread Max"), 40);
        Services::setInteger(panel.control("OrgEmitter"), 0x101);
        Services::setInteger(panel.control("                  Avoid Object "), ball);
        return kConfirm;
    });
    EXPECT_DOUBLE_EQ(instance->V0Min, 0.5);
    EXPECT_DOUBLE_EQ(instance->V0Max, 8.25);
    EXPECT_EQ(instance->AgeMin, 90);
    EXPECT_EQ(instance->AgeMax, 5);
    EXPECT_DOUBLE_EQ(instance->Gravity, 1.5);
    EXPECT_EQ(instance->START_F, -4);
    EXPECT_EQ(instance->Birth, 30);
    EXPECT_EQ(instance->ReCycle, 0);
    EXPECT_EQ(instance->SpreadMin, 120);
    EXPECT_EQ(instance->SpreadMax, 40);
    // The untouched slider showed 7; the instance keeps 0.37 (it used to
    // become 0.35).
    EXPECT_DOUBLE_EQ(instance->Regist, 0.37);
    EXPECT_EQ(instance->OrgEmit, 1);  // the low 8 bits
    EXPECT_EQ(instance->refItem, ball);
    EXPECT_STREQ(instance->refName.data(), "Ball");
    EXPECT_TRUE(host.errors().empty());
}

// A name loaded but not yet looked up (no frame since) shows as no object in
// the list; confirming the list untouched used to empty it.
TEST_F(PanelTest, ConfirmKeepsAnAvoidObjectNotYetLookedUp) {
    std::strcpy(instance->refName.data(), "Hideout");
    instance->refItem = 0;
    instance->refResolved = 0;
    openOptions([](RecordedPanel &) { return kConfirm; });
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_STREQ(instance->refName.data(), "Hideout");
    EXPECT_EQ(instance->refResolved, 0);
}

TEST_F(PanelTest, ConfirmAfterChoosingNoAvoidObjectEmptiesTheName) {
    const PlofItemId gone = host.addItem("Gone");
    instance->refItem = gone;
    instance->refResolved = 1;
    openOptions([](RecordedPanel &panel) {
        Services::setInteger(panel.control("                  Avoid Object "), 0);
        return kConfirm;
    });
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_STREQ(instance->refName.data(), "");
}

TEST_F(PanelTest, CancelKeepsSettingsButReinitialisesParticles) {
    instance->Regist = 0.37;
    openOptions([](RecordedPanel &panel) {
        Services::setNumber(panel.control("Gravity"), 100.0);
        Services::drag(panel.controlAt(kV0MinDrag), -150);
        Services::setInteger(panel.control("Registance"), 50);
        return kCancel;
    });
    EXPECT_DOUBLE_EQ(instance->Gravity, 9.8);
    EXPECT_DOUBLE_EQ(instance->V0Min, 1.0);
    EXPECT_DOUBLE_EQ(instance->Regist, 0.37);
    for (const Particle &particle : instance.particles) {
        EXPECT_GE(particle.lifetime, 10);
        EXPECT_LT(particle.lifetime, 60);
    }
}

TEST_F(PanelTest, ConfirmReinitialisesParticlesFromTheNewSettings) {
    openOptions([](RecordedPanel &panel) {
        Services::setInteger(panel.controlAt(kAgeMin), 25);
        Services::setInteger(panel.controlAt(kAgeMax), 25);
        return kConfirm;
    });
    for (const Particle &particle : instance.particles) EXPECT_EQ(particle.lifetime, 25);
}

TEST_F(PanelTest, SpeedDragsClampToTheOtherBoundAndToZero) {
    instance->V0Min = 1.0;
    instance->V0Max = 2.0;
    openOptions([](RecordedPanel &panel) {
        RecordedControl &minimum = panel.controlAt(kV0Min);
        RecordedControl &maximum = panel.controlAt(kV0Max);
        Services::drag(panel.controlAt(kV0MinDrag), -150);
        EXPECT_DOUBLE_EQ(minimum.number, 2.0);
        Services::drag(panel.controlAt(kV0MinDrag), 150);
        EXPECT_DOUBLE_EQ(minimum.number, 0.5);
        Services::drag(panel.controlAt(kV0MinDrag), 150);
        EXPECT_DOUBLE_EQ(minimum.number, 0.0);
        // Each event applies its measure anew, relative to the current value.
        Services::drag(panel.controlAt(kV0MaxDrag), -25);
        Services::drag(panel.controlAt(kV0MaxDrag), -25);
        EXPECT_DOUBLE_EQ(maximum.number, 2.5);
        Services::setNumber(minimum, 1.0);
        Services::drag(panel.controlAt(kV0MaxDrag), 500);
        EXPECT_DOUBLE_EQ(maximum.number, 1.0);
        return kCancel;
    });
}

TEST_F(PanelTest, AgeDragsMeasureFromTheValueAtTheStartOfTheDrag) {
    instance->AgeMin = 10;
    instance->AgeMax = 50;
    openOptions([](RecordedPanel &panel) {
        RecordedControl &minimum = panel.controlAt(kAgeMin);
        RecordedControl &drag = panel.controlAt(kAgeMinDrag);
        Services::drag(drag, 1);
        EXPECT_EQ(minimum.integer, 10);
        Services::drag(drag, 20);
        EXPECT_EQ(minimum.integer, 0);
        Services::drag(drag, -20);
        EXPECT_EQ(minimum.integer, 20);
        Services::drag(drag, -100);
        EXPECT_EQ(minimum.integer, 50);
        // A new drag: -3 halves to -1, which re-anchors at the shown 30, and
        // the value becomes anchor + 1, clamped to the maximum.
        Services::setInteger(minimum, 30);
        Services::drag(drag, -3);
        EXPECT_EQ(minimum.integer, 31);
        Services::drag(drag, 10);
        EXPECT_EQ(minimum.integer, 25);
        return kCancel;
    });
    EXPECT_EQ(instance->AgeMin, 10);
}

TEST_F(PanelTest, AgeMaxDragClampsToTheMinimumAndSurvivesExtremeMeasures) {
    instance->AgeMin = 10;
    instance->AgeMax = 50;
    openOptions([](RecordedPanel &panel) {
        RecordedControl &maximum = panel.controlAt(kAgeMax);
        RecordedControl &drag = panel.controlAt(kAgeMaxDrag);
        Services::drag(drag, 0);
        Services::drag(drag, 60);
        EXPECT_EQ(maximum.integer, 20);
        Services::drag(drag, 200);
        EXPECT_EQ(maximum.integer, 10);
        // Far beyond the integer range the value saturates instead of wrapping.
        Services::setInteger(maximum, 2147483000);
        Services::drag(drag, 0);
        Services::drag(drag, INT32_MIN);
        EXPECT_EQ(maximum.integer, INT32_MAX);
        Services::drag(panel.controlAt(kAgeMinDrag), 0);
        Services::drag(panel.controlAt(kAgeMinDrag), INT32_MAX);
        EXPECT_EQ(panel.controlAt(kAgeMin).integer, 0);
        return kCancel;
    });
}

TEST_F(PanelTest, AnotherInterfaceVersionIsRefusedWithoutAPanel) {
    EXPECT_EQ(openOptionsPanel(2, &PanelFakeHost::global, &*instance), 1);
    EXPECT_TRUE(services.panels.empty());
    EXPECT_TRUE(host.errors().empty());
    for (const Particle &particle : instance.particles) EXPECT_EQ(particle.lifetime, 0);
}

TEST_F(PanelTest, MissingPanelServicesAreReported) {
    host.panelServicesMissing = true;
    EXPECT_EQ(openOptionsPanel(1, &PanelFakeHost::global, &*instance), 2);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Unable to active global LWPanelServices");
    EXPECT_EQ(host.errors()[0].second, " please add plugin lwpanels.p");
}

TEST_F(PanelTest, APanelThatCannotBeCreatedIsReported) {
    services.failPanelCreation = true;
    EXPECT_EQ(openOptionsPanel(1, &PanelFakeHost::global, &*instance), 2);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Duoooh!:"), std::string("Unable to create panel")));
    for (const Particle &particle : instance.particles) EXPECT_EQ(particle.lifetime, 0);
}

TEST_F(PanelTest, AControlThatCannotBeCreatedDestroysThePanelAndStops) {
    for (int32_t failing : {0, 9, 19}) {
        SCOPED_TRACE(failing);
        services.failControlAt = failing;
        host.clearErrors();
        EXPECT_EQ(openOptionsPanel(1, &PanelFakeHost::global, &*instance), 2);
        RecordedPanel &panel = services.lastPanel();
        EXPECT_EQ(panel.controls.size(), static_cast<std::size_t>(failing));
        EXPECT_TRUE(panel.destroyed);
        EXPECT_EQ(panel.openFlags, -1);
        ASSERT_EQ(host.errors().size(), 1u);
        EXPECT_EQ(host.errors()[0].first, "Duoooh!:");
        EXPECT_EQ(host.errors()[0].second, "Unable to create panel");
    }
    for (const Particle &particle : instance.particles) EXPECT_EQ(particle.lifetime, 0);
}

TEST_F(PanelTest, ALongObjectsDirectoryIsCutToItsBuffers) {
    host.directories[PLOF_DIRECTORY_OBJECTS] = std::string(400, 'o');
    openOptions([](RecordedPanel &panel) {
        EXPECT_EQ(panel.control("S").text, std::string(255, 'o'));
        const auto &context = *static_cast<OptionsPanelContext *>(panel.userData);
        EXPECT_EQ(std::string(context.objectsDir.data()), std::string(255, 'o'));
        return kCancel;
    });
}

TEST(RegistanceSlider, ShowsTwentyTimesRegistTruncatedAndSaturated) {
    EXPECT_EQ(registanceSliderPosition(0.37), 7);
    EXPECT_EQ(registanceSliderPosition(-0.37), -7);
    EXPECT_EQ(registanceSliderPosition(5.0), 100);
    EXPECT_EQ(registanceSliderPosition(1e300), INT32_MAX);
    EXPECT_DOUBLE_EQ(registFromSliderPosition(7), 0.35);
}

}  // namespace
}  // namespace plof::test
