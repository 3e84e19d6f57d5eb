#include "viewer_page.h"

#include <cctype>
#include <filesystem>

#include "host/files/file_bytes.h"
#include "host/base/host_error.h"
#include "host/gltf/gltf_file.h"
#include "host/files/output_file.h"
#include "program_location.h"

namespace plof::tools {

namespace {

namespace fs = std::filesystem;
using namespace plof::host;

constexpr const char *kBundle = "plof-viewer.js";
constexpr const char *kPage = "index.html";
// The line of index.html that a written page replaces by its data script.
constexpr std::string_view kDataMarker = "<!-- plof-host export: the file's data script -->";

fs::path viewerDirectory() { return fs::path(executableDirectory()) / "viewer"; }

// `name` as a relative URL: every byte but the unreserved ones percent-encoded.
std::string urlEncoded(const std::string &name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url;
    for (const unsigned char c : name) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

}  // namespace

std::string viewerFilesMissing() {
    for (const char *name : {kPage, kBundle}) {
        std::error_code error;
        if (!fs::is_regular_file(viewerDirectory() / name, error)) {
            return (viewerDirectory() / name).string() +
                   " is missing: the viewer is built when node_modules is there (scripts/install-deps runs "
                   "npm ci), then configure and build again";
        }
    }
    return "";
}

std::vector<std::string> writeViewerPage(const std::string &exportPath, const AnimatedScene &scene) {
    const fs::path exported(exportPath);
    const std::string dataName = exported.filename().string() + ".js";
    std::string page = readFileBytes((viewerDirectory() / kPage).string(), "viewer page");
    const std::size_t marker = page.find(kDataMarker);
    if (marker == std::string::npos) {
        throw InputError((viewerDirectory() / kPage).string() + ": not the viewer page (its data line is missing)");
    }
    page.replace(marker, kDataMarker.size(), "<script id=\"plof-embedded\" src=\"" + urlEncoded(dataName) + "\"></script>");

    const fs::path directory = exported.parent_path();
    fs::path pagePath = exported;
    pagePath.replace_extension(".html");
    const std::vector<std::string> written = {pagePath.string(), (directory / kBundle).string(),
                                              (directory / dataName).string()};
    OutputFile data(written[2]);
    data.write("window.plofEmbeddedGltf = ");
    writeGltf(scene, GltfContainer::text, data);  // JSON is a JavaScript expression
    data.write(";\n");
    data.commit();
    writeOutputFile(written[1], readFileBytes((viewerDirectory() / kBundle).string(), "viewer script"));
    writeOutputFile(written[0], page);
    return written;
}

}  // namespace plof::tools
