// The scene the frame benchmarks play: one emitter, a line of `points`
// points carrying the effect, still or moving 6 units along X while turning
// 90 degrees over frames 0 to 60. Every particle is born within the first
// second and flies for 60 to 99 frames, so frames 30 to 59 have (nearly)
// every particle in flight; with resistance each particle in flight runs the
// module's exponential series. frame_bench (Google Benchmark) and
// frame_timing (also built as WebAssembly) play the same.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/objects/builtin_shapes.h"
#include "host/scene/host_scene.h"

namespace plof::bench {

// The frames of the scene where (nearly) every particle is in flight.
inline constexpr int32_t kFirstFlightFrame = 30;
inline constexpr int32_t kLastFlightFrame = 59;

inline std::vector<std::string> settingsFor(int64_t points, bool resistance) {
    return {"PLOF_START",
            "V0Min 1.000000",
            "V0Max 4.000000",
            "AgeMin 60.000000",
            "AgeMax 100.000000",
            "Gravity 9.800000",
            resistance ? "Regist 0.200000" : "Regist 0.000000",
            "START_F 0.000000",
            "Birth " + std::to_string(points) + ".000000",
            "ReCycle 1.000000",
            "SpreadMin 0.000000",
            "SpreadMax 180.000000",
            "OrgEmit 0.000000",
            "REFERENCE",
            "none",
            "PLOF_END"};
}

inline host::HostScene frameScene(int64_t points, bool moving, bool resistance) {
    using namespace plof::host;
    HostScene scene;
    HostItem emitter = makeObjectItem("Emitter", "bench", builtinShapePoints("builtin:line:" + std::to_string(points)));
    MotionKey start, end;
    end.frame = 60;
    end.values[kX] = 6.0;
    end.values[kHeading] = 90.0;
    emitter.motion = moving ? std::vector<MotionKey>{start, end} : std::vector<MotionKey>{start};
    emitter.hasEffect = true;
    emitter.effectLines = settingsFor(points, resistance);
    scene.items.push_back(std::move(emitter));
    return scene;
}

}  // namespace plof::bench
