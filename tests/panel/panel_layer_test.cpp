#include "panel/panel_layer.h"

#include <gtest/gtest.h>

#include "support/recording_panel_services.h"

namespace plof::test {
namespace {

class PanelLayerTest : public ::testing::Test {
protected:
    void SetUp() override { panel = services.record().createPanel("layout", &services.record()); }

    RecordedControl &add(const char *label) {
        const ControlDescription description = describeControl(2);
        PlofControl control = services.record().addControl(panel, "NumControl", &description, label);
        return *reinterpret_cast<RecordedControl *>(control);
    }

    RecordingPanelServices services;
    PlofPanel panel = nullptr;
};

TEST_F(PanelLayerTest, PlacesTheDataFieldAtTheColumnWithTheLabelToItsLeft) {
    services.labelWidths["zero"] = 0;
    services.labelWidths["sixty"] = 60;
    RecordedControl &narrow = add("zero");
    RecordedControl &wide = add("sixty");
    placeControl(services.record(), narrow.handle(), 170, 2);
    placeControl(services.record(), wide.handle(), 100, 11);
    EXPECT_EQ(narrow.x, 170);
    EXPECT_EQ(narrow.y, 40);
    EXPECT_EQ(wide.x, 40);
    EXPECT_EQ(wide.y, 220);
    // x before y, and nothing else is set by placing.
    EXPECT_EQ(wide.attributeOrder, (std::vector<int32_t>{PLOF_CONTROL_X, PLOF_CONTROL_Y}));
}

TEST_F(PanelLayerTest, ExtremeLabelWidthsAndRowsSaturateInsteadOfOverflowing) {
    services.labelWidths["huge"] = INT32_MAX;
    RecordedControl &control = add("huge");
    placeControl(services.record(), control.handle(), -10, INT32_MAX);
    EXPECT_EQ(control.x, INT32_MIN);
    EXPECT_EQ(control.y, INT32_MAX);
}

TEST_F(PanelLayerTest, PanelRowsAreTwentySixPixels) {
    setPanelRows(services.record(), panel, 13);
    EXPECT_EQ(services.lastPanel().height, 338);
}

TEST_F(PanelLayerTest, ValuesTravelThroughTheRecordOfTheirType) {
    RecordedControl &control = add("value");
    setIntegerValue(services.record(), control.handle(), -42);
    EXPECT_EQ(control.valueType, PLOF_VALUE_INTEGER);
    EXPECT_EQ(getIntegerValue(services.record(), control.handle()), -42);

    setFloatValue(services.record(), control.handle(), 2.75);
    EXPECT_EQ(control.valueType, PLOF_VALUE_FLOAT);
    EXPECT_DOUBLE_EQ(getFloatValue(services.record(), control.handle()), 2.75);

    setFloatVectorValue(services.record(), control.handle(), {1.5, -2.0, 3.25});
    EXPECT_EQ(control.valueType, PLOF_VALUE_FLOAT_VECTOR);
    EXPECT_EQ(getFloatVectorValue(services.record(), control.handle()), (Vec3{1.5, -2.0, 3.25}));

    control.integers = {4, -5, 6};
    EXPECT_EQ(getIntVectorValue(services.record(), control.handle()), (std::array<int32_t, 3>{4, -5, 6}));

    setTextValue(services.record(), control.handle(), "abc");
    EXPECT_EQ(control.valueType, PLOF_VALUE_TEXT);
    EXPECT_EQ(control.text, "abc");
}

TEST_F(PanelLayerTest, ReadingATextNeverOverrunsTheBuffer) {
    RecordedControl &control = add("text");
    control.text = "0123456789";
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    getTextValue(services.record(), control.handle(), buffer, 5);
    EXPECT_STREQ(buffer, "0123");
    EXPECT_EQ(buffer[5], 'x');
}

}  // namespace
}  // namespace plof::test
