#include "viewer_page.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "host/base/host_error.h"
#include "host/files/file_bytes.h"
#include "host/files/output_file.h"
#include "host/gltf/gltf_file.h"
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

// What is missing of the viewer beside plof-host, and how to get it; "" when
// nothing is.
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

}  // namespace

ViewerPageFiles::ViewerPageFiles(const std::string &exportPath) {
    if (const std::string missing = viewerFilesMissing(); !missing.empty()) {
        throw std::runtime_error("--html: " + missing);
    }
    page_ = readFileBytes((viewerDirectory() / kPage).string(), "viewer page");
    bundle_ = readFileBytes((viewerDirectory() / kBundle).string(), "viewer script");
    const std::size_t marker = page_.find(kDataMarker);
    if (marker == std::string::npos) {
        throw InputError((viewerDirectory() / kPage).string() + ": not the viewer page (its data line is missing)");
    }
    const fs::path exported(exportPath);
    const std::string dataName = exported.filename().string() + ".js";
    page_.replace(marker, kDataMarker.size(),
                  "<script id=\"plof-embedded\" src=\"" + urlEncoded(dataName) + "\"></script>");
    data_.emplace((exported.parent_path() / dataName).string());
    bundleFile_.emplace((exported.parent_path() / kBundle).string());
    pageFile_.emplace(fs::path(exported).replace_extension(".html").string());
}

void ViewerPageFiles::write(const AnimatedScene &scene) {
    data_->write("window.plofEmbeddedGltf = ");
    writeGltf(scene, GltfContainer::text, *data_);  // JSON is a JavaScript expression
    data_->write(";\n");
    bundleFile_->write(bundle_);
    pageFile_->write(page_);
    for (OutputFile *file : {&*data_, &*bundleFile_, &*pageFile_}) file->close();
}

void ViewerPageFiles::commit() {
    for (OutputFile *file : {&*data_, &*bundleFile_, &*pageFile_}) file->commit();
}

}  // namespace plof::tools
