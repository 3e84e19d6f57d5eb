// plof-host render: where the particles are drawn, the GIF's frames and
// delays, the same bytes every time, and the command line's errors.
#include <cmath>

#include "host_run.h"

#if __has_include(<cairo.h>) && __has_include(<gif_lib.h>)
#include <cairo.h>
#include <gif_lib.h>

namespace plof::e2e {
namespace {

struct Pixel {
    int r, g, b;
};

Pixel pixelAt(cairo_surface_t *image, int x, int y) {
    const unsigned char *row = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    const uint32_t value = reinterpret_cast<const uint32_t *>(row)[x];
    return {static_cast<int>(value >> 16 & 0xFF), static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value & 0xFF)};
}

// Three points at speed 2 straight up, no gravity, born at frames 0, 1, 2:
// at frame 29 they are 2 x (29 - i) / 30 above the pivot. Front view,
// 160 x 120: the box of the flights (0 .. 1.9333 high, 10% of that wide) is
// padded by 5% of its height on every side and fills the height less a
// 7.2-pixel margin at each edge: 96 pixels per 1.9333 units, the pivot at
// row 107.5 and the highest point at row 11.5, all in column 79.5.
TEST(RenderCommandTest, ParticlesAreDrawnWhereTheirPositionsProject) {
    TempDirectory directory;
    Settings settings;
    settings.Gravity = 0;
    directory.write("s.plf", settings.text());
    const HostRun run = runHost(
        "render --object builtin:line:3 --settings s.plf --frames 0..29 --view front --size 160x120 --out a.png",
        directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    cairo_surface_t *image = cairo_image_surface_create_from_png((directory / "a.png").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 160);
    EXPECT_EQ(cairo_image_surface_get_height(image), 120);
    const double top = 2.0 * 29 / 30;
    for (int i = 0; i < 3; ++i) {
        const double row = 107.5 - 96.0 * (2.0 * (29 - i) / 30) / top;
        const Pixel p = pixelAt(image, 80, static_cast<int>(std::lround(row)));
        SCOPED_TRACE(i);
        EXPECT_EQ(p.r, 255);  // the bright colour of a point in flight
        EXPECT_EQ(p.g, 184);
        EXPECT_EQ(p.b, 64);
    }
    // Nothing beside the column, the top margin is empty, the pivot is marked.
    const Pixel beside = pixelAt(image, 100, 40);
    EXPECT_LT(beside.r + beside.g + beside.b, 90);
    const Pixel above = pixelAt(image, 80, 4);
    EXPECT_LT(above.r + above.g + above.b, 90);
    const Pixel pivot = pixelAt(image, 80, 111);  // the green cross below the pivot, over columns 79 and 80
    EXPECT_GT(pivot.g, 120);
    EXPECT_GT(pivot.g, 2 * pivot.r);
    cairo_surface_destroy(image);
}

TEST(RenderCommandTest, AnAnimationHasAFramePerFrameAtTheFrameRateAndTheSameBytesEachTime) {
    TempDirectory directory;
    Settings settings;
    settings.SpreadMax = 40;
    directory.write("s.plf", settings.text());
    const std::string command = "render --object builtin:grid:4x4 --settings s.plf --frames 5..34 --size 96x64";
    ASSERT_EQ(runHost(command + " --out a.gif", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(command + " --out b.gif", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(command + " --out a.png", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(command + " --out b.png", directory).exitCode, kExitOk);
    EXPECT_EQ(fileText(directory / "a.gif"), fileText(directory / "b.gif"));
    EXPECT_EQ(fileText(directory / "a.png"), fileText(directory / "b.png"));

    int error = 0;
    GifFileType *gif = DGifOpenFileName((directory / "a.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, 96);
    EXPECT_EQ(gif->SHeight, 64);
    ASSERT_EQ(gif->ImageCount, 30);
    std::vector<int> delays;
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK);
        delays.push_back(control.DelayTime);
    }
    // 30 frames per second in hundredths: 3, 4, 3, ... one second in all.
    EXPECT_EQ(std::vector<int>(delays.begin(), delays.begin() + 6), (std::vector<int>{3, 4, 3, 3, 4, 3}));
    int total = 0;
    for (int delay : delays) total += delay;
    EXPECT_EQ(total, 100);
    DGifCloseFile(gif, &error);

    // At 10 frames per second every frame lasts a tenth.
    ASSERT_EQ(runHost(command + " --fps 10 --out c.gif", directory).exitCode, kExitOk);
    gif = DGifOpenFileName((directory / "c.gif").c_str(), &error);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    GraphicsControlBlock control;
    DGifSavedExtensionToGCB(gif, 7, &control);
    EXPECT_EQ(control.DelayTime, 10);
    DGifCloseFile(gif, &error);
}

// --trail 0 draws the points alone (halfway down the flights of
// ParticlesAreDrawnWhereTheirPositionsProject a trail is drawn by default);
// --camera 35,28 is the perspective view, another aim another picture.
TEST(RenderCommandTest, TrailsAndCameraAreTheArtistsChoice) {
    TempDirectory directory;
    Settings settings;
    settings.Gravity = 0;
    directory.write("s.plf", settings.text());
    const std::string render = "render --object builtin:line:3 --settings s.plf --frames 0..29 --size 160x120 ";
    for (const char *trail : {"", "--trail 0 "}) {
        ASSERT_EQ(runHost(render + "--view front --out a.png " + trail, directory).exitCode, kExitOk);
        cairo_surface_t *image = cairo_image_surface_create_from_png((directory / "a.png").c_str());
        EXPECT_EQ(pixelAt(image, 80, 11).g, 184) << trail;                  // the highest point, framed alike
        EXPECT_EQ(pixelAt(image, 80, 60).r > 60, *trail == '\0') << trail;  // the background's red is 18
        cairo_surface_destroy(image);
    }
    ASSERT_EQ(runHost(render + "--out view.png", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(render + "--camera 35,28 --out aim.png", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(render + "--camera 120,10,4 --out other.png", directory).exitCode, kExitOk);
    EXPECT_EQ(fileText(directory / "aim.png"), fileText(directory / "view.png"));
    EXPECT_NE(fileText(directory / "other.png"), fileText(directory / "view.png"));
}

// Two items with the effect: the second in its own colour, both named in a legend.
TEST(RenderCommandTest, ItemsWithTheEffectAreToldApartByColourAndNamed) {
    TempDirectory directory;
    const std::string block = "Plugin DisplacementHandler 1 PLOF!\n" + Settings{}.text() + "EndPlugin\n";
    directory.write("two.lws",
                    "LWSC\n1\n\nLoadObject builtin:line:20\n" + block + "\nLoadObject builtin:sphere:20\n" + block);
    ASSERT_EQ(runHost("render two.lws --frames 0..29 --view front --out two.png", directory).exitCode, kExitOk);
    cairo_surface_t *image = cairo_image_surface_create_from_png((directory / "two.png").c_str());
    int amber = 0, pink = 0, legend = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const Pixel p = pixelAt(image, x, y);
            amber += p.r == 255 && p.g == 184 && p.b == 64;
            pink += p.r == 242 && p.g == 107 && p.b == std::lround(0.9f * 255.0f);  // (0.95, 0.42, 0.9)
            legend += x < 120 && y < 40 && p.r == 217 && p.g == 217 && p.b == 217;  // the names' letters
        }
    }
    EXPECT_GT(amber, 20);
    EXPECT_GT(pink, 20);
    EXPECT_GT(legend, 40);
    cairo_surface_destroy(image);
}

TEST(RenderCommandTest, WrongPicturesAreUsageErrors) {
    TempDirectory directory;
    directory.write("s.plf", Settings().text());
    const std::string command = "render --object builtin:line:2 --settings s.plf";
    for (const std::string &flags :
         {std::string(" --out a.jpg"), std::string(""), std::string(" --out a.png --view sideways"),
          std::string(" --out a.png --size 10x10"), std::string(" --out a.png --size 64"),
          std::string(" --out a.png --camera 35,91"), std::string(" --out a.png --camera 35,28,0.5"),
          std::string(" --out a.png --camera 35,28 --view top"), std::string(" --out a.png --trail -1")}) {
        const HostRun run = runHost(command + flags, directory);
        EXPECT_EQ(run.exitCode, kExitUsage) << flags << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(directory / "a.png"));
}

// An item carrying the effect without points, with OrgEmit on, rests at its
// pivot; a scene far from the origin is drawn in bounded time.
TEST(RenderCommandTest, PointlessEmittersAndFarScenesAreDrawn) {
    TempDirectory directory;
    Settings radial;
    radial.OrgEmit = 1;
    directory.write("s.plf", radial.text());
    directory.write("none.obj", "f 1 2 3\n");
    directory.write("null.lws",
                    "LWSC\n1\n\nFirstFrame 0\nLastFrame 9\n\nAddNullObject Spark\n"
                    "Plugin DisplacementHandler 1 PLOF!\n" +
                        radial.text() +
                        "EndPlugin\n"
                        "\nLoadObject gone.lwo\nPlugin DisplacementHandler 1 PLOF!\n" +
                        radial.text() + "EndPlugin\n");
    for (const std::string inputs : {"--object none.obj --settings s.plf", "null.lws",
                                     "--object builtin:line:3 --settings s.plf --motion '0:0,0,1e15'",
                                     "--object builtin:line:3 --settings s.plf --motion '0:1e150,0,-1e150'"}) {
        std::filesystem::remove(directory.path() / "a.png");
        const HostRun run = runHost("render " + inputs + " --frames 0..9 --size 64x48 --out a.png", directory);
        EXPECT_EQ(run.exitCode, 0) << inputs << ": " << run.err;
        EXPECT_TRUE(std::filesystem::exists(directory.path() / "a.png")) << inputs;
    }
}

}  // namespace
}  // namespace plof::e2e
#endif
