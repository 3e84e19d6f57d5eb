// Splitting a text file's bytes into lines, as every reader of the host
// (scenes, settings files) sees them.
#pragma once

#include <string_view>
#include <vector>

namespace plof::host {

// Splits text into lines at LF, dropping one CR before each LF; a last line
// without a line end counts as a line. The views point into `text`.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace plof::host
