// Panel pictures: the PNG has the panel's size and carries the module's
// pixels in the host's colours.
#include "host/panels/panel_snapshot.h"
#include "host/module/service_registry.h"
#include "host/panels/host_colours.h"
#include "host/panels/host_panel_services.h"
#include "host/panels/panel_layout.h"
#include "host/run/host_process.h"
#include "plof/host_services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#if __has_include(<cairo.h>)
#include <cairo.h>
#define PLOF_TEST_READS_PNG 1
#endif

namespace plof::host {
namespace {

int colourDistance(uint32_t a, uint32_t b) {
    int total = 0;
    for (int shift : {0, 8, 16})
        total += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return total;
}

TEST(HostColours, SpreadColoursAreClearlyApart) {
    EXPECT_GT(colourDistance(hostColourRgb(4107), hostColourRgb(4099)), 300);
    EXPECT_GT(colourDistance(hostColourRgb(4107), 0xC7C7CC), 150);  // against the background
    EXPECT_GT(colourDistance(hostColourRgb(4099), 0xC7C7CC), 150);
}

class PanelSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        providePanelServices();
        services = &panelServices();
        panel = services->createPanel("PLOF!  ver.1.95", services);
        PlofControlDescription slider{15, {180, 0, 180}};
        PlofControl control = services->addControl(panel, "SliderControl", &slider, "Spread Min");
        PlofControlValue value{};
        value.type = PLOF_VALUE_INTEGER;
        value.value.integer = 100 - 70;
        services->setControlAttribute(control, PLOF_CONTROL_X, &value);
        value.value.integer = 100;
        services->setControlAttribute(control, PLOF_CONTROL_Y, &value);
        int32_t height = 338;
        services->setPanelAttribute(panel, PLOF_PANEL_HEIGHT, &height);
        // A little band of both colours where the preview goes.
        for (int32_t y = 110; y < 140; ++y) {
            for (int32_t x = 350; x < 368; ++x) services->drawPixel(panel, x > 358 ? 4107 : 4099, x, y);
        }
        path = (std::filesystem::temp_directory_path() /
                ("plof_snapshot_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".png"))
                   .string();
    }
    void TearDown() override {
        services->destroyPanel(panel);
        std::filesystem::remove(path);
    }
    HostProcess process;
    PlofPanelServices *services = nullptr;
    PlofPanel panel = nullptr;
    std::string path;
};

TEST_F(PanelSnapshotTest, PictureHasThePanelsSizeAndItsPixels) {
    std::string problem;
    if (!snapshotAvailable()) {
        EXPECT_FALSE(writePanelSnapshot(*panel, path, problem));
        EXPECT_NE(problem.find("not available in this build"), std::string::npos) << problem;
        return;
    }
    ASSERT_TRUE(writePanelSnapshot(*panel, path, problem)) << problem;
#ifdef PLOF_TEST_READS_PNG
    cairo_surface_t *image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), panelWidth(*panel));
    EXPECT_EQ(cairo_image_surface_get_height(image), 338);
    const unsigned char *data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto rgb = [&](int x, int y) { return *reinterpret_cast<const uint32_t *>(data + y * stride + x * 4) & 0xFFFFFFu; };
    int spread = 0, outside = 0;
    for (int y = 110; y < 140; ++y) {
        for (int x = 350; x < 368; ++x) {
            const uint32_t colour = rgb(x, y);
            spread += colour == hostColourRgb(4107);
            outside += colour == hostColourRgb(4099);
        }
    }
    EXPECT_EQ(spread, 30 * 9);
    EXPECT_EQ(outside, 30 * 9);
    // Around the drawn band is the panel, not a preview colour.
    EXPECT_NE(rgb(349, 120), hostColourRgb(4099));
    EXPECT_NE(rgb(368, 120), hostColourRgb(4107));
    cairo_surface_destroy(image);
#endif
}

TEST_F(PanelSnapshotTest, UnwritablePathIsReported) {
    std::string problem;
    EXPECT_FALSE(writePanelSnapshot(*panel, "/nonexistent/dir/panel.png", problem));
    EXPECT_EQ(problem.rfind("/nonexistent/dir/panel.png: ", 0), 0u) << problem;
}

}  // namespace
}  // namespace plof::host
