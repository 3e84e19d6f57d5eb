// LWSC scene text as the stand-in host reads it. Bad input may only be an
// InputError; a scene that was read must also be written back (as
// --save-scene does) into text that reads again to the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "host/base/host_error.h"
#include "host/scene/scene_reader.h"
#include "host/scene/scene_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    plof::host::HostScene scene;
    try {
        scene = plof::host::parseSceneText(plof::fuzz::textOf(data, size), "fuzz.lws");
    } catch (const plof::host::InputError &) {
        return 0;
    }
    const std::string written = plof::host::sceneText(scene);
    std::string rewritten;
    try {
        rewritten = plof::host::sceneText(plof::host::parseSceneText(written, "written.lws"));
    } catch (const plof::host::InputError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        plof::fuzz::check(false, "a scene written back reads again");
    }
    plof::fuzz::check(rewritten == written, "a scene written back reads as it was written");
    return 0;
}
