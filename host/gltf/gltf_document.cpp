#include "host/gltf/gltf_document.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "host/base/code_page_text.h"
#include "host/base/number_text.h"
#include "host/gltf/base64_encoder.h"

namespace plof::host {

namespace {

constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;

// An icosahedron of circumradius 1, faces counter-clockwise seen from outside
// (glTF's front faces).
constexpr double kGolden = 1.618033988749895;
constexpr double kIcosahedronVertices[12][3] = {{-1, kGolden, 0}, {1, kGolden, 0}, {-1, -kGolden, 0}, {1, -kGolden, 0},
                                                {0, -1, kGolden}, {0, 1, kGolden}, {0, -1, -kGolden}, {0, 1, -kGolden},
                                                {kGolden, 0, -1}, {kGolden, 0, 1}, {-kGolden, 0, -1}, {-kGolden, 0, 1}};
constexpr uint16_t kIcosahedronFaces[60] = {0, 11, 5,  0, 5,  1, 0, 1, 7, 0, 7,  10, 0, 10, 11, 1, 5, 9, 5, 11,
                                            4, 11, 10, 2, 10, 7, 6, 7, 1, 8, 3,  9,  4, 3,  4,  2, 3, 2, 6, 3,
                                            6, 8,  3,  8, 9,  4, 9, 5, 2, 4, 11, 6,  2, 10, 8,  6, 7, 9, 8, 1};
constexpr std::size_t kMarkerBytes = 2 * sizeof(float[12][3]) + sizeof kIcosahedronFaces;
static_assert(sizeof kIcosahedronFaces % 4 == 0, "blocks stay aligned to 4 bytes");

struct Marker {
    float positions[12][3];
    float normals[12][3];
};

Marker marker(float diameter) {
    const double radius = static_cast<double>(diameter) / 2.0;
    const double length = std::sqrt(1.0 + kGolden * kGolden);
    Marker result{};
    for (int v = 0; v < 12; ++v) {
        for (int c = 0; c < 3; ++c) {
            result.normals[v][c] = static_cast<float>(kIcosahedronVertices[v][c] / length);
            result.positions[v][c] = static_cast<float>(kIcosahedronVertices[v][c] / length * radius);
        }
    }
    return result;
}

bool hasMarker(const AnimatedScene &scene) {
    return std::any_of(scene.nodes.begin(), scene.nodes.end(), [](const AnimatedNode &node) { return node.hasMarker; });
}

float frameTime(const AnimatedScene &scene, int32_t frameIndex) {
    return static_cast<float>((scene.firstFrame + frameIndex) / scene.fps);
}

std::string_view bytesOf(const void *data, std::size_t size) { return {static_cast<const char *>(data), size}; }

// A node's animation blocks in buffer order: translations, rotations, scale
// keys' times, scale keys' values (element counts; rotations 0 when none).
struct NodeBlocks {
    std::size_t frames, rotations, keys;
    uint64_t bytes() const { return (frames * 3 + rotations * 4 + keys * 4) * sizeof(float); }
};

NodeBlocks blocksOf(const AnimatedNode &node) {
    return {node.translations.size() / 3, node.rotations.size() / 4, node.scales.size()};
}

std::string number(float value) { return shortestText(static_cast<double>(value)); }

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text) {
    std::string result = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            result += "\\u00";
            result += kHex[(c >> 4) & 15];
            result += kHex[c & 15];
        } else {
            result += c;
        }
    }
    return result + '"';
}

template <typename Values>
std::string array(const Values &values) {
    std::string result = "[";
    for (const auto value : values) result += (result.size() > 1 ? "," : "") + number(value);
    return result + ']';
}

// Writes the JSON's members in the order glTF lists them; each section
// counts accessors and byte offsets in the buffer's order (gltf_document.h).
class JsonWriter {
public:
    JsonWriter(const AnimatedScene &scene, const GltfSink &sink)
        : scene_(scene), sink_(sink), marker_(hasMarker(scene)) {}

    void write(bool embedBuffer) {
        put("{\"asset\":{\"version\":\"2.0\",\"generator\":\"plof-host export\",\"extras\":{\"framesPerSecond\":" +
            shortestText(scene_.fps) + ",\"firstFrame\":" + std::to_string(scene_.firstFrame) +
            ",\"lastFrame\":" + std::to_string(scene_.lastFrame()) + "}},\"scene\":0,\"scenes\":[{\"nodes\":[");
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) put((n > 0 ? "," : "") + std::to_string(n));
        put("]}],\"nodes\":[");
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) node(n);
        put("]");
        if (marker_) markerMesh();
        accessors();
        bufferViews();
        animation();
        put(",\"buffers\":[{\"byteLength\":" + std::to_string(gltfBufferBytes(scene_)));
        if (embedBuffer) {
            put(",\"uri\":\"data:application/octet-stream;base64,");
            Base64Encoder encoder(sink_);
            writeGltfBuffer(scene_, [&](std::string_view bytes) { encoder.add(bytes); });
            encoder.finish();
            put("\"");
        }
        put("}]}");
    }

private:
    void put(std::string_view text) { sink_(text); }

    void node(std::size_t n) {
        const AnimatedNode &source = scene_.nodes[n];
        std::string text = (n > 0 ? ",{\"name\":" : "{\"name\":") + jsonString(utf8FromCodePage(source.name));
        if (source.hasMarker) text += ",\"mesh\":0";
        text += ",\"translation\":" +
                array(std::array<float, 3>{source.translations[0], source.translations[1], source.translations[2]});
        if (!source.rotations.empty()) {
            text += ",\"rotation\":" + array(std::array<float, 4>{source.rotations[0], source.rotations[1],
                                                                  source.rotations[2], source.rotations[3]});
        }
        const std::array<float, 3> &scale = source.scales.front().scale;
        if (scale != std::array<float, 3>{1.0F, 1.0F, 1.0F}) text += ",\"scale\":" + array(scale);
        put(text + "}");
    }

    void markerMesh() {
        // Orange, and glowing a little, so particles stand out in any light.
        put(",\"materials\":[{\"name\":\"particle\",\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,0.45,0.1,1],"
            "\"metallicFactor\":0,\"roughnessFactor\":0.6},\"emissiveFactor\":[0.35,0.12,0.02]}],"
            "\"meshes\":[{\"name\":\"marker\",\"primitives\":[{\"attributes\":{\"POSITION\":0,\"NORMAL\":1},"
            "\"indices\":2,\"material\":0,\"mode\":4}]}]");
    }

    // One accessor; `bounds` (min, max) where the validator asks for them.
    void accessor(int view, uint64_t offset, int type, std::size_t count, const char *shape,
                  const std::string &bounds = {}) {
        put((accessors_++ > 0 ? ",{\"bufferView\":" : "{\"bufferView\":") + std::to_string(view) +
            ",\"byteOffset\":" + std::to_string(offset) + ",\"componentType\":" + std::to_string(type) +
            ",\"count\":" + std::to_string(count) + ",\"type\":\"" + shape + "\"" + bounds + "}");
    }

    static std::string timeBounds(float first, float last) {
        return ",\"min\":[" + number(first) + "],\"max\":[" + number(last) + "]";
    }

    void accessors() {
        put(",\"accessors\":[");
        if (marker_) {
            const Marker shape = marker(scene_.markerSize);
            std::array<float, 3> low{}, high{};
            for (int c = 0; c < 3; ++c) {
                low[c] = high[c] = shape.positions[0][c];
                for (const auto &vertex : shape.positions) {
                    low[c] = std::min(low[c], vertex[c]);
                    high[c] = std::max(high[c], vertex[c]);
                }
            }
            accessor(0, 0, kFloat, 12, "VEC3", ",\"min\":" + array(low) + ",\"max\":" + array(high));
            accessor(1, 0, kFloat, 12, "VEC3");
            accessor(2, 0, kUnsignedShort, std::size(kIcosahedronFaces), "SCALAR");
        }
        const int view = marker_ ? 3 : 0;
        const auto frames = static_cast<std::size_t>(scene_.frameCount);
        accessor(view, 0, kFloat, frames, "SCALAR",
                 timeBounds(frameTime(scene_, 0), frameTime(scene_, scene_.frameCount - 1)));
        uint64_t offset = frames * sizeof(float);
        for (const AnimatedNode &node : scene_.nodes) {
            const NodeBlocks blocks = blocksOf(node);
            accessor(view, offset, kFloat, blocks.frames, "VEC3");
            offset += blocks.frames * 3 * sizeof(float);
            if (blocks.rotations > 0) {
                accessor(view, offset, kFloat, blocks.rotations, "VEC4");
                offset += blocks.rotations * 4 * sizeof(float);
            }
            accessor(view, offset, kFloat, blocks.keys, "SCALAR",
                     timeBounds(frameTime(scene_, node.scales.front().frameIndex),
                                frameTime(scene_, node.scales.back().frameIndex)));
            offset += blocks.keys * sizeof(float);
            accessor(view, offset, kFloat, blocks.keys, "VEC3");
            offset += blocks.keys * 3 * sizeof(float);
        }
        put("]");
    }

    void bufferViews() {
        const uint64_t animationStart = marker_ ? kMarkerBytes : 0;
        std::string text = ",\"bufferViews\":[";
        if (marker_) {
            text += "{\"buffer\":0,\"byteOffset\":0,\"byteLength\":144,\"target\":" + std::to_string(kArrayBuffer) +
                    "},{\"buffer\":0,\"byteOffset\":144,\"byteLength\":144,\"target\":" + std::to_string(kArrayBuffer) +
                    "},{\"buffer\":0,\"byteOffset\":288,\"byteLength\":" + std::to_string(sizeof kIcosahedronFaces) +
                    ",\"target\":" + std::to_string(kElementArrayBuffer) + "},";
        }
        text += "{\"buffer\":0,\"byteOffset\":" + std::to_string(animationStart) +
                ",\"byteLength\":" + std::to_string(gltfBufferBytes(scene_) - animationStart) + "}]";
        put(text);
    }

    // Per node: a translation sampler and channel, a rotation pair when it
    // turns, a scale pair; the accessors are numbered as accessors() wrote them.
    void animation() {
        put(",\"animations\":[{\"name\":" +
            jsonString("frames " + std::to_string(scene_.firstFrame) + ".." + std::to_string(scene_.lastFrame())) +
            ",\"samplers\":[");
        const int times = marker_ ? 3 : 0;
        int next = times + 1;
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) {
            std::string text = n > 0 ? "," : "";
            text += sampler(times, next++, "LINEAR");
            if (!scene_.nodes[n].rotations.empty()) text += "," + sampler(times, next++, "LINEAR");
            text += "," + sampler(next, next + 1, "STEP");
            next += 2;
            put(text);
        }
        put("],\"channels\":[");
        int samplerIndex = 0;
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) {
            std::string text = n > 0 ? "," : "";
            text += channel(samplerIndex++, n, "translation");
            if (!scene_.nodes[n].rotations.empty()) text += "," + channel(samplerIndex++, n, "rotation");
            text += "," + channel(samplerIndex++, n, "scale");
            put(text);
        }
        put("]}]");
    }

    static std::string sampler(int input, int output, const char *interpolation) {
        return "{\"input\":" + std::to_string(input) + ",\"output\":" + std::to_string(output) +
               ",\"interpolation\":\"" + interpolation + "\"}";
    }

    static std::string channel(int sampler, std::size_t node, const char *path) {
        return "{\"sampler\":" + std::to_string(sampler) + ",\"target\":{\"node\":" + std::to_string(node) +
               ",\"path\":\"" + path + "\"}}";
    }

    const AnimatedScene &scene_;
    const GltfSink &sink_;
    const bool marker_;
    int accessors_ = 0;
};

}  // namespace

uint64_t gltfBufferBytes(const AnimatedScene &scene) {
    uint64_t bytes = (hasMarker(scene) ? kMarkerBytes : 0) + static_cast<uint64_t>(scene.frameCount) * sizeof(float);
    for (const AnimatedNode &node : scene.nodes) bytes += blocksOf(node).bytes();
    return bytes;
}

void writeGltfBuffer(const AnimatedScene &scene, const GltfSink &sink) {
    if (hasMarker(scene)) {
        const Marker shape = marker(scene.markerSize);
        sink(bytesOf(shape.positions, sizeof shape.positions));
        sink(bytesOf(shape.normals, sizeof shape.normals));
        sink(bytesOf(kIcosahedronFaces, sizeof kIcosahedronFaces));
    }
    std::vector<float> floats(static_cast<std::size_t>(scene.frameCount));
    for (std::size_t i = 0; i < floats.size(); ++i) floats[i] = frameTime(scene, static_cast<int32_t>(i));
    sink(bytesOf(floats.data(), floats.size() * sizeof(float)));
    for (const AnimatedNode &node : scene.nodes) {
        sink(bytesOf(node.translations.data(), node.translations.size() * sizeof(float)));
        sink(bytesOf(node.rotations.data(), node.rotations.size() * sizeof(float)));
        floats.clear();
        for (const ScaleKey &key : node.scales) floats.push_back(frameTime(scene, key.frameIndex));
        for (const ScaleKey &key : node.scales) floats.insert(floats.end(), key.scale.begin(), key.scale.end());
        sink(bytesOf(floats.data(), floats.size() * sizeof(float)));
    }
}

void writeGltfJson(const AnimatedScene &scene, const GltfSink &sink, bool embedBuffer) {
    JsonWriter(scene, sink).write(embedBuffer);
}

}  // namespace plof::host
