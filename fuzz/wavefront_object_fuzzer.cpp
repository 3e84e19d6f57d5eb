// Wavefront OBJ files: bad input may only be an InputError; the points read are
// whole triples of finite numbers.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "host/base/host_error.h"
#include "host/objects/wavefront_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    try {
        plof::fuzz::checkPoints(plof::host::parseWavefrontObject(plof::fuzz::textOf(data, size), "fuzz.obj"));
    } catch (const plof::host::InputError &) {
    }
    return 0;
}
