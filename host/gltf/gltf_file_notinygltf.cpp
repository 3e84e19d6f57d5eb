#include "host/gltf/gltf_file.h"
#include "host/base/host_error.h"

namespace plof::host {

bool gltfExportAvailable() { return false; }

void writeGltf(const AnimatedScene &, GltfContainer, OutputFile &) {
    throw OutputError("glTF export is not available in this build (it was built without tinygltf)");
}

}  // namespace plof::host
