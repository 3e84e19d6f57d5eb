#include "host/objects/builtin_shapes.h"
#include "host/objects/lightwave_object.h"
#include "host/objects/object_file.h"
#include "host/objects/wavefront_object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "host/base/host_error.h"

namespace plof::host {
namespace {

void appendBigEndian(std::string &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::string chunk(const std::string &id, const std::string &data) {
    std::string out = id;
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    out += data;
    if (data.size() % 2) {
        out += '\0';
    }
    return out;
}

std::string pointsData(const std::vector<float> &values) {
    std::string out;
    for (float value : values) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        appendBigEndian(out, bits);
    }
    return out;
}

std::string form(const std::string &type, const std::string &chunks) {
    std::string out = "FORM";
    appendBigEndian(out, static_cast<uint32_t>(4 + chunks.size()));
    return out + type + chunks;
}

std::string errorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const InputError &error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ObjectPointsTest, LightWaveObjectsGiveThePointsOfEveryPntsChunk) {
    // An odd-sized chunk before the points checks the padding rule.
    const std::string lwo2 =
        form("LWO2", chunk("TAGS", "abc") + chunk("LAYR", std::string(18, '\0')) +
                         chunk("PNTS", pointsData({1.5f, -2, 3, 0.25f, 0, -7})) + chunk("LAYR", std::string(18, '\0')) +
                         chunk("PNTS", pointsData({9, 8, 7})));
    EXPECT_EQ(parseLightWaveObject(lwo2, "a.lwo"), (std::vector<float>{1.5f, -2, 3, 0.25f, 0, -7, 9, 8, 7}));

    const std::string lwob = form("LWOB", chunk("PNTS", pointsData({4, 5, 6})) + chunk("SRFS", "Default\0"));
    EXPECT_EQ(parseLightWaveObject(lwob, "b.lwo"), (std::vector<float>{4, 5, 6}));
    EXPECT_TRUE(parseLightWaveObject(form("LWO2", chunk("TAGS", "x")), "c.lwo").empty());
}

TEST(ObjectPointsTest, DamagedLightWaveObjectsAreErrorsNamingTheFile) {
    const std::string good = form("LWO2", chunk("PNTS", pointsData({1, 2, 3, 4, 5, 6})));
    EXPECT_NE(
        errorOf([&] { parseLightWaveObject(good.substr(0, good.size() - 5), "cut.lwo"); }).find("cut.lwo: truncated"),
        std::string::npos);
    EXPECT_NE(errorOf([&] { parseLightWaveObject("FORM", "tiny.lwo"); }).find("tiny.lwo: not a LightWave object"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { parseLightWaveObject(form("ILBM", ""), "pic.lwo"); }).find("'ILBM' is not an LWOB or LWO2"),
              std::string::npos);
    // A chunk that claims more than the FORM holds.
    std::string overrun = form("LWO2", "PNTS");
    appendBigEndian(overrun, 1200);
    overrun.replace(4, 4, std::string("\0\0\0\x0c", 4));
    EXPECT_NE(errorOf([&] { parseLightWaveObject(overrun, "over.lwo"); }).find("chunk PNTS at byte 12 claims 1200"),
              std::string::npos);
    // A NUL or line feed in an identifier neither cuts nor splits the message.
    std::string strangeHeader("P\0T\n", 4);
    appendBigEndian(strangeHeader, 40);
    EXPECT_NE(errorOf([&] {
                  parseLightWaveObject(form("LWO2", strangeHeader), "nul.lwo");
              }).find("chunk P\\x00T\\n at byte 12 claims 40 bytes past the end"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { parseLightWaveObject(form("LW\nB", ""), "lf.lwo"); }).find("'LW\\nB' is not an LWOB"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  parseLightWaveObject(form("LWO2", chunk("PNTS", pointsData({1, 2}))), "odd.lwo");
              }).find("not a whole number of points"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  parseLightWaveObject(form("LWO2", chunk("PNTS", pointsData({1, NAN, 3}))), "nan.lwo");
              }).find("point 0 is not a finite number"),
              std::string::npos);
}

TEST(ObjectPointsTest, WavefrontObjectsGiveTheirVertexLines) {
    const std::string text = "# comment\r\nv 1 2 3\r\nvn 0 1 0\r\nvt 0.5 0.5\r\nv\t-4.5 5e-1 6 1.0\r\nf 1 2 3\r\n";
    EXPECT_EQ(parseWavefrontObject(text, "x.obj"), (std::vector<float>{1, 2, 3, -4.5f, 0.5f, 6}));
    EXPECT_NE(errorOf([] {
                  parseWavefrontObject("v 1 2 3\nv 1 two 3\n", "bad.obj");
              }).find("bad.obj: line 2: a vertex line needs three finite numbers"),
              std::string::npos);
    EXPECT_NE(errorOf([] { parseWavefrontObject("v 1 2\n", "short.obj"); }).find("short.obj: line 1"),
              std::string::npos);
    // A vertex line of a megabyte is quoted in part.
    const std::string quoted =
        errorOf([] { parseWavefrontObject("v 1 2 " + std::string(1'000'000, '3'), "long.obj"); });
    EXPECT_NE(quoted.find(std::string(74, '3') + "...\""), std::string::npos);
    EXPECT_LT(quoted.size(), 200u);
    EXPECT_NE(errorOf([] {
                  parseWavefrontObject(std::string("v 1 2 3\n\x7f\0\x01", 11), "bin.obj");
              }).find("bin.obj: line 2: binary data"),
              std::string::npos);
}

TEST(ObjectPointsTest, BuiltinShapes) {
    EXPECT_EQ(builtinShapePoints("builtin:line:3"), (std::vector<float>{0, 0, 0, 1, 0, 0, 2, 0, 0}));
    EXPECT_EQ(builtinShapePoints("builtin:grid:3x2"),
              (std::vector<float>{-1, 0, -0.5f, 0, 0, -0.5f, 1, 0, -0.5f, -1, 0, 0.5f, 0, 0, 0.5f, 1, 0, 0.5f}));
    const std::vector<float> sphere = builtinShapePoints("builtin:sphere:50");
    ASSERT_EQ(sphere.size(), 150u);
    for (std::size_t p = 0; p < sphere.size(); p += 3) {
        EXPECT_NEAR(std::hypot(sphere[p], sphere[p + 1], sphere[p + 2]), 1.0, 1e-6);
    }
    // A box's points fill the cube of side 1 evenly: about an eighth in each octant.
    const std::vector<float> box = builtinShapePoints("builtin:box:800");
    ASSERT_EQ(box.size(), 2400u);
    int octants[8] = {};
    for (std::size_t p = 0; p < box.size(); p += 3) {
        for (int c = 0; c < 3; ++c) ASSERT_TRUE(box[p + c] >= -0.5f && box[p + c] < 0.5f) << p;
        ++octants[(box[p] >= 0) + 2 * (box[p + 1] >= 0) + 4 * (box[p + 2] >= 0)];
    }
    for (int count : octants) EXPECT_NEAR(count, 100, 2);
    EXPECT_EQ(builtinShapeFor("Sphere.lwo"), "builtin:sphere:N");
    EXPECT_EQ(builtinShapeFor("box"), "builtin:box:N");
    EXPECT_EQ(builtinShapeFor("spout.lwo"), "");
    for (const char *bad :
         {"builtin:cube:3", "builtin:line:0", "builtin:line:x", "builtin:grid:3", "builtin:line:99999999999"}) {
        EXPECT_NE(errorOf([&] { builtinShapePoints(bad); }).find(std::string(bad) + ": "), std::string::npos) << bad;
    }
}

TEST(ObjectPointsTest, ItemNamesComeFromTheFileName) {
    EXPECT_EQ(objectItemName("objects/drop.lwo"), "drop");
    EXPECT_EQ(objectItemName("C:\\Objects\\Ball.LWO"), "Ball");
    EXPECT_EQ(objectItemName("none"), "none");
    EXPECT_EQ(objectItemName("builtin:grid:4x4"), "grid");
}

TEST(ObjectPointsTest, FilesAreReadByContentOrExtension) {
    const auto directory = std::filesystem::temp_directory_path() /
                           ("plof_object_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(directory);
    const auto write = [&](const std::string &name, const std::string &bytes) {
        std::ofstream((directory / name).string(), std::ios::binary) << bytes;
        return (directory / name).string();
    };
    EXPECT_EQ(loadObjectPoints(write("p.lwo", form("LWO2", chunk("PNTS", pointsData({1, 2, 3}))))),
              (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(loadObjectPoints(write("p.OBJ", "v 3 2 1\n")), (std::vector<float>{3, 2, 1}));
    EXPECT_EQ(loadObjectPoints("builtin:line:1"), (std::vector<float>{0, 0, 0}));
    const std::string missing = (directory / "missing.lwo").string();
    EXPECT_EQ(errorOf([&] { loadObjectPoints(missing); }), missing + ": no such object file");
    const std::string text = write("notes.txt", "hello");
    EXPECT_NE(errorOf([&] { loadObjectPoints(text); }).find("unknown object format"), std::string::npos);
    const std::string fake = write("fake.lwo", "hello");
    EXPECT_NE(errorOf([&] { loadObjectPoints(fake); }).find("not a LightWave object"), std::string::npos);
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace plof::host
