#include <cstdio>
#include <filesystem>

#include "command.h"
#include "host/number_text.h"
#include "host/program_location.h"

namespace plof::tools {

FrameRange parseFrameRange(const std::string &flag, const std::string &text) {
    const auto dots = text.find("..");
    const auto first = plof::host::parseInteger(std::string_view(text).substr(0, dots));
    const auto last = dots == std::string::npos ? std::nullopt
                                                : plof::host::parseInteger(std::string_view(text).substr(dots + 2));
    if (!first || !last || *first > *last) {
        throw UsageError(flag + " needs A..B with whole numbers A <= B, got \"" + text + "\"");
    }
    return {*first, *last};
}

double parseFrameRate(const std::string &flag, const std::string &text) {
    const auto value = plof::host::parseNumber(text);
    if (!value || !(*value >= kLowestFrameRate && *value <= kHighestFrameRate)) {
        throw UsageError(flag + " needs a number above 0, from " + plof::host::shortestText(kLowestFrameRate) +
                         " to " + plof::host::shortestText(kHighestFrameRate) + " frames per second, got \"" +
                         text + "\"");
    }
    return *value;
}

std::string modulePath(const ParsedArguments &arguments) {
    if (const auto given = arguments.value("--module")) {
        return *given;
    }
    const std::string directory = plof::host::executableDirectory();
    return directory.empty() ? "plof.p" : (std::filesystem::path(directory) / "plof.p").string();
}

void printWarning(const std::string &message) {
    std::fprintf(stderr, "plof-host: warning: %s\n", message.c_str());
}

}  // namespace plof::tools
