#include "host/scene/scene_writer.h"

#include <fmt/format.h>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/files/output_file.h"

namespace plof::host {

namespace {

class SceneText {
public:
    void line(std::string_view text) {
        out_ += text;
        out_ += "\r\n";
    }
    void lines(const std::vector<std::string> &texts) {
        for (const std::string &text : texts) {
            line(text);
        }
    }
    // "  %d" lines and key lines, as the module's baked blocks write them.
    void count(std::size_t value) { line("  " + std::to_string(value)); }
    void keyFrameLine(const MotionKey &key) {
        line("  " + std::to_string(key.frame) + " " + std::to_string(key.linear) + " " + shortestText(key.tension) +
             " " + shortestText(key.continuity) + " " + shortestText(key.bias));
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// "%5.4f": four decimals, at least five characters.
std::string dissolveValueText(double value) { return fmt::format("{:5.4f}", value); }

void writeBlock(SceneText &out, const HostItem &item) {
    out.lines(item.linesBefore);
    out.line((item.isNull ? "AddNullObject " : "LoadObject ") + item.source);
    out.lines(item.blockLinesBeforeMotion);
    if (item.hasMotionBlock) {
        out.line("ObjectMotion (unnamed)");
        out.count(static_cast<std::size_t>(item.motionChannels));
        out.count(item.motion.size());
        for (const MotionKey &key : item.motion) {
            std::string values = " ";
            for (int32_t c = 0; c < item.motionChannels; ++c) {
                values += " " + fixedText(key.values[c]);
            }
            out.line(values);
            out.keyFrameLine(key);
        }
        out.line(item.motionEnd);
    }
    if (item.hasDissolve && item.dissolveIsEnvelope) {
        out.line("ObjDissolve (envelope)");
        out.count(1);
        out.count(item.dissolve.size());
        for (const MotionKey &key : item.dissolve) {
            out.line("  " + dissolveValueText(key.values[0]));
            out.keyFrameLine(key);
        }
        out.line(item.dissolveEnd);
    } else if (item.hasDissolve) {
        out.line("ObjDissolve " + fixedText(item.dissolve.empty() ? 0.0 : item.dissolve[0].values[0]));
    }
    if (item.parent != 0) {
        out.line("ParentObject " + std::to_string(item.parent));
    }
    if (item.hasEffect) {
        out.line(item.effectHeader);
        out.lines(item.effectLines);
        out.line("EndPlugin");
    }
    out.lines(item.blockLinesAfter);
    if (item.blockEndsWithBlank) {
        out.line("");
    }
}

}  // namespace

std::string sceneText(const HostScene &scene) {
    SceneText out;
    out.lines(scene.header);
    for (const HostItem &item : scene.items) {
        writeBlock(out, item);
    }
    out.lines(scene.closingLines);
    return out.take();
}

void writeSceneFile(const HostScene &scene, const std::string &path) {
    // The CR LF line ends are already in the text on every platform.
    writeOutputFile(path, sceneText(scene));
}

}  // namespace plof::host
