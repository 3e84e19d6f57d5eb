#include "host/objects/object_file.h"

#include <filesystem>
#include <system_error>

#include "host/base/file_extension.h"
#include "host/base/host_error.h"
#include "host/files/file_bytes.h"
#include "host/objects/builtin_shapes.h"
#include "host/objects/lightwave_object.h"
#include "host/objects/wavefront_object.h"

namespace plof::host {

std::vector<float> loadObjectPoints(const std::string &source) {
    if (isBuiltinShape(source)) {
        return builtinShapePoints(source);
    }
    std::error_code error;
    if (const std::string shape = builtinShapeFor(source); !shape.empty() && !std::filesystem::exists(source, error)) {
        throw InputError(source + ": no such object file; for the built-in shape write " + shape +
                         " (N: the number of points)");
    }
    const std::string bytes = readFileBytes(source, "object file");
    if (bytes.starts_with("FORM")) {
        return parseLightWaveObject(bytes, source);
    }
    if (hasExtension(source, ".obj")) {
        return parseWavefrontObject(bytes, source);
    }
    if (hasExtension(source, ".lwo") || hasExtension(source, ".lw")) {
        return parseLightWaveObject(bytes, source);  // reports the missing FORM header
    }
    throw InputError(source +
                     ": unknown object format; use an LWOB or LWO2 file (FORM header) or a "
                     "Wavefront .obj file");
}

bool isObjectFileName(std::string_view path) {
    return hasExtension(path, ".lwo") || hasExtension(path, ".lw") || hasExtension(path, ".obj");
}

std::string objectItemName(std::string_view source) {
    if (isBuiltinShape(source)) {
        const std::string_view shapeText = source.substr(std::string_view("builtin:").size());
        return std::string(shapeText.substr(0, shapeText.find(':')));
    }
    // Both separators: scenes written on Windows name files with backslashes.
    const auto slash = source.find_last_of("/\\");
    std::string_view base = slash == std::string_view::npos ? source : source.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        base = base.substr(0, dot);
    }
    return std::string(base);
}

}  // namespace plof::host
