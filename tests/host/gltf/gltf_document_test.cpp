// The streamed glTF document: base64 of data that arrives in uneven pieces
// is the RFC's; names with quotes, backslashes and control characters stay
// one JSON string each; the JSON's buffer, views and accessors agree with
// the bytes the buffer writer produces.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "host/gltf/base64_encoder.h"
#include "host/gltf/gltf_document.h"

namespace plof::host {
namespace {

std::string base64(std::string_view bytes, std::size_t piece) {
    std::string text;
    const std::function<void(std::string_view)> sink = [&](std::string_view part) { text += part; };
    Base64Encoder encoder(sink);
    for (std::size_t i = 0; i < bytes.size(); i += piece) encoder.add(bytes.substr(i, piece));
    encoder.finish();
    return text;
}

TEST(Base64Encoder, RfcVectorsWholeAndByteByByte) {
    const std::pair<const char *, const char *> vectors[] = {{"", ""},
                                                             {"f", "Zg=="},
                                                             {"fo", "Zm8="},
                                                             {"foo", "Zm9v"},
                                                             {"foob", "Zm9vYg=="},
                                                             {"fooba", "Zm9vYmE="},
                                                             {"foobar", "Zm9vYmFy"}};
    for (const auto &[bytes, text] : vectors) {
        EXPECT_EQ(base64(bytes, 100), text) << bytes;
        EXPECT_EQ(base64(bytes, 1), text) << bytes;
    }
    EXPECT_EQ(base64(std::string("\xff\x00\xfe", 3), 2), "/wD+");
}

AnimatedScene twoNodes() {
    AnimatedScene scene;
    scene.frameCount = 3;
    AnimatedNode point;
    point.name = "say \"hi\"\\\t\x01";
    point.translations.assign(9, 1.5F);
    point.scales = {{0, {1.0F, 1.0F, 1.0F}}, {2, {0.0F, 0.0F, 0.0F}}};
    AnimatedNode null = point;
    null.name = "null";
    null.hasMarker = false;
    null.rotations.assign(12, 0.5F);
    scene.nodes = {point, null};
    return scene;
}

TEST(GltfDocument, JsonNamesAndBufferAgreeWithTheBytes) {
    const AnimatedScene scene = twoNodes();
    std::string bytes, text;
    writeGltfBuffer(scene, [&](std::string_view part) { bytes += part; });
    writeGltfJson(
        scene, [&](std::string_view part) { text += part; }, false);
    ASSERT_EQ(bytes.size(), gltfBufferBytes(scene));
    const nlohmann::json json = nlohmann::json::parse(text);
    EXPECT_EQ(json["nodes"][0]["name"], scene.nodes[0].name);
    EXPECT_FALSE(json["nodes"][1].contains("mesh"));
    EXPECT_EQ(json["buffers"][0]["byteLength"], bytes.size());
    EXPECT_FALSE(json["buffers"][0].contains("uri"));
    // Every accessor ends inside its view, and the last one at the buffer's end.
    std::size_t end = 0;
    for (const nlohmann::json &accessor : json["accessors"]) {
        const nlohmann::json &view = json["bufferViews"][accessor["bufferView"].get<std::size_t>()];
        const std::size_t width = accessor["type"] == "VEC4" ? 16 : accessor["type"] == "VEC3" ? 12 : 4;
        const std::size_t size = accessor["componentType"] == 5123 ? accessor["count"].get<std::size_t>() * 2
                                                                   : accessor["count"].get<std::size_t>() * width;
        EXPECT_LE(accessor["byteOffset"].get<std::size_t>() + size, view["byteLength"].get<std::size_t>());
        end = view["byteOffset"].get<std::size_t>() + accessor["byteOffset"].get<std::size_t>() + size;
    }
    EXPECT_EQ(end, bytes.size());
    // Per node: translation, scale; the null also rotation.
    EXPECT_EQ(json["animations"][0]["channels"].size(), 5u);

    std::string embedded;
    writeGltfJson(
        scene, [&](std::string_view part) { embedded += part; }, true);
    EXPECT_EQ(nlohmann::json::parse(embedded)["buffers"][0]["uri"],
              "data:application/octet-stream;base64," + base64(bytes, 7));
}

}  // namespace
}  // namespace plof::host
