#include "panel/spread_preview.h"

#include <gtest/gtest.h>

#include "panel/panel_fixture.h"

namespace plof::test {
namespace {

class SpreadPreviewTest : public PanelTest {
protected:
    // Opens the options panel, sets the sliders, fires the slider's event and
    // hands the panel's pixels to `check`.
    void drawWith(int32_t smin, int32_t smax, std::function<void(RecordedPanel &)> check) {
        openOptions([&](RecordedPanel &panel) {
            panel.pixels.clear();
            panel.pixelWrites = 0;
            RecordingPanelServices::setInteger(panel.control("Spread Min"), smin);
            RecordingPanelServices::setInteger(panel.control("Spread Max"), smax);
            RecordingPanelServices::press(panel.control("Spread Max"));
            check(panel);
            return kCancel;
        });
    }
};

TEST_F(SpreadPreviewTest, UpperRightQuarter) {
    drawWith(0, 90, [](RecordedPanel &panel) {
        EXPECT_EQ(panel.pixelWrites, 520);
        EXPECT_EQ(panel.pixels.size(), 520u);
        EXPECT_EQ(panel.countPixels(kSpreadColour), 234);
        EXPECT_EQ(panel.countPixels(kOtherColour), 520 - 234);
        EXPECT_EQ(panel.pixels.at({360, 119}), kSpreadColour);
        EXPECT_EQ(panel.pixels.at({360, 129}), kOtherColour);
    });
}

TEST_F(SpreadPreviewTest, FullHalfDiscLeavesTheLeftColumnOut) {
    drawWith(0, 180, [](RecordedPanel &panel) {
        EXPECT_EQ(panel.countPixels(kSpreadColour), 485);
        for (int32_t y = 107; y <= 142; ++y) {
            auto found = panel.pixels.find({350, y});
            if (found != panel.pixels.end()) {
                EXPECT_EQ(found->second, kOtherColour) << "y " << y;
            }
        }
    });
}

TEST_F(SpreadPreviewTest, BandBetweenThirtyAndSixtyDegrees) {
    drawWith(30, 60, [](RecordedPanel &panel) {
        EXPECT_EQ(panel.countPixels(kSpreadColour), 75);
        EXPECT_EQ(panel.pixels.at({360, 114}), kSpreadColour);
        EXPECT_EQ(panel.pixels.at({360, 122}), kOtherColour);
    });
}

TEST_F(SpreadPreviewTest, EmptyOrReversedBandHasNoSpreadPixel) {
    for (auto [smin, smax] : {std::pair{45, 45}, std::pair{120, 30}}) {
        drawWith(smin, smax, [](RecordedPanel &panel) {
            EXPECT_EQ(panel.countPixels(kSpreadColour), 0);
            EXPECT_EQ(panel.countPixels(kOtherColour), 520);
        });
    }
}

TEST_F(SpreadPreviewTest, StaysInsideTheHalfDiscBox) {
    drawWith(10, 170, [](RecordedPanel &panel) {
        for (const auto &[place, colour] : panel.pixels) {
            EXPECT_GE(place.first, 350);
            EXPECT_LE(place.first, 367);
            EXPECT_GE(place.second, 107);
            EXPECT_LE(place.second, 142);
        }
        EXPECT_EQ(panel.pixels.count({367, 124}), 1u);  // j 17 on the centre row
        EXPECT_EQ(panel.pixels.count({367, 107}), 0u);  // a corner outside the disc
    });
}

TEST_F(SpreadPreviewTest, SlidersOutsideTheirRangeStillDrawEveryPosition) {
    drawWith(INT32_MIN, INT32_MAX, [](RecordedPanel &panel) { EXPECT_EQ(panel.pixelWrites, 520); });
}

TEST_F(SpreadPreviewTest, ThePanelDrawsThePreviewWhenItOpens) {
    instance->SpreadMin = 0;
    instance->SpreadMax = 90;
    openOptions([](RecordedPanel &panel) {
        EXPECT_EQ(panel.countPixels(kSpreadColour), 234);
        return kCancel;
    });
}

}  // namespace
}  // namespace plof::test
