// The values plof-host reads from its command line. The input's first line
// names the command and flag ("play --motion", "bake --hpb-min"), the rest is
// the value, up to a NUL as a command line would end it. A bad value may
// only be refused with a message; a value taken keeps the parser's promise.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bake_flags.h"
#include "command.h"
#include "emitter_flags.h"
#include "fuzz_support.h"
#include "host/base/frame_rate.h"
#include "host/script/bake_request.h"
#include "shared_options.h"

namespace {

using plof::fuzz::check;

void playValue(const std::string &flag, const std::string &value) {
    try {
        if (flag == "--frames") {
            const plof::tools::FrameRange range = plof::tools::parseFrameRange(flag, value);
            check(range.first <= range.last, "a frame range runs forward");
        } else if (flag == "--fps") {
            const double fps = plof::tools::parseFrameRate(flag, value);
            check(fps >= plof::host::kLowestFrameRate && fps <= plof::host::kHighestFrameRate,
                  "a frame rate is within the range the host plays");
        } else if (flag == "--motion") {
            const auto keys = plof::tools::parseMotion(value);
            check(!keys.empty(), "a motion has keys");
            check(std::is_sorted(keys.begin(), keys.end(),
                                 [](const auto &a, const auto &b) { return a.frame < b.frame; }),
                  "motion keys are in frame order");
        }
    } catch (const plof::tools::UsageError &) {
    }
}

void bakeValue(const std::string &flag, const std::string &value) {
    plof::host::BakeRequest request;
    std::string problem;
    const auto known = std::find_if(std::begin(plof::tools::kBakeValueFlags), std::end(plof::tools::kBakeValueFlags),
                                    [&](const plof::tools::BakeValueFlag &bake) { return flag == bake.flag; });
    if (known == std::end(plof::tools::kBakeValueFlags)) return;
    if (!plof::host::readBakeValue(known->value, flag, value, request, problem)) {
        check(!problem.empty(), "a refused value is explained");
        return;
    }
    check(request.step >= 1, "the frame step advances");
    for (const std::string &object : request.objects)
        check(object.size() <= plof::host::kBakePathLimit, "object paths fit the panel");
    check(request.out.size() <= plof::host::kBakePathLimit, "the scene path fits the panel");
    check(!plof::host::bakeScript(request).actions.empty(), "a bake has a script");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text = plof::fuzz::textOf(data, size);
    text = text.substr(0, text.find('\0'));
    const std::size_t lineEnd = std::min(text.find('\n'), text.size());
    const std::string_view selector = text.substr(0, lineEnd);
    const std::string value(text.substr(std::min(lineEnd + 1, text.size())));
    if (selector.starts_with("play ")) playValue(std::string(selector.substr(5)), value);
    if (selector.starts_with("bake ")) bakeValue(std::string(selector.substr(5)), value);
    return 0;
}
