#include "instance/displacement.h"

#include <cstring>

#include "base/number_format.h"
#include "base/vec3.h"

namespace plof {

namespace {

constexpr char kPrefix[] = "PLOF! num is ";
constexpr std::size_t kLongestInteger = 11;  // "-2147483648"
static_assert(sizeof kPrefix - 1 + kLongestInteger + 2 <= kDescriptionSize);

}  // namespace

void evaluate(HandlerInstance &instance, PlofDisplacementAccess &access) {
    if (instance.pointCount <= 0 || instance.particles == nullptr) return;
    // A cursor outside the array (a copy may shrink the particle array between
    // frames) serves the last particle rather than reading past it.
    int32_t cursor = instance.pointCursor;
    if (cursor < 0 || cursor >= instance.pointCount) cursor = instance.pointCount - 1;
    Particle &particle = instance.particles[cursor];
    copyDoubles(particle.restPosition.data(), access.position, 3);
    if (instance.OrgEmit != 0) {
        // The point keeps its own place and is carried along by its particle.
        for (int j = 0; j < 3; ++j) access.position[j] += particle.position[j];
    } else {
        copyDoubles(access.position, particle.position.data(), 3);
    }
    // The host may ask for more points than the object has; they all get the last particle.
    if (cursor < instance.pointCount - 1) instance.pointCursor = cursor + 1;
}

int32_t flags(const HandlerInstance &instance) { return instance.bakeMode == 1 ? PLOF_FLAGS_WORLD : PLOF_FLAGS_OBJECT; }

const char *describe(HandlerInstance &instance) {
    auto &text = instance.description;
    std::memcpy(text.data(), kPrefix, sizeof kPrefix - 1);
    char *digits = text.data() + (sizeof kPrefix - 1);
    const std::size_t room = text.size() - (sizeof kPrefix - 1);
    const int32_t length = formatInteger(digits, room - 1, instance.pointCount);
    digits[length] = ' ';
    digits[length + 1] = '\0';
    return text.data();
}

}  // namespace plof
