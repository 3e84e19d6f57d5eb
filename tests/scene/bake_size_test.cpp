// The limit on the size of a bake. This program replaces the non-throwing
// allocation functions, which the bake allocates with, to record the
// largest size asked for.
#include "scene/bake_size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>

#include "bake_fixture.h"
#include "plof/bake_limit.h"
#include "scene/scene_baking.h"
#include "scene_test_support.h"

namespace {
std::size_t largestRequest = 0;
}  // namespace

void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    largestRequest = std::max(largestRequest, size);
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    largestRequest = std::max(largestRequest, size);
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace plof {
namespace {

constexpr int32_t kLimit = PLOF_BAKE_MAX_SAMPLES;

TEST(BakeSize, CountsParticlesTimesSampledFrames) {
    BakeSize size;
    EXPECT_TRUE(planBake(7, 60, 7, size));
    EXPECT_EQ(size.sampledFrames, 9);  // 0, 7, ..., 56
    EXPECT_EQ(size.particleSamples, 63u);
    EXPECT_TRUE(planBake(3, 10, 0, size)) << "a step below 1 counts as 1";
    EXPECT_EQ(size.particleSamples, 30u);
    EXPECT_TRUE(planBake(5, -4, 1, size));
    EXPECT_EQ(size.particleSamples, 0u);
    EXPECT_TRUE(planBake(-5, 10, 1, size));
    EXPECT_EQ(size.particleSamples, 0u);
}

TEST(BakeSize, TheLimitItselfIsHeldAndOneMoreIsNot) {
    BakeSize size;
    EXPECT_TRUE(planBake(1, kLimit, 1, size));
    EXPECT_EQ(size.particleSamples, static_cast<uint64_t>(kLimit));
    EXPECT_FALSE(planBake(1, kLimit + 1, 1, size));
    EXPECT_TRUE(planBake(4000, 4000, 1, size));
    EXPECT_FALSE(planBake(4000, 4001, 1, size));
    EXPECT_TRUE(planBake(1, 2 * kLimit, 2, size)) << "every other frame of twice the limit";
    EXPECT_FALSE(planBake(2, 2 * kLimit, 2, size));
    // The largest counts do not wrap: 2^31 - 1 squared is refused.
    EXPECT_FALSE(planBake(INT32_MAX, INT32_MAX, 1, size));
    EXPECT_EQ(size.particleSamples, uint64_t{INT32_MAX} * uint64_t{INT32_MAX});
    EXPECT_TRUE(planBake(1, INT32_MAX, INT32_MAX, size));
    EXPECT_EQ(size.sampledFrames, 1);
}

TEST(BakeSize, ABakeTooLargeStopsBeforeAllocatingAndWritesNothing) {
    testing::MovingEmitterHost host;
    testing::ScratchDirectory directory("bake_size");
    testing::BakeSubject subject(1);
    subject.instance->bakeMode = 0;
    const std::string path = directory.file("PLOF.lws").string();
    for (const int32_t frames : {INT32_MAX, 100000000}) {
        SCOPED_TRACE(frames);
        largestRequest = 0;
        EXPECT_FALSE(bakeScene(path.c_str(), subject.instance->objectList, frames, *subject.instance));
        EXPECT_LT(largestRequest, std::size_t{1} << 20) << "a size beyond the limit reached the allocator";
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(subject.instance->bakeMode, 0);
    }
    // A bake within the limit still goes through.
    EXPECT_TRUE(bakeScene(path.c_str(), subject.instance->objectList, 60, *subject.instance));
    EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace plof
