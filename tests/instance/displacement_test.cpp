#include "instance/displacement.h"

#include <gtest/gtest.h>

#include <string>

#include "instance/module_state.h"
#include "support/module_state_reset.h"
#include "support/test_instance.h"

namespace plof {
namespace {

using test::TestInstance;

PlofDisplacementAccess handed(const Vec3 &position) {
    PlofDisplacementAccess access{};
    for (int j = 0; j < 3; ++j) {
        access.original[j] = -99;
        access.position[j] = position[j];
    }
    return access;
}

Vec3 result(const PlofDisplacementAccess &access) {
    return {access.position[0], access.position[1], access.position[2]};
}

TEST(Evaluate, WithoutOrgEmitThePointTakesTheParticlePlace) {
    TestInstance t(1);
    t.particle(0).position = {1, 2, 3};
    PlofDisplacementAccess access = handed({7, 8, 9});
    evaluate(*t, access);
    EXPECT_EQ(result(access), (Vec3{1, 2, 3}));
    EXPECT_EQ(t.particle(0).restPosition, (Vec3{7, 8, 9}));
}

TEST(Evaluate, WithOrgEmitThePointIsCarriedByItsParticle) {
    TestInstance t(1);
    t.particle(0).position = {0, -4.9, 0};
    for (int orgEmit : {1, 7}) {
        t->OrgEmit = static_cast<uint8_t>(orgEmit);
        t->pointCursor = 0;
        PlofDisplacementAccess access = handed({1, 0, 0});
        evaluate(*t, access);
        EXPECT_EQ(result(access), (Vec3{1, -4.9, 0}));
        EXPECT_EQ(t.particle(0).restPosition, (Vec3{1, 0, 0}));
    }
}

TEST(Evaluate, ExtraCallsServeTheLastParticle) {
    TestInstance t(3);
    for (int32_t i = 0; i < 3; ++i) t.particle(i).position = {double(i), 0, 0};
    const double served[] = {0, 1, 2, 2, 2};
    for (int call = 0; call < 5; ++call) {
        PlofDisplacementAccess access = handed({50.0 + call, 0, 0});
        evaluate(*t, access);
        EXPECT_EQ(access.position[0], served[call]) << call;
    }
    EXPECT_EQ(t->pointCursor, 2);
    EXPECT_EQ(t.particle(2).restPosition[0], 54.0) << "the last position handed in";
}

TEST(Evaluate, ACursorOutsideTheParticlesServesTheLastOne) {
    // A copy may leave fewer particles than the cursor counted.
    TestInstance t(2);
    t.particle(1).position = {5, 5, 5};
    t->pointCursor = 9;
    PlofDisplacementAccess access = handed({0, 0, 0});
    evaluate(*t, access);
    EXPECT_EQ(result(access), (Vec3{5, 5, 5}));

    TestInstance empty(0);
    access = handed({1, 2, 3});
    evaluate(*empty, access);
    EXPECT_EQ(result(access), (Vec3{1, 2, 3}));
    EXPECT_EQ(empty->pointCursor, 0);
}

TEST(Flags, WorldCoordinatesOnlyWhileBaking) {
    TestInstance t(1);
    EXPECT_EQ(flags(*t), PLOF_FLAGS_OBJECT);
    t->bakeMode = 1;
    EXPECT_EQ(flags(*t), PLOF_FLAGS_WORLD);
}

TEST(Describe, NamesThePointCountWithATrailingBlank) {
    resetModuleState();
    TestInstance eight(8);
    const char *text = describe(*eight);
    EXPECT_EQ(text, eight->description.data());
    EXPECT_EQ(std::string(text), "PLOF! num is 8 ");
    TestInstance many(1);
    many->pointCount = -2147483647 - 1;
    EXPECT_EQ(std::string(describe(*many)), "PLOF! num is -2147483648 ");
    EXPECT_EQ(std::string(describe(*eight)), "PLOF! num is 8 ");
}

}  // namespace
}  // namespace plof
