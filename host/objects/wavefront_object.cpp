// Wavefront OBJ files: only the vertex lines ("v x y z [w]") matter to the
// host; every other line is skipped.
#include "host/objects/wavefront_object.h"

#include <algorithm>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/quoted_text.h"
#include "host/objects/object_points.h"

namespace plof::host {

namespace {

// Reads the next blank-separated number of `rest`; false when there is none.
bool nextNumber(std::string_view &rest, float &value) {
    const auto start = rest.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return false;
    }
    rest.remove_prefix(start);
    const auto end = std::min(rest.find_first_of(" \t"), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    const auto number = parseFloat32(word);
    if (number) value = *number;
    return number.has_value();
}

}  // namespace

std::vector<float> parseWavefrontObject(std::string_view text, const std::string &fileName) {
    std::vector<float> points;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.find('\0') != std::string_view::npos) {
            throw InputError(fileName + ": line " + std::to_string(lineNumber) +
                             ": binary data in a Wavefront OBJ file");
        }
        if (line.size() < 2 || line[0] != 'v' || (line[1] != ' ' && line[1] != '\t')) {
            continue;
        }
        std::string_view rest = line.substr(2);
        float xyz[3];
        for (float &value : xyz) {
            if (!nextNumber(rest, value)) {
                throw InputError(fileName + ": line " + std::to_string(lineNumber) +
                                 ": a vertex line needs three finite numbers: " + quotedText(line));
            }
        }
        if (points.size() / 3 >= kMaxObjectPoints) {
            throw InputError(fileName + ": more than " + std::to_string(kMaxObjectPoints) + " points");
        }
        points.insert(points.end(), xyz, xyz + 3);
    }
    return points;
}

}  // namespace plof::host
