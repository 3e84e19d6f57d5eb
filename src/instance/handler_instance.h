// HandlerInstance: what the module keeps for each object carrying the effect.
//
// The host creates, copies and destroys instances through the handler table
// and hands the pointer back to every handler operation. The record is one
// zero-filled allocation (object file list included); the particle array is a
// second one, owned by the instance. Settings are named after the keywords of
// their saved form. Buffer sizes are behaviour: names and lines are cut to them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "plof/abi.h"
#include "sim/particle.h"

namespace plof {

inline constexpr std::size_t kLineBufferSize = 256;  // lines, file names, refName
inline constexpr std::size_t kObjectListEntries = 256;
inline constexpr std::size_t kDescriptionSize = 64;  // "PLOF! num is -2147483648 " fits
inline constexpr int32_t kObjectListMaxCount = 255;  // the last entry is never used

using LineBuffer = std::array<char, kLineBufferSize>;

// The object files that stand for particles in a baked scene. A new list holds
// one placeholder entry, "none", with count 1.
struct ObjectList {
    std::array<LineBuffer, kObjectListEntries> names;
    int32_t count;
};

struct HandlerInstance {
    PlofItemId item;      // the object the instance belongs to
    int32_t pointCount;   // number of particles
    int32_t pointCursor;  // particle served by the next evaluate
    double time;          // seconds, from the latest newTime
    int32_t frame;        // from the latest newTime
    double V0Min;
    double V0Max;
    int32_t SpreadMin;  // degrees from the emitter's +Y axis
    int32_t SpreadMax;
    int32_t AgeMin;  // frames
    int32_t AgeMax;
    double Gravity;       // along world -Y
    double Regist;        // drag per second; the panel shows 20 x Regist
    int32_t Birth;        // particles per second
    int32_t ReCycle;      // only 1 turns recycling on
    int32_t START_F;      // first emission frame
    Particle *particles;  // owned, pointCount records
    uint8_t refResolved;  // 1 once refItem was looked up from refName
    uint8_t bakeMode;     // 1 while a scene bake drives the simulation
    PlofItemId refItem;   // the avoid object, 0 for none
    LineBuffer refName;   // the avoid object's name, NUL-terminated
    uint8_t OrgEmit;      // emit from each point, radially when 1
    int32_t frameStep;    // scene-baking settings
    int32_t alignH;
    Vec3 hpbMin;
    Vec3 hpbMax;
    uint8_t scaleCtl;
    uint8_t dslvCtl;
    ObjectList objectList;
    void *objectHandle;                              // the points of the object the instance was created for
    int32_t objectPoints;                            // how many points that object has
    std::array<char, kDescriptionSize> description;  // the text describe() returns
};

}  // namespace plof
