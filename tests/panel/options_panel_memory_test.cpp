// The options panel when its context cannot be allocated. This program
// replaces the non-throwing allocation function, which the module uses where
// a failure must be handled, so that a test can make it fail.
#include <gtest/gtest.h>

#include <new>

#include "panel/panel_fixture.h"

namespace {
bool failNextNothrowAllocation = false;
}  // namespace

void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    if (failNextNothrowAllocation) {
        failNextNothrowAllocation = false;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace plof::test {
namespace {

TEST_F(PanelTest, NoMemoryForTheContextClosesThePanelUnopened) {
    failNextNothrowAllocation = true;
    EXPECT_EQ(openOptionsPanel(1, &PanelFakeHost::global, &*instance), 0);
    EXPECT_FALSE(failNextNothrowAllocation) << "the context was not allocated with new (std::nothrow)";
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Couldn't allocate memory !!"), std::string("<null>")));
    RecordedPanel &panel = services.panel(kOptionsTitle);
    EXPECT_TRUE(panel.destroyed);
    EXPECT_EQ(panel.openFlags, -1);
    for (const Particle &particle : instance.particles) EXPECT_EQ(particle.lifetime, 0);
}

TEST_F(PanelTest, WithMemoryThePanelOpens) {
    EXPECT_EQ(openOptions([](RecordedPanel &) { return kConfirm; }), 0);
    EXPECT_TRUE(host.errors().empty());
    EXPECT_EQ(services.panel(kOptionsTitle).openFlags, 7);
}

}  // namespace
}  // namespace plof::test
