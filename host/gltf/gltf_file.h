// An AnimatedScene as a glTF 2.0 file: binary (.glb) or JSON with the
// buffer embedded (.gltf), streamed to the file (gltf_document.h).
//
// The file holds one scene with one node per AnimatedNode (in order, at the
// root), a shared marker mesh (an icosahedron of the scene's marker size)
// that marked nodes carry, and one animation: per node a translation channel
// with a key at every frame (LINEAR), a rotation channel likewise when the
// node turns, and a scale channel with a key where the scale changes (STEP,
// so a hidden node does not grow in from nothing). The asset's extras hold
// {"framesPerSecond", "firstFrame", "lastFrame"} for viewers. Each node's own
// transform is its first frame's.
#pragma once

#include <cstddef>

#include "host/files/output_file.h"
#include "host/gltf/animated_scene.h"

namespace plof::host {

enum class GltfContainer { binary, text };

// The most bytes one file's buffer holds here: readers such as tinygltf keep
// offsets in int.
inline constexpr std::size_t kMostGltfBufferBytes = 2147483644;

// Appends the file's bytes to `out` (the caller commits it). Throws
// OutputError when the scene does not fit a glTF buffer (2 GiB) or a .glb
// file (4 GiB); a failure to write is reported by out.commit().
void writeGltf(const AnimatedScene &scene, GltfContainer container, OutputFile &out);

}  // namespace plof::host
