// The viewer page that `plof-host export --html` writes beside the exported
// file X.glb (or X.gltf):
//   X.html          the page (viewer/index.html), set to open the file;
//   plof-viewer.js  three.js and the viewer in one classic script;
//   X.glb.js        the file once more, as glTF JSON in a script.
// Browsers refuse module scripts and fetch() to a page opened from disk, but
// run classic scripts beside it: so the page needs no server. The page and
// its script are built beside plof-host (viewer/ in its directory).
#pragma once

#include <string>
#include <vector>

#include "host/gltf/animated_scene.h"

namespace plof::tools {

// "" when the viewer's files are beside plof-host; else what is missing and
// how to get it.
std::string viewerFilesMissing();

// Writes the three files for the export at `exportPath` holding `scene` and
// returns their paths: the page, its script, the data script. Throws
// OutputError (InputError when the viewer's own files cannot be read).
std::vector<std::string> writeViewerPage(const std::string &exportPath, const host::AnimatedScene &scene);

}  // namespace plof::tools
