// Motion keys and dissolve envelopes of object blocks.
#include <cstring>
#include <memory>
#include <new>

#include "base/number_format.h"
#include "scene/scene_line_batch.h"
#include "scene/scene_line_text.h"
#include "scene_edits.h"

namespace plof {

namespace {

// A replacement text made before the document is touched.
class ReplacementText {
public:
    bool make(const char *text) {
        const std::size_t length = std::strlen(text);
        text_.reset(new (std::nothrow) char[length + 1]);
        if (text_ == nullptr) return false;
        std::memcpy(text_.get(), text, length + 1);
        return true;
    }
    void moveInto(SceneLine &line) {
        delete[] line.text;
        line.text = text_.release();
    }

private:
    std::unique_ptr<char[]> text_;
};

// The key-count line: the second line after a motion or envelope line, as
// long as it lies before the channel's "EndBehavior" line.
SceneLine *countLineOf(SceneLine &channelLine, const SceneLine &end) {
    SceneLine *channels = channelLine.next;
    if (channels == nullptr || channels == &end) return nullptr;
    SceneLine *count = channels->next;
    return count == &end ? nullptr : count;
}

// The count a key-count line holds, read as the text after its first space;
// false when the line has no space.
bool readCount(const SceneLine &countLine, int64_t &count) {
    LineBuffer after;
    if (!textAfterKeyword(countLine, after)) return false;
    count = truncateToInt32(parseDecimal(after.data()));
    return true;
}

// A count past the 32-bit range is refused rather than wrapped.
bool composeNextCount(LineBuffer &out, int64_t count) {
    if (count > INT32_MAX) return false;
    return composeCountLine(out, static_cast<int32_t>(count)) >= 0;
}

// The frame of a dissolve key: the line's first number, truncated.
int32_t frameOf(const SceneLine &frameLine) {
    const char *start = frameLine.text;
    while (*start == ' ') ++start;
    std::size_t length = 0;
    while (start[length] != '\0' && start[length] != ' ') ++length;
    LineBuffer token{};
    std::memcpy(token.data(), start, length);
    return truncateToInt32(parseDecimal(token.data()));
}

SceneLine *dissolveLineOf(SceneLine &objectLine) {
    SceneLine *shadow = findLine(&objectLine, "ShadowOptions");
    if (shadow == nullptr) return nullptr;
    return findLineBefore(&objectLine, shadow, "ObjDissolve");
}

}  // namespace

SceneEdit addMotionKey(SceneDocument &document, SceneLine &objectLine, const MotionKey &key) {
    SceneLine *motion = findLine(&objectLine, "ObjectMotion");
    SceneLine *end = motion == nullptr ? nullptr : findLine(motion, "EndBehavior");
    if (end == nullptr) return SceneEdit::unchanged;
    SceneLine *countLine = countLineOf(*motion, *end);
    int64_t count = 0;
    if (countLine == nullptr || !readCount(*countLine, count)) return SceneEdit::unchanged;

    LineBuffer countText;
    LineBuffer valuesText;
    LineBuffer frameText;
    if (!composeNextCount(countText, key.frame == 0 ? 1 : count + 1) || composeKeyValuesLine(valuesText, key) < 0 ||
        composeKeyFrameLine(frameText, key) < 0) {
        return SceneEdit::unchanged;
    }
    ReplacementText newCount;
    SceneLineBatch<2> keyLines;
    if (!newCount.make(countText.data()) || !keyLines.add(valuesText.data()) || !keyLines.add(frameText.data())) {
        return SceneEdit::outOfMemory;
    }

    // A key at frame 0 takes the place of the last key (in a fresh block,
    // the default one). Only key lines are removed, never the count line.
    SceneLine *keyFrame = end->prev;
    SceneLine *keyValues = keyFrame->prev;
    if (key.frame == 0 && keyFrame != countLine && keyValues != countLine) {
        keyValues->prev->next = end;
        end->prev = keyValues->prev;
        freeLine(keyValues);
        freeLine(keyFrame);
    }
    newCount.moveInto(*countLine);
    keyLines.insertAfter(document, *end->prev);
    return SceneEdit::done;
}

SceneEdit addDissolveKey(SceneDocument &document, SceneLine &objectLine, double value, int32_t frame) {
    LineBuffer valueText;
    if (composeDissolveValueLine(valueText, value) < 0) return SceneEdit::unchanged;
    LineBuffer frameText;

    SceneLine *dissolve = dissolveLineOf(objectLine);
    if (dissolve == nullptr) {
        if (findLine(&objectLine, "ShadowOptions") == nullptr) return SceneEdit::unchanged;
        SceneLine *motionEnd = findLine(&objectLine, "EndBehavior");
        if (motionEnd == nullptr) return SceneEdit::unchanged;
        // A new envelope's first key is always at frame 0; its count goes
        // straight from 0 to 1.
        composeDissolveFrameLine(frameText, 0);
        SceneLineBatch<4> envelope;
        SceneLineBatch<2> keyLines;
        if (!envelope.add("ObjDissolve (envelope)\n") || !envelope.add("  1\n") || !envelope.add("  1\n") ||
            !envelope.add("EndBehavior 1\n") || !keyLines.add(valueText.data()) || !keyLines.add(frameText.data())) {
            return SceneEdit::outOfMemory;
        }
        SceneLine &countLine = envelope[2];
        envelope.insertAfter(document, *motionEnd);
        keyLines.insertAfter(document, countLine);
        return SceneEdit::done;
    }

    SceneLine *end = findLine(dissolve, "EndBehavior");
    SceneLine *countLine = end == nullptr ? nullptr : countLineOf(*dissolve, *end);
    int64_t count = 0;
    if (countLine == nullptr || !readCount(*countLine, count)) return SceneEdit::unchanged;
    LineBuffer countText;
    if (!composeNextCount(countText, count + 1) || composeDissolveFrameLine(frameText, frame) < 0) {
        return SceneEdit::unchanged;
    }
    ReplacementText newCount;
    SceneLineBatch<2> keyLines;
    if (!newCount.make(countText.data()) || !keyLines.add(valueText.data()) || !keyLines.add(frameText.data())) {
        return SceneEdit::outOfMemory;
    }
    newCount.moveInto(*countLine);
    keyLines.insertAfter(document, *end->prev);
    return SceneEdit::done;
}

SceneEdit setDissolveKeyValue(SceneLine &objectLine, double value, int32_t frame) {
    SceneLine *dissolve = dissolveLineOf(objectLine);
    SceneLine *end = dissolve == nullptr ? nullptr : findLine(dissolve, "EndBehavior");
    SceneLine *countLine = end == nullptr ? nullptr : countLineOf(*dissolve, *end);
    if (countLine == nullptr) return SceneEdit::unchanged;
    // Keys are (value line, frame line) pairs; the last pair is the key just
    // added and is never examined.
    SceneLine *valueLine = countLine->next;
    while (valueLine != end && valueLine->next != end && valueLine->next->next != end) {
        SceneLine *frameLine = valueLine->next;
        if (frameOf(*frameLine) == frame) {
            LineBuffer valueText;
            if (composeDissolveValueLine(valueText, value) < 0) return SceneEdit::unchanged;
            ReplacementText text;
            if (!text.make(valueText.data())) return SceneEdit::outOfMemory;
            text.moveInto(*valueLine);
            return SceneEdit::done;
        }
        valueLine = frameLine->next;
    }
    return SceneEdit::unchanged;
}

}  // namespace plof
