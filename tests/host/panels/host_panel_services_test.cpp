// The stand-in host's "LWPanelServices" as the module calls it: value
// records, attribute codes, placement by label width, the draw callback and
// the pixel canvas.
#include "host/panels/host_panel_services.h"
#include "host/module/service_registry.h"
#include "host/panels/panel_layout.h"
#include "host/run/host_process.h"
#include "plof/host_services.h"

#include <gtest/gtest.h>

#include <cstring>

namespace plof::host {
namespace {

class PanelServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        providePanelServices();
        services = static_cast<PlofPanelServices *>(globalServiceFunction()(PLOF_SERVICE_PANELS, 0));
        ASSERT_NE(services, nullptr);
        panel = services->createPanel("Test  panel", services);
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override {
        services->destroyPanel(panel);
        services->userData = nullptr;
        EXPECT_EQ(livePanelCount(), 0);
    }

    PlofControl add(const char *kind, const char *label, PlofControlDescription description = {}) {
        return services->addControl(panel, kind, &description, label);
    }
    intptr_t getInteger(PlofControl control, int32_t code) {
        PlofControlValue value{};
        value.type = PLOF_VALUE_INTEGER;
        services->getControlAttribute(control, code, &value);
        return value.value.integer;
    }
    void setInteger(PlofControl control, int32_t code, intptr_t integer) {
        PlofControlValue value{};
        value.type = PLOF_VALUE_INTEGER;
        value.value.integer = integer;
        services->setControlAttribute(control, code, &value);
    }
    // What the module's placeControl does: the data field starts at the column.
    void place(PlofControl control, int32_t column, int32_t row) {
        setInteger(control, PLOF_CONTROL_X, column - getInteger(control, PLOF_CONTROL_LABEL_WIDTH));
        setInteger(control, PLOF_CONTROL_Y, 20 * row);
    }

    HostProcess process;
    PlofPanelServices *services = nullptr;
    PlofPanel panel = nullptr;
};

TEST_F(PanelServicesTest, LabelWidthIsSevenPixelsPerCharacterPlusAGapAndPlacesTheFieldAtTheColumn) {
    PlofControl empty = add("DragButtonControl", "", {19, {0, -1}});
    PlofControl age = add("NumControl", " Age Min frame ", {2, {}});
    PlofControl button = add("ButtonControl", "    CreateScene   ", {2, {}});
    ASSERT_TRUE(empty && age && button);
    EXPECT_EQ(getInteger(empty, PLOF_CONTROL_LABEL_WIDTH), 0);
    EXPECT_EQ(getInteger(age, PLOF_CONTROL_LABEL_WIDTH), 15 * 7 + 6);
    // A button's label is written on the button, so it takes no room beside it.
    EXPECT_EQ(getInteger(button, PLOF_CONTROL_LABEL_WIDTH), 0);

    place(empty, 170, 2);
    EXPECT_EQ(getInteger(empty, PLOF_CONTROL_X), 170);
    EXPECT_EQ(getInteger(empty, PLOF_CONTROL_Y), 40);
    place(age, 100, 11);
    EXPECT_EQ(getInteger(age, PLOF_CONTROL_X), 100 - 111);
    EXPECT_EQ(getInteger(age, PLOF_CONTROL_Y), 220);

    // The label width is read only.
    setInteger(age, PLOF_CONTROL_LABEL_WIDTH, 3);
    EXPECT_EQ(getInteger(age, PLOF_CONTROL_LABEL_WIDTH), 111);
}

TEST_F(PanelServicesTest, UnknownKindOrPanelGivesNoControl) {
    EXPECT_EQ(add("KnobControl", "x"), nullptr);
    EXPECT_EQ(services->addControl(panel, nullptr, nullptr, "x"), nullptr);
    PlofControlDescription description{};
    EXPECT_EQ(services->addControl(nullptr, "NumControl", &description, "x"), nullptr);
}

TEST_F(PanelServicesTest, ValuesTravelInTheRecordTypeAsked) {
    PlofControl number = add("NumControl", "n");
    PlofControl real = add("FloatControl", "f");
    PlofControl vector = add("FVecControl", "v", {6, {}});
    PlofControl drag = add("DragButtonControl", "", {19, {0, -1}});
    PlofControl file = add("FileControl", "ScneName   ", {1, {30}});

    setInteger(number, PLOF_CONTROL_VALUE, -42);
    EXPECT_EQ(getInteger(number, PLOF_CONTROL_VALUE), -42);

    PlofControlValue value{};
    value.type = PLOF_VALUE_FLOAT;
    value.value.number = -2.75;
    services->setControlAttribute(real, PLOF_CONTROL_VALUE, &value);
    value.value.number = 0.0;
    services->getControlAttribute(real, PLOF_CONTROL_VALUE, &value);
    EXPECT_EQ(value.value.number, -2.75);
    // Read as an integer, a float is truncated toward zero and saturates.
    EXPECT_EQ(getInteger(real, PLOF_CONTROL_VALUE), -2);
    value.value.number = 1e30;
    services->setControlAttribute(real, PLOF_CONTROL_VALUE, &value);
    EXPECT_EQ(getInteger(real, PLOF_CONTROL_VALUE), INT32_MAX);

    PlofControlValue triple{};
    triple.type = PLOF_VALUE_FLOAT_VECTOR;
    triple.value.numbers[0] = 1.5;
    triple.value.numbers[1] = -2.0;
    triple.value.numbers[2] = 360.25;
    services->setControlAttribute(vector, PLOF_CONTROL_VALUE, &triple);
    PlofControlValue back{};
    back.type = PLOF_VALUE_FLOAT_VECTOR;
    services->getControlAttribute(vector, PLOF_CONTROL_VALUE, &back);
    EXPECT_EQ(back.value.numbers[0], 1.5);
    EXPECT_EQ(back.value.numbers[1], -2.0);
    EXPECT_EQ(back.value.numbers[2], 360.25);

    PlofControlValue ints{};
    ints.type = PLOF_VALUE_INT_VECTOR;
    ints.value.integers[1] = -150;
    services->setControlAttribute(drag, PLOF_CONTROL_VALUE, &ints);
    ints.value.integers[1] = 0;
    services->getControlAttribute(drag, PLOF_CONTROL_VALUE, &ints);
    EXPECT_EQ(ints.value.integers[1], -150);

    // Text: set with its length, read back cut to the buffer's capacity.
    char path[] = "/scenes/PLOF.lws";
    PlofControlValue text{};
    text.type = PLOF_VALUE_TEXT;
    text.value.text.buffer = path;
    text.value.text.length = static_cast<int32_t>(std::strlen(path));
    services->setControlAttribute(file, PLOF_CONTROL_VALUE, &text);
    char small[8];
    std::memset(small, 'x', sizeof small);
    text.value.text.buffer = small;
    text.value.text.length = sizeof small;
    services->getControlAttribute(file, PLOF_CONTROL_VALUE, &text);
    EXPECT_STREQ(small, "/scenes");
    char large[64];
    text.value.text.buffer = large;
    text.value.text.length = sizeof large;
    services->getControlAttribute(file, PLOF_CONTROL_VALUE, &text);
    EXPECT_STREQ(large, "/scenes/PLOF.lws");
}

TEST_F(PanelServicesTest, SliderKeepsWhatTheModuleSetsOutsideItsRange) {
    PlofControl slider = add("SliderControl", "Registance", {15, {200, 0, 100}});
    setInteger(slider, PLOF_CONTROL_VALUE, 140);
    EXPECT_EQ(getInteger(slider, PLOF_CONTROL_VALUE), 140);
}

struct EventLog {
    int calls = 0;
    PlofControl control = nullptr;
    void *data = nullptr;
};

void recordEvent(PlofControl control, void *data) {
    auto *log = static_cast<EventLog *>(data);
    ++log->calls;
    log->control = control;
    log->data = data;
}

struct DrawLog {
    int calls = 0;
    PlofPanel panel = nullptr;
};

void recordDraw(PlofPanel panel, void *data, int32_t) {
    auto *log = static_cast<DrawLog *>(data);
    ++log->calls;
    log->panel = panel;
}

TEST_F(PanelServicesTest, EventAndUserDataAttributesRoundTrip) {
    PlofControl button = add("ButtonControl", "S");
    EventLog log;
    setInteger(button, PLOF_CONTROL_EVENT, reinterpret_cast<intptr_t>(&recordEvent));
    setInteger(button, PLOF_CONTROL_USER_DATA, reinterpret_cast<intptr_t>(&log));
    EXPECT_EQ(getInteger(button, PLOF_CONTROL_EVENT), reinterpret_cast<intptr_t>(&recordEvent));
    EXPECT_EQ(getInteger(button, PLOF_CONTROL_USER_DATA), reinterpret_cast<intptr_t>(&log));
}

TEST_F(PanelServicesTest, OpeningWithoutADriverDrawsOnceAndCancels) {
    DrawLog log;
    int32_t height = 338;
    services->setPanelAttribute(panel, PLOF_PANEL_HEIGHT, &height);
    services->setPanelAttribute(panel, PLOF_PANEL_DRAW, reinterpret_cast<void *>(&recordDraw));
    services->setPanelAttribute(panel, PLOF_PANEL_USER_DATA, &log);
    EXPECT_EQ(services->openPanel(panel, PLOF_OPEN_FLAGS), 0);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.panel, panel);
    EXPECT_EQ(panelHeight(*panel), 338);
}

TEST_F(PanelServicesTest, PanelSizeCoversControlsAndPixelsWhenUnset) {
    PlofControl slider = add("SliderControl", "Spread Min", {15, {180, 0, 180}});
    place(slider, 100, 6);
    // No height set: the bottom control plus a margin.
    EXPECT_EQ(panelHeight(*panel), 120 + 18 + 10);
    // Track 180 plus 40 for the value, from the column 100.
    EXPECT_EQ(panelWidth(*panel), 100 + 220 + 10);
    services->drawPixel(panel, 4107, 500, 3);
    EXPECT_EQ(panelWidth(*panel), 501 + 10);
    EXPECT_EQ((panel->pixels[{500, 3}]), 4107);
    services->drawPixel(panel, 4099, 500, 3);
    EXPECT_EQ((panel->pixels[{500, 3}]), 4099);
}

int32_t listCount(void *data) { return *static_cast<int32_t *>(data); }
const char *listName(void *, int32_t index) { return index == 0 ? "none" : nullptr; }

TEST_F(PanelServicesTest, ListBoxKeepsTheUserDataWordAsItWasWhenAdded) {
    int32_t count = 1;
    int32_t other = 7;
    services->userData = &count;
    PlofControlDescription description{
        18, {200, 5, 0, reinterpret_cast<intptr_t>(&listCount), reinterpret_cast<intptr_t>(&listName)}};
    PlofControl list = add("ListBoxControl", "Obj List", description);
    ASSERT_NE(list, nullptr);
    services->userData = &other;
    EXPECT_EQ(list->listData, &count);
    EXPECT_EQ(fieldBox(*list).height, 5 * 16);
}

TEST_F(PanelServicesTest, StaleHandlesAreIgnored) {
    PlofPanel second = services->createPanel("second", services);
    services->destroyPanel(second);
    // Neither a destroyed nor a null panel is followed.
    services->destroyPanel(second);
    services->drawPixel(second, 4107, 1, 1);
    EXPECT_EQ(services->openPanel(second, PLOF_OPEN_FLAGS), 0);
    EXPECT_EQ(livePanelCount(), 1);
}

}  // namespace
}  // namespace plof::host
