#include "shared_options.h"

#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "command.h"
#include "host/base/frame_rate.h"
#include "host/base/nearest_word.h"
#include "host/base/number_text.h"
#include "host/module/module_loader.h"
#include "program_location.h"

namespace plof::tools {

FrameRange parseFrameRange(const std::string &flag, const std::string &text) {
    const auto range = plof::host::parseIntegerRange(text);
    if (range && range->first <= range->last) return {range->first, range->last};
    std::string problem = flag + " needs A..B with whole numbers A <= B, got \"" + text + "\"";
    // A count, as bake takes it, means the frames from 0.
    if (const auto count = plof::host::parseInteger(text); count && *count > 0) {
        problem += "; for frames 0 to " + std::to_string(*count - 1) + " write 0.." + std::to_string(*count - 1);
    }
    throw UsageError(problem);
}

double parseFrameRate(const std::string &flag, const std::string &text) {
    const auto value = plof::host::parseNumber(text);
    using plof::host::kHighestFrameRate, plof::host::kLowestFrameRate;
    if (!value || !(*value >= kLowestFrameRate && *value <= kHighestFrameRate)) {
        throw UsageError(flag + " needs a number above 0, from " + plof::host::shortestText(kLowestFrameRate) + " to " +
                         plof::host::shortestText(kHighestFrameRate) + " frames per second, got \"" + text + "\"");
    }
    return *value;
}

double parsePositive(const std::string &flag, const std::string &text) {
    const auto value = plof::host::parseNumber(text);
    if (!value || *value <= 0.0) throw UsageError(flag + " needs a number above 0, got \"" + text + "\"");
    return *value;
}

std::string modulePath(const ParsedArguments &arguments) {
    if (plof::host::moduleBuiltIn()) {
        if (arguments.has("--module")) {
            throw UsageError("--module: this plof-host has the module built in (WebAssembly) and loads no module file");
        }
        return "plof.p (built in)";
    }
    if (const auto given = arguments.value("--module")) {
        return *given;
    }
    const std::string directory = executableDirectory();
    return directory.empty() ? "plof.p" : (std::filesystem::path(directory) / "plof.p").string();
}

}  // namespace plof::tools
