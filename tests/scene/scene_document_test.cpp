#include "scene/scene_document.h"
#include "scene/scene_objects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene_edits.h"
#include "scene_test_support.h"

namespace plof {
namespace {

using testing::linesOf;

ScenePtr freshScene() {
    ScenePtr document(createDefaultScene());
    EXPECT_NE(document, nullptr);
    return document;
}

// The lines of a block, from its first line to its closing empty line.
std::vector<std::string> blockOf(const SceneLine *first) {
    std::vector<std::string> lines;
    for (const SceneLine *line = first; line != nullptr; line = line->next) {
        lines.emplace_back(line->text);
        if (lines.back() == "\n") break;
    }
    return lines;
}

TEST(SceneDocument, DefaultSceneHasItsSeventySixLines) {
    ScenePtr document = freshScene();
    const std::vector<std::string> lines = linesOf(*document);
    ASSERT_EQ(lines.size(), 76u);
    EXPECT_EQ(lines[0], "LWSC\n");
    EXPECT_EQ(lines[3], "FirstFrame 1\n");
    EXPECT_EQ(lines[4], "LastFrame 60\n");
    EXPECT_EQ(lines[9], "FramesPerSecond 30.000000\n");
    EXPECT_EQ(lines[18], "  9\n");
    EXPECT_EQ(lines[20], "  -2 2 -2 45 35 0 1 1 1\n");
    EXPECT_EQ(lines[32], "  0 0 -4 0 0 0 1 1 1\n");
    EXPECT_EQ(lines[60], "DataOverlayLabel \n");
    EXPECT_EQ(lines[65], "ViewDirection 0.300197 -0.314159 0.000000\n");
    EXPECT_EQ(lines[75], "\n");
    EXPECT_EQ(document->last->prev->text, std::string("ShowFieldChart 0\n"));
}

TEST(SceneDocument, ClassifiesByLeadingKeyword) {
    ScenePtr document = freshScene();
    std::vector<uint8_t> kinds;
    for (const SceneLine *line = document->first; line != nullptr; line = line->next) {
        if (line->kind != kOtherLine) kinds.push_back(line->kind);
        EXPECT_EQ(line->objectNumber, 0);
    }
    EXPECT_EQ(kinds,
              (std::vector<uint8_t>{kHeaderLine, kLightLine, kCameraLine, kBackdropLine, kRenderLine, kViewLine}));
}

TEST(SceneDocument, KeywordsMatchAsPrefixesFromTheStartLine) {
    ScenePtr document = freshScene();
    SceneLine *light = findLine(document->first, "AddLight");
    ASSERT_NE(light, nullptr);
    EXPECT_STREQ(findLine(light, "EndBehavior")->text, "EndBehavior 1\n");
    EXPECT_EQ(findLine(light, "AddLight"), light);  // the start line itself is examined
    EXPECT_EQ(findLine(light->next, "AddLight"), nullptr);
    // A line shorter than the keyword never matches.
    EXPECT_EQ(findLine(document->first, "LWSCX"), nullptr);
    // The stop line is not examined.
    SceneLine *end = findLine(light, "EndBehavior");
    EXPECT_EQ(findLineBefore(light, end, "EndBehavior"), nullptr);
    EXPECT_EQ(findLineBefore(light, end->next, "EndBehavior"), end);
    EXPECT_EQ(findLine(document->first, "endbehavior"), nullptr);
}

TEST(SceneDocument, TextAfterTheFirstSpace) {
    ScenePtr document = freshScene();
    LineBuffer out{};
    EXPECT_TRUE(textAfterKeyword(*findLine(document->first, "AmbientColor"), out));
    EXPECT_STREQ(out.data(), "255 255 255\n");
    EXPECT_TRUE(textAfterKeyword(*findLine(document->first, "DataOverlayLabel"), out));
    EXPECT_STREQ(out.data(), "\n");
    out[0] = 'x';
    EXPECT_FALSE(textAfterKeyword(*document->first, out));  // "LWSC" has no space
    EXPECT_EQ(out[0], 'x');
}

TEST(SceneDocument, SetLineValueKeepsTheKeyword) {
    ScenePtr document = freshScene();
    SceneLine *segment = findLine(document->first, "SegmentMemory");
    EXPECT_EQ(setLineValue(*segment, -2147483647 - 1), SceneEdit::done);
    EXPECT_STREQ(segment->text, "SegmentMemory -2147483648\n");
    SceneLine *count = findLine(document->first, "LightMotion")->next->next;
    EXPECT_EQ(setLineValue(*count, 12), SceneEdit::done);
    EXPECT_STREQ(count->text, " 12\n");  // the first space is the first character
    EXPECT_EQ(setLineValue(*document->first, 3), SceneEdit::unchanged);
    EXPECT_STREQ(document->first->text, "LWSC\n");
}

TEST(SceneDocument, AnchorIsTheLineAfterTheFrameRate) {
    ScenePtr document = freshScene();
    SceneLine *anchor = objectAnchor(*document);
    ASSERT_NE(anchor, nullptr);
    EXPECT_STREQ(anchor->text, "\n");
    EXPECT_STREQ(anchor->prev->text, "FramesPerSecond 30.000000\n");

    // Without a light line there is no anchor.
    SceneLine *light = findLine(document->first, "AddLight");
    light->text[0] = 'X';
    classifyLines(*document);
    EXPECT_EQ(objectAnchor(*document), nullptr);
}

TEST(SceneDocument, ObjectsAreNumberedInInsertionOrder) {
    ScenePtr document = freshScene();
    SceneLine *null = addNullObject(*document, *objectAnchor(*document), "PLOF_NULL");
    ASSERT_NE(null, nullptr);
    SceneLine *a = addLoadedObject(*document, *objectAnchor(*document), "a.lwo");
    SceneLine *b = addLoadedObject(*document, *objectAnchor(*document), "b.lwo");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(null->objectNumber, 1);
    EXPECT_EQ(a->objectNumber, 2);
    EXPECT_EQ(b->objectNumber, 3);
    EXPECT_EQ(blockOf(null),
              (std::vector<std::string>{"AddNullObject PLOF_NULL\n", "ShowObject 8 7\n", "ObjectMotion (unnamed)\n",
                                        "  9\n", "  1\n", "  0 0 0 0 0 0 1 1 1\n", "  0 0 0 0 0\n", "EndBehavior 1\n",
                                        "ShadowOptions 7\n", "\n"}));
    EXPECT_STREQ(b->prev->prev->text, "ShadowOptions 7\n");  // b follows a's block
    const std::vector<std::string> lines = linesOf(*document);
    EXPECT_EQ(lines.size(), 106u);
    EXPECT_EQ(lines[11], "AddNullObject PLOF_NULL\n");
    EXPECT_EQ(lines[21], "LoadObject a.lwo\n");
    EXPECT_EQ(lines[31], "LoadObject b.lwo\n");
    EXPECT_EQ(lines[41], "AmbientColor 255 255 255\n");

    // Inserting before an existing object renumbers the later ones.
    SceneLine *c = addLoadedObject(*document, *null->prev, "c.lwo");
    EXPECT_EQ(c->objectNumber, 1);
    EXPECT_EQ(null->objectNumber, 2);
    EXPECT_EQ(b->objectNumber, 4);
}

TEST(SceneDocument, RefusesANameThatDoesNotFitALine) {
    ScenePtr document = freshScene();
    // "LoadObject " (11) + name + line feed must stay within 255 characters.
    const std::string longest(243, 'n');
    SceneLine *fits = addLoadedObject(*document, *objectAnchor(*document), longest.c_str());
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(std::string(fits->text), "LoadObject " + longest + "\n");
    const std::string tooLong(244, 'n');
    EXPECT_EQ(addLoadedObject(*document, *objectAnchor(*document), tooLong.c_str()), nullptr);
    EXPECT_EQ(addNullObject(*document, *objectAnchor(*document), std::string(300, 'n').c_str()), nullptr);
    EXPECT_EQ(linesOf(*document).size(), 86u);
    EXPECT_EQ(newLine(std::string(256, 'x').c_str()), nullptr);
}

TEST(SceneDocument, FrameZeroKeyReplacesTheDefaultKey) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    MotionKey key = kDefaultMotionKey;
    key.x = 1.5;
    key.y = -2.25;
    key.z = 1e-7;
    key.heading = 90.0;
    key.scaleX = key.scaleY = key.scaleZ = 0.0;
    key.frame = 0;
    ASSERT_EQ(addMotionKey(*document, *object, key), SceneEdit::done);
    EXPECT_EQ(blockOf(object),
              (std::vector<std::string>{
                  "LoadObject none\n", "ShowObject 8 7\n", "ObjectMotion (unnamed)\n", "  9\n", "  1\n",
                  "  1.500000 -2.250000 0.000000 90.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n",
                  "  0 0 0 0 0\n", "EndBehavior 1\n", "ShadowOptions 7\n", "\n"}));

    key.frame = 7;
    key.x = -0.0000005;  // rounds to zero and keeps its sign, as printf does
    ASSERT_EQ(addMotionKey(*document, *object, key), SceneEdit::done);
    key.frame = 14;
    ASSERT_EQ(addMotionKey(*document, *object, key), SceneEdit::done);
    const std::vector<std::string> block = blockOf(object);
    ASSERT_EQ(block.size(), 14u);
    EXPECT_EQ(block[4], "  3\n");
    EXPECT_EQ(block[7].substr(0, 12), "  -0.000000 ");
    EXPECT_EQ(block[8], "  7 0 0 0 0\n");
    EXPECT_EQ(block[10], "  14 0 0 0 0\n");
    EXPECT_EQ(block[11], "EndBehavior 1\n");
}

TEST(SceneDocument, KeyWithoutTheDefaultKeyStillCounts) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    MotionKey key = kDefaultMotionKey;
    key.frame = 5;
    ASSERT_EQ(addMotionKey(*document, *object, key), SceneEdit::done);
    const std::vector<std::string> block = blockOf(object);
    EXPECT_EQ(block[4], "  2\n");
    EXPECT_EQ(block[5], "  0 0 0 0 0 0 1 1 1\n");
    EXPECT_EQ(block[7], "  0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n");
    EXPECT_EQ(block[8], "  5 0 0 0 0\n");
}

TEST(SceneDocument, HugeKeyValuesAreRefusedWhole) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    const std::vector<std::string> before = linesOf(*document);
    MotionKey key = kDefaultMotionKey;
    key.frame = 0;
    key.x = key.y = 1e80;  // two 88-character values, nine values no longer fit a line
    key.z = -1e80;
    EXPECT_EQ(addMotionKey(*document, *object, key), SceneEdit::unchanged);
    EXPECT_EQ(linesOf(*document), before);  // not even the default key went
    EXPECT_EQ(addDissolveKey(*document, *object, 1e300, 0), SceneEdit::unchanged);
    EXPECT_EQ(linesOf(*document), before);
}

TEST(SceneDocument, FirstDissolveKeyCreatesTheEnvelopeAtFrameZero) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    ASSERT_EQ(addDissolveKey(*document, *object, 1.0, 12), SceneEdit::done);
    ASSERT_EQ(addDissolveKey(*document, *object, 0.0, 13), SceneEdit::done);
    ASSERT_EQ(addDissolveKey(*document, *object, 0.25, 14), SceneEdit::done);
    EXPECT_EQ(blockOf(object), (std::vector<std::string>{"LoadObject none\n",
                                                         "ShowObject 8 7\n",
                                                         "ObjectMotion (unnamed)\n",
                                                         "  9\n",
                                                         "  1\n",
                                                         "  0 0 0 0 0 0 1 1 1\n",
                                                         "  0 0 0 0 0\n",
                                                         "EndBehavior 1\n",
                                                         "ObjDissolve (envelope)\n",
                                                         "  1\n",
                                                         "  3\n",
                                                         "  1.0000\n",
                                                         "  0 0 0 0 0\n",
                                                         "  0.0000\n",
                                                         "  13 0 0 0 0\n",
                                                         "  0.2500\n",
                                                         "  14 0 0 0 0\n",
                                                         "EndBehavior 1\n",
                                                         "ShadowOptions 7\n",
                                                         "\n"}));
}

TEST(SceneDocument, SetDissolveKeyValueRewritesOnlyAnEarlierKey) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    // No envelope: nothing to change.
    EXPECT_EQ(setDissolveKeyValue(*object, 1.0, 0), SceneEdit::unchanged);
    addDissolveKey(*document, *object, 1.0, 0);
    addDissolveKey(*document, *object, 0.0, 1);
    addDissolveKey(*document, *object, 0.0, 2);
    const std::vector<std::string> before = linesOf(*document);
    EXPECT_EQ(setDissolveKeyValue(*object, 1.0, 5), SceneEdit::unchanged);  // no key at 5
    EXPECT_EQ(setDissolveKeyValue(*object, 1.0, 2), SceneEdit::unchanged);  // the last key
    EXPECT_EQ(linesOf(*document), before);
    EXPECT_EQ(setDissolveKeyValue(*object, 0.5, 1), SceneEdit::done);
    std::vector<std::string> block = blockOf(object);
    EXPECT_EQ(block[13], "  0.5000\n");
    EXPECT_EQ(block[15], "  0.0000\n");
    EXPECT_EQ(setDissolveKeyValue(*object, 0.75, 0), SceneEdit::done);
    block = blockOf(object);
    EXPECT_EQ(block[11], "  0.7500\n");
}

TEST(SceneDocument, OneParentLineBeforeShadowOptions) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "none");
    ASSERT_EQ(setParentObject(*document, *object, 1), SceneEdit::done);
    ASSERT_EQ(setParentObject(*document, *object, 1), SceneEdit::done);
    std::vector<std::string> block = blockOf(object);
    ASSERT_EQ(block.size(), 11u);
    EXPECT_EQ(block[8], "ParentObject 1\n");
    EXPECT_EQ(block[9], "ShadowOptions 7\n");
    ASSERT_EQ(setParentObject(*document, *object, 42), SceneEdit::done);
    block = blockOf(object);
    ASSERT_EQ(block.size(), 11u);
    EXPECT_EQ(block[8], "ParentObject 42\n");
}

// The block of a baked particle with two keys and two dissolve keys.
TEST(SceneDocument, BakedBlockReadsInTheHostsOrder) {
    ScenePtr document = freshScene();
    SceneLine *object = addLoadedObject(*document, *objectAnchor(*document), "ball.lwo");
    MotionKey key = kDefaultMotionKey;
    key.frame = 0;
    addMotionKey(*document, *object, key);
    addDissolveKey(*document, *object, 1.0, 0);
    setParentObject(*document, *object, 1);
    key.frame = 1;
    key.y = 0.5;
    addMotionKey(*document, *object, key);
    addDissolveKey(*document, *object, 0.0, 1);
    setParentObject(*document, *object, 1);
    EXPECT_EQ(blockOf(object),
              (std::vector<std::string>{
                  "LoadObject ball.lwo\n",
                  "ShowObject 8 7\n",
                  "ObjectMotion (unnamed)\n",
                  "  9\n",
                  "  2\n",
                  "  0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n",
                  "  0 0 0 0 0\n",
                  "  0.000000 0.500000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n",
                  "  1 0 0 0 0\n",
                  "EndBehavior 1\n",
                  "ObjDissolve (envelope)\n",
                  "  1\n",
                  "  2\n",
                  "  1.0000\n",
                  "  0 0 0 0 0\n",
                  "  0.0000\n",
                  "  1 0 0 0 0\n",
                  "EndBehavior 1\n",
                  "ParentObject 1\n",
                  "ShadowOptions 7\n",
                  "\n"}));
}

TEST(SceneDocument, BlockWithoutItsLinesIsLeftAlone) {
    ScenePtr document = freshScene();
    // The light block has a motion but no "ObjectMotion" and no "ShadowOptions".
    SceneLine *light = findLine(document->first, "AddLight");
    const std::vector<std::string> before = linesOf(*document);
    MotionKey key = kDefaultMotionKey;
    key.frame = 0;
    EXPECT_EQ(addMotionKey(*document, *light, key), SceneEdit::unchanged);
    EXPECT_EQ(addDissolveKey(*document, *light, 1.0, 0), SceneEdit::unchanged);
    EXPECT_EQ(setParentObject(*document, *light, 1), SceneEdit::unchanged);
    EXPECT_EQ(linesOf(*document), before);
}

}  // namespace
}  // namespace plof
