#include "scene/scene_baking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include "bake_fixture.h"
#include "scene_test_support.h"

namespace plof {
namespace {

using testing::BakeSubject;
using testing::MovingEmitterHost;
using testing::readBytes;
using testing::referenceBake;
using testing::ScratchDirectory;

std::vector<std::string> crlfLines(const std::string &bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string> &lines, const std::string &prefix) {
    std::vector<std::string> found;
    for (const std::string &line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
}

class SceneBaking : public ::testing::Test {
protected:
    std::string bake(BakeSubject &subject, int32_t frameCount, const std::string &name = "PLOF.lws") {
        const std::string path = directory_.file(name).string();
        bakeScene(path.c_str(), subject.instance->objectList, frameCount, *subject.instance);
        return readBytes(path);
    }
    std::string path(const std::string &name) const { return directory_.file(name).string(); }

    MovingEmitterHost host_;
    ScratchDirectory directory_{"scene_baking"};
};

struct Flags {
    bool dissolve, scale, align, fromPoints, threeNames;
};

// The fast bake must give, byte for byte, what the document operations give.
TEST_F(SceneBaking, MatchesTheBakeBuiltKeyByKey) {
    std::vector<Flags> flagSets;
    for (int mask = 0; mask < 32; ++mask) {
        flagSets.push_back({(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0, (mask & 16) != 0});
    }
    int32_t bakes = 0;
    for (const int32_t points : {1, 4, 9}) {
        for (const int32_t frames : {0, 1, 13, 40}) {
            for (const int32_t step : {1, 7}) {
                for (std::size_t f = 0; f < flagSets.size(); ++f) {
                    // Every flag combination at one size, a spread of them at the others.
                    if (!(points == 4 && frames == 13) && f % 5 != static_cast<std::size_t>(frames % 5)) continue;
                    const Flags flags = flagSets[f];
                    BakeSubject subject(points);
                    HandlerInstance &instance = *subject.instance;
                    instance.frameStep = step;
                    instance.dslvCtl = flags.dissolve;
                    instance.scaleCtl = flags.scale;
                    instance.alignH = flags.align;
                    instance.OrgEmit = flags.fromPoints;
                    instance.ReCycle = points == 9 ? 1 : 0;
                    if (flags.threeNames) subject.setObjectNames({"a.lwo", "b.lwo", "c.lwo"});
                    const std::string fast = bake(subject, frames);
                    ASSERT_TRUE(referenceBake(path("reference.lws").c_str(), instance.objectList, frames, instance));
                    const std::string reference = readBytes(path("reference.lws"));
                    ASSERT_EQ(fast, reference)
                        << points << " particles, " << frames << " frames, step " << step << ", flags " << f;
                    ++bakes;
                }
            }
        }
    }
    EXPECT_GT(bakes, 60);
}

// Keys too large for their line are left out, as the document leaves them out.
TEST_F(SceneBaking, HugeKeysAreLeftOutLikeTheDocumentDoes) {
    BakeSubject subject(3);
    HandlerInstance &instance = *subject.instance;
    instance.OrgEmit = 1;
    instance.dslvCtl = 1;
    subject.particles[0].restPosition = {1e60, -1e60, 1e60};   // every key too large, frame 0 included
    subject.particles[1].launchVelocity = {4e70, 4e70, 4e70};  // too large once in flight
    const std::string fast = bake(subject, 9);
    ASSERT_TRUE(referenceBake(path("reference.lws").c_str(), instance.objectList, 9, instance));
    EXPECT_EQ(fast, readBytes(path("reference.lws")));
    const std::vector<std::string> lines = crlfLines(fast);
    EXPECT_EQ(lines[25], "  1");  // the default key stays alone
    EXPECT_EQ(lines[26], "  0 0 0 0 0 0 1 1 1");
    EXPECT_EQ(lines[28], "EndBehavior 1");
    EXPECT_EQ(lines[29], "ObjDissolve (envelope)");
    EXPECT_EQ(lines[31], "  9");
    // Particle 1 flies from frame 3 to 7: its keys at frames 4 to 7 go.
    EXPECT_EQ(lines[54], "LoadObject none");
    EXPECT_EQ(lines[58], "  5");
}

TEST_F(SceneBaking, ObjectNamesCycleThroughTheList) {
    BakeSubject subject(7);
    subject.setObjectNames({"one.lwo", "two.lwo", "three.lwo"});
    const std::vector<std::string> objects = linesStartingWith(crlfLines(bake(subject, 3)), "LoadObject");
    EXPECT_EQ(objects, (std::vector<std::string>{"LoadObject one.lwo", "LoadObject two.lwo", "LoadObject three.lwo",
                                                 "LoadObject one.lwo", "LoadObject two.lwo", "LoadObject three.lwo",
                                                 "LoadObject one.lwo"}));

    BakeSubject defaults(2);
    EXPECT_EQ(linesStartingWith(crlfLines(bake(defaults, 3)), "LoadObject"),
              (std::vector<std::string>{"LoadObject none", "LoadObject none"}));
}

TEST_F(SceneBaking, NoFramesLeavesDefaultBlocks) {
    BakeSubject subject(2);
    subject.instance->dslvCtl = 1;
    subject.instance->bakeMode = 0;
    const std::vector<std::string> lines = crlfLines(bake(subject, 0));
    ASSERT_EQ(lines.size(), 106u);
    EXPECT_EQ(lines[11], "AddNullObject PLOF_NULL");
    EXPECT_EQ(lines[21], "LoadObject none");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 21, lines.begin() + 31),
              (std::vector<std::string>{"LoadObject none", "ShowObject 8 7", "ObjectMotion (unnamed)", "  9", "  1",
                                        "  0 0 0 0 0 0 1 1 1", "  0 0 0 0 0", "EndBehavior 1", "ShadowOptions 7", ""}));
    EXPECT_EQ(lines[41], "AmbientColor 255 255 255");
    EXPECT_TRUE(linesStartingWith(lines, "ParentObject").empty());
    EXPECT_TRUE(linesStartingWith(lines, "ObjDissolve").empty());
    EXPECT_EQ(crlfLines(bake(subject, -5)), lines);
}

TEST_F(SceneBaking, SamplesEveryStepBelowTheFrameCount) {
    BakeSubject subject(1);
    subject.instance->frameStep = 7;
    subject.instance->dslvCtl = 1;
    const std::vector<std::string> lines = crlfLines(bake(subject, 60));
    const std::vector<std::string> expectedFrames = {"  0 0 0 0 0",  "  7 0 0 0 0",  "  14 0 0 0 0",
                                                     "  21 0 0 0 0", "  28 0 0 0 0", "  35 0 0 0 0",
                                                     "  42 0 0 0 0", "  49 0 0 0 0", "  56 0 0 0 0"};
    // Motion keys from line 26 on, alternating value and frame lines.
    EXPECT_EQ(lines[21], "LoadObject none");
    EXPECT_EQ(lines[24], "  9");
    EXPECT_EQ(lines[25], "  9");  // nine keys
    std::vector<std::string> frames;
    for (std::size_t i = 27; i < 27 + 18; i += 2) frames.push_back(lines[i]);
    EXPECT_EQ(frames, expectedFrames);
    EXPECT_EQ(lines[44], "EndBehavior 1");
    EXPECT_EQ(lines[45], "ObjDissolve (envelope)");
    EXPECT_EQ(lines[47], "  9");
    std::vector<std::string> dissolveFrames;
    for (std::size_t i = 49; i < 49 + 18; i += 2) dissolveFrames.push_back(lines[i]);
    EXPECT_EQ(dissolveFrames, expectedFrames);
    EXPECT_EQ(lines[66], "EndBehavior 1");
    EXPECT_EQ(lines[67], "ParentObject 1");
    EXPECT_EQ(lines[68], "ShadowOptions 7");
    // The header stays the default one.
    EXPECT_EQ(lines[4], "LastFrame 60");
    EXPECT_EQ(lines[9], "FramesPerSecond 30.000000");
}

TEST_F(SceneBaking, StepOfZeroOrLessIsOne) {
    BakeSubject subject(3);
    subject.instance->dslvCtl = 1;
    const std::string one = bake(subject, 12, "one.lws");
    subject.instance->frameStep = 0;
    EXPECT_EQ(bake(subject, 12, "zero.lws"), one);
    subject.instance->frameStep = -4;
    EXPECT_EQ(bake(subject, 12, "negative.lws"), one);
}

TEST_F(SceneBaking, DissolvesHiddenFramesAndTheFrameBefore) {
    // Particle 0 is born at frame 2 and flies 3 frames: shown at 3, 4, 5.
    BakeSubject subject(1);
    subject.instance->dslvCtl = 1;
    const std::vector<std::string> lines = crlfLines(bake(subject, 8));
    const auto envelope = std::find(lines.begin(), lines.end(), "ObjDissolve (envelope)");
    ASSERT_NE(envelope, lines.end());
    std::vector<std::string> values;
    for (auto line = envelope + 3; *line != "EndBehavior 1"; line += 2) values.push_back(*line);
    // Frame 5 is shown but frame 6 is hidden, so frame 5 is dissolved too.
    EXPECT_EQ(values, (std::vector<std::string>{"  1.0000", "  1.0000", "  1.0000", "  0.0000", "  0.0000", "  1.0000",
                                                "  1.0000", "  1.0000"}));
    // With a step of 2 no key lies on the frame before a hidden one.
    subject.instance->frameStep = 2;
    const std::vector<std::string> stepped = crlfLines(bake(subject, 8));
    const auto steppedEnvelope = std::find(stepped.begin(), stepped.end(), "ObjDissolve (envelope)");
    values.clear();
    for (auto line = steppedEnvelope + 3; *line != "EndBehavior 1"; line += 2) values.push_back(*line);
    EXPECT_EQ(values, (std::vector<std::string>{"  1.0000", "  1.0000", "  0.0000", "  1.0000"}));
}

TEST_F(SceneBaking, AlignHeadingUsesTheBakedPi) {
    BakeSubject subject(2);
    subject.instance->alignH = 1;
    subject.particles[0].launchVelocity = {3.0, 0.0, 0.0};
    subject.particles[1].launchVelocity = {0.0, 0.0, 2.0};
    const std::vector<std::string> keys = linesStartingWith(crlfLines(bake(subject, 1)), "  ");
    std::vector<std::string> headings;
    for (const std::string &key : keys) {
        if (key.size() > 40)
            headings.push_back(key.substr(key.find(' ', key.find(' ', key.find(' ', 2) + 1) + 1) + 1, 11));
    }
    // The light and camera keys come after the objects' keys.
    ASSERT_GE(headings.size(), 2u);
    EXPECT_EQ(headings[0], "-90.000000 ");
    EXPECT_EQ(headings[1], "-180.002654");
}

TEST_F(SceneBaking, BakeModeIsSetWhileSamplingAndRestored) {
    BakeSubject subject(2);
    subject.instance->bakeMode = 3;
    // The emitter sits at x = 2 x time: world positions are kept only while
    // bakeMode is set.
    const std::vector<std::string> lines = crlfLines(bake(subject, 1));
    EXPECT_EQ(subject.instance->bakeMode, 3);
    EXPECT_EQ(lines[26].substr(0, 30), "  0.000000 1.000000 -0.500000 ");
}

TEST_F(SceneBaking, TooLongObjectNameWritesNothing) {
    BakeSubject subject(2);
    subject.setObjectNames({"short.lwo", std::string(244, 'n')});
    subject.instance->bakeMode = 0;
    { std::ofstream(path("PLOF.lws"), std::ios::binary) << "old"; }
    EXPECT_EQ(bake(subject, 5), "old");
    EXPECT_EQ(subject.instance->bakeMode, 0);
}

TEST_F(SceneBaking, StoreBeyondMemoryStopsBeforeSampling) {
    BakeSubject subject(1);
    // As many particles and frames as 32 bits allow: the store's size does
    // not even fit a 64-bit count, so the bake stops before any update.
    subject.instance->pointCount = INT32_MAX;
    subject.instance->bakeMode = 0;
    subject.instance->frame = -1;
    { std::ofstream(path("PLOF.lws"), std::ios::binary) << "old"; }
    EXPECT_EQ(bake(subject, INT32_MAX), "old");
    EXPECT_EQ(subject.instance->bakeMode, 0);
    EXPECT_EQ(subject.instance->frame, -1);
}

TEST_F(SceneBaking, UnwritablePathStillRestoresBakeMode) {
    BakeSubject subject(2);
    subject.instance->bakeMode = 0;
    const std::string missing = path("missing/PLOF.lws");
    EXPECT_FALSE(bakeScene(missing.c_str(), subject.instance->objectList, 5, *subject.instance));
    EXPECT_EQ(subject.instance->bakeMode, 0);
    EXPECT_EQ(subject.instance->frame, 4);  // sampling ran to the last frame
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(SceneBaking, NoPointsGivesOnlyTheNullObject) {
    BakeSubject subject(0);
    const std::vector<std::string> lines = crlfLines(bake(subject, 10));
    EXPECT_EQ(lines.size(), 86u);
    EXPECT_EQ(linesStartingWith(lines, "AddNullObject"), std::vector<std::string>{"AddNullObject PLOF_NULL"});
    EXPECT_TRUE(linesStartingWith(lines, "LoadObject").empty());
}

TEST_F(SceneBaking, LifetimeZeroScalesWithoutDividingByZero) {
    BakeSubject subject(1);
    subject.instance->scaleCtl = 1;
    subject.particles[0].lifetime = 0;
    const std::string bytes = bake(subject, 4);
    EXPECT_EQ(bytes.find("nan"), std::string::npos);
    EXPECT_EQ(bytes.find("inf"), std::string::npos);
}

TEST_F(SceneBaking, HugeStepNearTheFrameLimitSamplesTwice) {
    BakeSubject subject(1);
    subject.instance->frameStep = INT32_MAX - 5;
    const std::vector<std::string> lines = crlfLines(bake(subject, INT32_MAX));
    EXPECT_EQ(lines[25], "  2");
    EXPECT_EQ(lines[29], "  2147483642 0 0 0 0");
}

}  // namespace
}  // namespace plof
