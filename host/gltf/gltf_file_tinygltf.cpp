#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <streambuf>

#include "host/base/code_page_text.h"
#include "host/gltf/gltf_file.h"
#include "host/base/host_error.h"

namespace plof::host {

namespace {

constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// An icosahedron of circumradius 1, faces counter-clockwise seen from outside
// (glTF's front faces).
constexpr double kGolden = 1.618033988749895;
constexpr double kIcosahedronVertices[12][3] = {
    {-1, kGolden, 0}, {1, kGolden, 0}, {-1, -kGolden, 0}, {1, -kGolden, 0},
    {0, -1, kGolden}, {0, 1, kGolden}, {0, -1, -kGolden}, {0, 1, -kGolden},
    {kGolden, 0, -1}, {kGolden, 0, 1}, {-kGolden, 0, -1}, {-kGolden, 0, 1}};
constexpr uint16_t kIcosahedronFaces[60] = {0, 11, 5, 0, 5,  1,  0,  1,  7, 0, 7,  10, 0, 10, 11,
                                            1, 5,  9, 5, 11, 4,  11, 10, 2, 10, 7, 6,  7, 1,  8,
                                            3, 9,  4, 3, 4,  2,  3,  2,  6, 3, 6,  8,  3, 8,  9,
                                            4, 9,  5, 2, 4,  11, 6,  2,  10, 8, 6, 7,  9, 8,  1};

// Builds the model: bytes go into the one buffer, each block described by a
// buffer view or an accessor as it is appended.
class ModelBuilder {
public:
    explicit ModelBuilder(const AnimatedScene &scene) : scene_(scene) {
        model_.asset.generator = "plof-host export";
        model_.asset.extras = tinygltf::Value(tinygltf::Value::Object{
            {"framesPerSecond", tinygltf::Value(scene.fps)},
            {"firstFrame", tinygltf::Value(static_cast<int>(scene.firstFrame))},
            {"lastFrame", tinygltf::Value(static_cast<int>(scene.lastFrame()))}});
        model_.buffers.emplace_back();
        checkSize();
        model_.buffers[0].data.reserve(reservedBytes());
    }

    tinygltf::Model build() {
        const int marker = addMarker();
        addAnimation();
        tinygltf::Scene gltfScene;
        for (std::size_t i = 0; i < scene_.nodes.size(); ++i) {
            model_.nodes.push_back(node(scene_.nodes[i], marker));
            gltfScene.nodes.push_back(static_cast<int>(i));
        }
        model_.scenes.push_back(gltfScene);
        model_.defaultScene = 0;
        return std::move(model_);
    }

private:
    std::vector<unsigned char> &bytes() { return model_.buffers[0].data; }

    // Every block is floats or 16-bit indices, padded to 4 bytes.
    std::size_t reservedBytes() const {
        std::size_t floats = static_cast<std::size_t>(scene_.frameCount);
        for (const AnimatedNode &node : scene_.nodes) {
            floats += node.translations.size() + node.rotations.size() + node.scales.size() * 4;
        }
        return floats * sizeof(float) + sizeof kIcosahedronVertices + sizeof kIcosahedronFaces + 8;
    }

    void checkSize() const {
        if (reservedBytes() > kMostGltfBufferBytes) {
            throw OutputError("the export needs " + std::to_string(reservedBytes() >> 20) +
                              " MiB, more than one glTF buffer holds (2 GiB): export fewer frames or points");
        }
    }

    int addView(std::size_t offset, int target) {
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = offset;
        view.byteLength = bytes().size() - offset;
        view.target = target;
        while (bytes().size() % 4 != 0) bytes().push_back(0);
        model_.bufferViews.push_back(view);
        return static_cast<int>(model_.bufferViews.size() - 1);
    }

    void append(const void *data, std::size_t size) {
        const auto *first = static_cast<const unsigned char *>(data);
        bytes().insert(bytes().end(), first, first + size);
    }

    // An accessor over `values` (components floats per element), appended to
    // the animation view; with bounds when `bounded` (times, positions).
    int addFloats(const float *values, std::size_t count, int type, int components, bool bounded) {
        tinygltf::Accessor accessor;
        accessor.bufferView = animationView_;
        accessor.byteOffset = bytes().size() - animationStart_;
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.type = type;
        accessor.count = count;
        if (bounded) setBounds(accessor, values, count, components);
        append(values, count * components * sizeof(float));
        model_.accessors.push_back(accessor);
        return static_cast<int>(model_.accessors.size() - 1);
    }

    // The validator requires bounds on positions and animation times.
    static void setBounds(tinygltf::Accessor &accessor, const float *values, std::size_t count, int components) {
        const auto width = static_cast<std::size_t>(components);
        accessor.minValues.assign(width, std::numeric_limits<double>::infinity());
        accessor.maxValues.assign(width, -std::numeric_limits<double>::infinity());
        for (std::size_t i = 0; i < count * width; ++i) {
            accessor.minValues[i % width] = std::min<double>(accessor.minValues[i % width], values[i]);
            accessor.maxValues[i % width] = std::max<double>(accessor.maxValues[i % width], values[i]);
        }
    }

    int addMarker() {
        const bool needed = std::any_of(scene_.nodes.begin(), scene_.nodes.end(),
                                        [](const AnimatedNode &node) { return node.hasMarker; });
        if (!needed) return -1;
        const double radius = static_cast<double>(scene_.markerSize) / 2.0;
        const double length = std::sqrt(1.0 + kGolden * kGolden);
        float positions[12][3], normals[12][3];
        for (int v = 0; v < 12; ++v) {
            for (int c = 0; c < 3; ++c) {
                normals[v][c] = static_cast<float>(kIcosahedronVertices[v][c] / length);
                positions[v][c] = static_cast<float>(kIcosahedronVertices[v][c] / length * radius);
            }
        }
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] = vertexAccessor(positions, true);
        primitive.attributes["NORMAL"] = vertexAccessor(normals, false);
        const std::size_t indexStart = bytes().size();
        append(kIcosahedronFaces, sizeof kIcosahedronFaces);
        tinygltf::Accessor indices;
        indices.bufferView = addView(indexStart, kElementArrayBuffer);
        indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        indices.type = TINYGLTF_TYPE_SCALAR;
        indices.count = std::size(kIcosahedronFaces);
        model_.accessors.push_back(indices);
        primitive.indices = static_cast<int>(model_.accessors.size() - 1);

        // Orange, and glowing a little, so particles stand out in any light.
        tinygltf::Material material;
        material.name = "particle";
        material.pbrMetallicRoughness.baseColorFactor = {1.0, 0.45, 0.1, 1.0};
        material.pbrMetallicRoughness.metallicFactor = 0.0;
        material.pbrMetallicRoughness.roughnessFactor = 0.6;
        material.emissiveFactor = {0.35, 0.12, 0.02};
        model_.materials.push_back(material);
        primitive.material = 0;

        tinygltf::Mesh mesh;
        mesh.name = "marker";
        mesh.primitives.push_back(primitive);
        model_.meshes.push_back(mesh);
        return 0;
    }

    int vertexAccessor(const float (&values)[12][3], bool bounded) {
        const std::size_t start = bytes().size();
        tinygltf::Accessor accessor;
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.type = TINYGLTF_TYPE_VEC3;
        accessor.count = 12;
        if (bounded) setBounds(accessor, &values[0][0], 12, 3);
        append(values, sizeof values);
        accessor.bufferView = addView(start, kArrayBuffer);
        model_.accessors.push_back(accessor);
        return static_cast<int>(model_.accessors.size() - 1);
    }

    void addAnimation() {
        animationStart_ = bytes().size();
        // The view's length is known only at the end; it is the last view.
        animationView_ = static_cast<int>(model_.bufferViews.size());
        model_.bufferViews.emplace_back();

        std::vector<float> times(static_cast<std::size_t>(scene_.frameCount));
        for (std::size_t i = 0; i < times.size(); ++i) times[i] = frameTime(static_cast<int32_t>(i));
        const int frameTimes = addFloats(times.data(), times.size(), TINYGLTF_TYPE_SCALAR, 1, true);

        tinygltf::Animation animation;
        animation.name = "frames " + std::to_string(scene_.firstFrame) + ".." +
                         std::to_string(scene_.lastFrame());
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) {
            const AnimatedNode &node = scene_.nodes[n];
            const int target = static_cast<int>(n);
            addChannel(animation, target, "translation", "LINEAR", frameTimes,
                       addFloats(node.translations.data(), node.translations.size() / 3, TINYGLTF_TYPE_VEC3, 3,
                                 false));
            if (!node.rotations.empty()) {
                addChannel(animation, target, "rotation", "LINEAR", frameTimes,
                           addFloats(node.rotations.data(), node.rotations.size() / 4, TINYGLTF_TYPE_VEC4, 4,
                                     false));
            }
            addScaleChannel(animation, target, node.scales);
        }
        model_.animations.push_back(animation);

        tinygltf::BufferView &view = model_.bufferViews[static_cast<std::size_t>(animationView_)];
        view.buffer = 0;
        view.byteOffset = animationStart_;
        view.byteLength = bytes().size() - animationStart_;
    }

    void addScaleChannel(tinygltf::Animation &animation, int target, const std::vector<ScaleKey> &keys) {
        std::vector<float> times, scales;
        for (const ScaleKey &key : keys) {
            times.push_back(frameTime(key.frameIndex));
            scales.insert(scales.end(), key.scale.begin(), key.scale.end());
        }
        const int input = addFloats(times.data(), times.size(), TINYGLTF_TYPE_SCALAR, 1, true);
        const int output = addFloats(scales.data(), keys.size(), TINYGLTF_TYPE_VEC3, 3, false);
        addChannel(animation, target, "scale", "STEP", input, output);
    }

    static void addChannel(tinygltf::Animation &animation, int target, const char *path, const char *interpolation,
                           int input, int output) {
        tinygltf::AnimationSampler sampler;
        sampler.input = input;
        sampler.output = output;
        sampler.interpolation = interpolation;
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size() - 1);
        channel.target_node = target;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }

    float frameTime(int32_t frameIndex) const {
        return static_cast<float>((scene_.firstFrame + frameIndex) / scene_.fps);
    }

    static tinygltf::Node node(const AnimatedNode &source, int marker) {
        tinygltf::Node node;
        node.name = utf8FromCodePage(source.name);
        if (source.hasMarker) node.mesh = marker;
        node.translation.assign(source.translations.begin(), source.translations.begin() + 3);
        if (!source.rotations.empty()) node.rotation.assign(source.rotations.begin(), source.rotations.begin() + 4);
        const std::array<float, 3> &scale = source.scales.front().scale;
        if (scale != std::array<float, 3>{1.0F, 1.0F, 1.0F}) node.scale.assign(scale.begin(), scale.end());
        return node;
    }

    const AnimatedScene &scene_;
    tinygltf::Model model_;
    std::size_t animationStart_ = 0;
    int animationView_ = -1;
};

// tinygltf writes to a stream; this one hands the bytes to the output file
// as they come, so the file is never held in memory whole.
class OutputFileBuffer : public std::streambuf {
public:
    explicit OutputFileBuffer(OutputFile &file) : file_(file) { setp(buffer_, buffer_ + sizeof buffer_); }

protected:
    int_type overflow(int_type c) override {
        sync();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    std::streamsize xsputn(const char *bytes, std::streamsize count) override {
        sync();
        file_.write({bytes, static_cast<std::size_t>(count)});
        return count;
    }
    int sync() override {
        file_.write({pbase(), static_cast<std::size_t>(pptr() - pbase())});
        setp(buffer_, buffer_ + sizeof buffer_);
        return file_.failed() ? -1 : 0;
    }

private:
    OutputFile &file_;
    char buffer_[1 << 16];
};

}  // namespace

bool gltfExportAvailable() { return true; }

void writeGltf(const AnimatedScene &scene, GltfContainer container, OutputFile &out) {
    const tinygltf::Model model = ModelBuilder(scene).build();
    OutputFileBuffer buffer(out);
    std::ostream stream(&buffer);
    tinygltf::TinyGLTF writer;
    const bool binary = container == GltfContainer::binary;
    const bool written = writer.WriteGltfSceneToStream(&model, stream, !binary, binary);
    stream.flush();
    // A failed write is the output file's to report, with the system's reason.
    if (!written && !out.failed()) {
        throw OutputError(out.path() + ": tinygltf could not write the model");
    }
}

}  // namespace plof::host
