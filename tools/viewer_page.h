// The viewer page that `plof-host export --html` writes beside the exported
// file X.glb (or X.gltf):
//   X.html          the page (viewer/index.html), set to open the file;
//   plof-viewer.js  three.js and the viewer in one classic script;
//   X.glb.js        the file once more, as glTF JSON in a script.
// Browsers refuse module scripts and fetch() to a page opened from disk, but
// run classic scripts beside it: so the page needs no server. The page and
// its script are built beside plof-host (viewer/ in its directory).
#pragma once

#include <optional>
#include <string>

#include "host/files/output_file.h"
#include "host/gltf/animated_scene.h"

namespace plof::tools {

class ViewerPageFiles {
public:
    // Reads the viewer's own files and opens the three files for the export
    // at `exportPath`, before anything is played: throws std::runtime_error
    // saying how to build the viewer when it is not beside plof-host,
    // InputError when its files cannot be read, OutputError when a file
    // cannot be made (a directory in its place, a missing directory).
    explicit ViewerPageFiles(const std::string &exportPath);

    // Writes the three files holding `scene`, then closes them (not yet in
    // place). Throws OutputError.
    void write(const host::AnimatedScene &scene);

    // Puts the three files in place. Throws OutputError.
    void commit();

    // The three files' paths as given: the page, its script, the data script.
    std::string pagePath() const { return pageFile_->path(); }
    std::string bundlePath() const { return bundleFile_->path(); }
    std::string dataPath() const { return data_->path(); }

private:
    std::string page_;
    std::string bundle_;
    std::optional<host::OutputFile> data_, bundleFile_, pageFile_;
};

}  // namespace plof::tools
