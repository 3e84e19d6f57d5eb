#include "scene/scene_line_text.h"

#include <cstring>

#include "base/number_format.h"
#include "scene/scene_document.h"

namespace plof {

namespace {

// Appends pieces to a line buffer, remembering whether everything fitted.
// One byte is always kept for the NUL.
class LineComposer {
public:
    explicit LineComposer(LineBuffer &out) : out_(out) { out_[0] = '\0'; }

    LineComposer &text(const char *piece) {
        const std::size_t length = std::strlen(piece);
        if (!fits_ || length >= out_.size() - used_) {
            fits_ = false;
            return *this;
        }
        std::memcpy(out_.data() + used_, piece, length + 1);
        used_ += length;
        return *this;
    }

    LineComposer &fixed(double value, int decimals, int width = 0) {
        return number(formatFixed(out_.data() + used_, out_.size() - used_, value, decimals, width));
    }

    LineComposer &integer(int32_t value) {
        return number(formatInteger(out_.data() + used_, out_.size() - used_, value));
    }

    int32_t finish() {
        text("\n");
        if (!fits_) {
            out_[0] = '\0';
            return -1;
        }
        return static_cast<int32_t>(used_);
    }

private:
    LineComposer &number(int32_t written) {
        if (!fits_ || written < 0) {
            fits_ = false;
            return *this;
        }
        used_ += static_cast<std::size_t>(written);
        return *this;
    }

    LineBuffer &out_;
    std::size_t used_ = 0;
    bool fits_ = true;
};

}  // namespace

int32_t composeNamedLine(LineBuffer &out, const char *prefix, const char *name) {
    return LineComposer(out).text(prefix).text(name).finish();
}

int32_t composeCountLine(LineBuffer &out, int32_t count) {
    return LineComposer(out).text("  ").integer(count).finish();
}

int32_t composeKeyValuesLine(LineBuffer &out, const MotionKey &key) {
    const double values[9] = {key.x,    key.y,      key.z,      key.heading, key.pitch,
                              key.bank, key.scaleX, key.scaleY, key.scaleZ};
    LineComposer line(out);
    line.text(" ");
    for (const double value : values) line.text(" ").fixed(value, 6);
    return line.finish();
}

int32_t composeKeyFrameLine(LineBuffer &out, const MotionKey &key) {
    return LineComposer(out)
        .text("  ")
        .integer(key.frame)
        .text(" ")
        .integer(key.linear)
        .text(" ")
        .integer(key.tension)
        .text(" ")
        .integer(key.continuity)
        .text(" ")
        .integer(key.bias)
        .finish();
}

int32_t composeDissolveValueLine(LineBuffer &out, double value) {
    return LineComposer(out).text("  ").fixed(value, 4, 5).finish();
}

int32_t composeDissolveFrameLine(LineBuffer &out, int32_t frame) {
    return LineComposer(out).text("  ").integer(frame).text(" 0 0 0 0").finish();
}

int32_t composeParentLine(LineBuffer &out, int32_t parentNumber) {
    return LineComposer(out).text("ParentObject ").integer(parentNumber).finish();
}

}  // namespace plof
