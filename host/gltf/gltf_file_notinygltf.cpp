#include "host/gltf/gltf_file.h"
#include "host/host_error.h"

namespace plof::host {

bool gltfExportAvailable() { return false; }

std::string gltfFileBytes(const AnimatedScene &, GltfContainer) {
    throw OutputError("glTF export is not available in this build (it was built without tinygltf)");
}

}  // namespace plof::host
