// LWOB and LWO2 object files: an IFF FORM of chunks, each a four-letter id,
// a big-endian 32-bit size and the data padded to an even length.
#include "host/objects/lightwave_object.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "host/base/host_error.h"
#include "host/base/quoted_text.h"
#include "host/objects/object_points.h"

namespace plof::host {

namespace {

uint32_t readBigEndian32(const unsigned char *p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

float readBigEndianFloat(const unsigned char *p) {
    const uint32_t bits = readBigEndian32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

[[noreturn]] void fail(const std::string &fileName, const std::string &what) {
    throw InputError(fileName + ": " + what);
}

}  // namespace

std::vector<float> parseLightWaveObject(std::string_view bytes, const std::string &fileName) {
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 12 || std::memcmp(data, "FORM", 4) != 0) {
        fail(fileName, "not a LightWave object (no FORM header)");
    }
    const bool lwo2 = std::memcmp(data + 8, "LWO2", 4) == 0;
    if (!lwo2 && std::memcmp(data + 8, "LWOB", 4) != 0) {
        fail(fileName, "FORM of type '" + escapedBytes(bytes.substr(8, 4)) + "' is not an LWOB or LWO2 object");
    }
    const uint64_t formEnd = uint64_t{8} + readBigEndian32(data + 4);
    if (formEnd > size) {
        fail(fileName,
             "truncated: the FORM claims " + std::to_string(formEnd) + " bytes, the file has " + std::to_string(size));
    }

    std::vector<float> points;
    uint64_t offset = 12;
    while (offset < formEnd) {
        if (formEnd - offset < 8) {
            fail(fileName, "truncated chunk header at byte " + std::to_string(offset));
        }
        const std::string id(bytes.substr(static_cast<std::size_t>(offset), 4));
        const uint64_t chunkSize = readBigEndian32(data + offset + 4);
        const uint64_t chunkStart = offset + 8;
        if (chunkSize > formEnd - chunkStart) {
            fail(fileName, "truncated: chunk " + escapedBytes(id) + " at byte " + std::to_string(offset) + " claims " +
                               std::to_string(chunkSize) + " bytes past the end of the FORM");
        }
        if (id == "PNTS") {
            if (chunkSize % 12 != 0) {
                fail(fileName, "malformed PNTS chunk at byte " + std::to_string(offset) + ": its size " +
                                   std::to_string(chunkSize) + " is not a whole number of points");
            }
            if (points.size() / 3 + chunkSize / 12 > kMaxObjectPoints) {
                fail(fileName, "more than " + std::to_string(kMaxObjectPoints) + " points");
            }
            for (uint64_t p = chunkStart; p < chunkStart + chunkSize; p += 4) {
                const float value = readBigEndianFloat(data + p);
                if (!std::isfinite(value)) {
                    fail(fileName, "point " + std::to_string(points.size() / 3) + " is not a finite number");
                }
                points.push_back(value);
            }
        }
        offset = chunkStart + chunkSize + (chunkSize & 1u);
    }
    return points;
}

}  // namespace plof::host
