// The glTF 2.0 document of an AnimatedScene (gltf_file.h says what it
// holds), produced in pieces: neither its JSON nor its buffer is ever held
// whole, so an export needs little more memory than the scene it writes.
//
// The one buffer holds, each block padded to 4 bytes: the marker's
// positions, normals and 16-bit indices (when a node carries the marker),
// the frame times, then per node its translations, its rotations (when it
// turns), its scale keys' times and its scale keys' values, all float32
// little-endian.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "host/gltf/animated_scene.h"

namespace plof::host {

// Receives the document's text or bytes in order, a piece at a time.
using GltfSink = std::function<void(std::string_view)>;

// Bytes of the scene's buffer (a multiple of 4).
uint64_t gltfBufferBytes(const AnimatedScene &scene);

// The buffer's bytes, to `sink`.
void writeGltfBuffer(const AnimatedScene &scene, const GltfSink &sink);

// The JSON text (UTF-8, no byte-order mark), to `sink`. With `embedBuffer`
// the buffer is in it as a base64 data: URI (a .gltf file); without, the
// buffer has no URI: it is the binary chunk of a .glb file.
void writeGltfJson(const AnimatedScene &scene, const GltfSink &sink, bool embedBuffer);

}  // namespace plof::host
