// Reading a bake's values: every bad value is refused with a message that
// says what to write, before anything is loaded.
#include "host/script/bake_values.h"

#include <gtest/gtest.h>

#include <utility>

namespace plof::host {
namespace {

// The values by their names on the command line, which the messages use.
bool readBakeFlagValue(const std::string &flag, const std::string &text, BakeRequest &request, std::string &problem) {
    const std::pair<const char *, BakeValue> kFlags[] = {
        {"--frames", BakeValue::Frames},  {"--step", BakeValue::Step},      {"--objects", BakeValue::Objects},
        {"--hpb-min", BakeValue::HpbMin}, {"--hpb-max", BakeValue::HpbMax}, {"--out", BakeValue::Out}};
    for (const auto &[name, value] : kFlags) {
        if (flag == name) return readBakeValue(value, flag, text, request, problem);
    }
    return false;
}

TEST(BakeRequest, ReadsEveryFlag) {
    BakeRequest request;
    std::string problem;
    EXPECT_TRUE(readBakeFlagValue("--frames", "30", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--step", "7", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--hpb-min", "-10,0.5,1e2", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--hpb-max", "10,20,30", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--objects", "a.lwo,dir/b.lwo", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--objects", "c.lwo", request, problem)) << problem;
    EXPECT_TRUE(readBakeFlagValue("--out", "out/PLOF.lws", request, problem)) << problem;
    EXPECT_EQ(request.frames, 30);
    EXPECT_EQ(request.step, 7);
    EXPECT_EQ(request.hpbMin, (std::array<double, 3>{-10.0, 0.5, 100.0}));
    EXPECT_EQ(request.hpbMax, (std::array<double, 3>{10.0, 20.0, 30.0}));
    EXPECT_EQ(request.objects, (std::vector<std::string>{"a.lwo", "dir/b.lwo", "c.lwo"}));
    EXPECT_TRUE(checkBakeRequest(request, "--out", problem));
}

TEST(BakeRequest, RefusesBadValuesSayingWhatToWrite) {
    struct Case {
        const char *flag;
        std::string value;
        const char *says;
    };
    const Case cases[] = {
        {"--frames", "sixty", "--frames takes a whole number"},
        {"--frames", "60.5", "--frames takes a whole number"},
        {"--frames", "", "--frames takes a whole number"},
        {"--frames", "0..x", "--frames takes a whole number N (frames 0 .. N-1) or 0..B"},
        {"--frames", "5..9", "a bake always starts at frame 0; write 0..9"},
        {"--frames", "0..-1", "with B from 0 to 2147483646"},
        {"--frames", "0..2147483647", "with B from 0 to 2147483646"},
        {"--frames", "0", "--frames 0: a bake needs at least 1 frame"},
        {"--frames", "-1", "--frames -1: a bake needs at least 1 frame"},
        {"--frames", "-5", "--frames -5: a bake needs at least 1 frame"},
        {"--step", "0", "--step must be 1 or more"},
        {"--step", "-2", "--step must be 1 or more"},
        {"--hpb-min", "1,2", "three numbers h,p,b"},
        {"--hpb-max", "1,2,x", "three numbers h,p,b"},
        {"--hpb-max", "1,2,3,4", "three numbers h,p,b"},
        {"--hpb-max", "1,2,inf", "three numbers h,p,b"},
        {"--objects", "a.lwo,b.LWO", "\"b.LWO\" is not an object file ending in .lwo"},
        {"--objects", "a.lwo,", "\"\" is not an object file"},
        {"--objects", std::string(300, 'x') + ".lwo", "longer than 255 characters"},
        {"--out", std::string(256, 'y'), "--out needs a scene file path of 1 to 255"},
    };
    for (const Case &c : cases) {
        BakeRequest request;
        std::string problem;
        EXPECT_FALSE(readBakeFlagValue(c.flag, c.value, request, problem)) << c.flag << " " << c.value;
        EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
    }
    BakeRequest noOut;
    std::string problem;
    EXPECT_FALSE(checkBakeRequest(noOut, "--out", problem));
    EXPECT_NE(problem.find("--out"), std::string::npos);
}

TEST(BakeRequest, FramesTakeACountOrARangeFromZero) {
    BakeRequest request;
    std::string problem;
    ASSERT_TRUE(readBakeFlagValue("--frames", "0..59", request, problem)) << problem;
    EXPECT_EQ(request.frames, 60);
    ASSERT_TRUE(readBakeFlagValue("--frames", "0..0", request, problem)) << problem;
    EXPECT_EQ(request.frames, 1);
    ASSERT_TRUE(readBakeFlagValue("--frames", "45", request, problem)) << problem;
    EXPECT_EQ(request.frames, 45);
}

}  // namespace
}  // namespace plof::host
