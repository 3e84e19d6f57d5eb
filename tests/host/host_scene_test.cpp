#include "host/host_scene.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

HostScene withParents(std::initializer_list<int32_t> parents) {
    HostScene scene;
    for (const int32_t parent : parents) {
        HostItem item;
        item.parent = parent;
        scene.items.push_back(item);
    }
    return scene;
}

TEST(HostSceneTest, ParentsFirstOrderPutsEveryItemAfterItsParent) {
    EXPECT_EQ(parentsFirstOrder(withParents({3, 0, 2, 1})).order, (std::vector<std::size_t>{1, 2, 0, 3}));
    const ParentOrder looping = parentsFirstOrder(withParents({0, 3, 4, 2}));
    EXPECT_TRUE(looping.order.empty());
    EXPECT_EQ(looping.looping, std::optional<std::size_t>(1));
    EXPECT_EQ(parentsFirstOrder(withParents({0, 1, 3})).looping, std::optional<std::size_t>(2)) << "its own parent";
}

}  // namespace
}  // namespace plof::host
