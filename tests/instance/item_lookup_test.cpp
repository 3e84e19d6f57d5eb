#include "instance/item_lookup.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_host_services.h"

namespace plof {
namespace {

using test::FakeHostServices;

TEST(FindItemByName, FindsTheFirstObjectWithExactlyThatName) {
    FakeHostServices host;
    host.addItem("Wall", {}, 1);  // a light of that name comes first, but is no object
    const PlofItemId ground = host.addItem("Ground");
    const PlofItemId wall = host.addItem("Wall");
    host.addItem("Wall");
    const PlofItemId lower = host.addItem("wall");
    EXPECT_EQ(findItemByName("Wall"), wall);
    EXPECT_EQ(findItemByName("wall"), lower);
    EXPECT_EQ(findItemByName("Ground"), ground);
    EXPECT_EQ(findItemByName("Wal"), 0u);
    EXPECT_EQ(findItemByName("Wall "), 0u);
    EXPECT_EQ(findItemByName(""), 0u);
}

TEST(FindItemByName, AnEmptySceneHasNothingToFind) {
    FakeHostServices host;
    EXPECT_EQ(findItemByName("none"), 0u);
}

TEST(ItemNameOrNone, WritesTheHostsNameOrNone) {
    FakeHostServices host;
    const PlofItemId emitter = host.addItem("Spark Emitter");
    const PlofItemId longName = host.addItem(std::string(300, 'L'));
    LineBuffer name;
    itemNameOrNone(0, name);
    EXPECT_STREQ(name.data(), "none");
    itemNameOrNone(emitter, name);
    EXPECT_STREQ(name.data(), "Spark Emitter");
    itemNameOrNone(longName, name);
    EXPECT_EQ(std::string(name.data()), std::string(255, 'L')) << "cut to the 256-byte buffer";
}

}  // namespace
}  // namespace plof
