// The host's frame loop against a small fake module: what it hands to each
// handler operation, in which order, and how it places the points it gets back.
#include "host/play/frame_loop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "host/base/host_error.h"
#include "host/run/host_process.h"

namespace plof::host {
namespace {

struct FakeInstance {
    PlofItemId item;
    int32_t flags = PLOF_FLAGS_OBJECT;
    std::vector<std::string> loaded;
};

struct FakeLog {
    std::vector<std::string> calls;
    std::vector<Vec3> handed;
    int32_t activatedVersion = 0;
};
FakeLog fakeLog;

FakeInstance *fake(PlofInstance instance) { return static_cast<FakeInstance *>(instance); }

PlofInstance createV2(const char **, PlofItemId item) {
    fakeLog.calls.push_back("create " + std::to_string(item));
    return new FakeInstance{item, PLOF_FLAGS_OBJECT, {}};
}
PlofInstance createV1(const char **) { return createV2(nullptr, 0); }
void destroy(PlofInstance instance) {
    fakeLog.calls.push_back("destroy");
    delete fake(instance);
}
const char *copyV2(PlofInstance, PlofInstance, PlofItemId) { return nullptr; }
const char *load(PlofInstance instance, const PlofLoadState *state) {
    char line[16];
    while (state->read(state->data, line, sizeof line) >= 0) {
        fake(instance)->loaded.emplace_back(line);
        if (std::strcmp(line, "world") == 0) {
            fake(instance)->flags = PLOF_FLAGS_WORLD;
        }
    }
    return nullptr;
}
const char *save(PlofInstance instance, const PlofSaveState *state) {
    const std::string text = "saved by " + std::to_string(fake(instance)->item);
    state->write(state->data, text.c_str(), static_cast<int32_t>(text.size() + 1));
    return nullptr;
}
const char *newTime(PlofInstance, PlofItemId item, int32_t frame, double time) {
    fakeLog.calls.push_back("newTime " + std::to_string(item) + " " + std::to_string(frame) + " " +
                            std::to_string(time));
    return nullptr;
}
// Every point rises ten units in the coordinates the host hands over.
void evaluate(PlofInstance, PlofDisplacementAccess *access) {
    fakeLog.handed.push_back({access->position[0], access->position[1], access->position[2]});
    access->position[1] += 10.0;
}
int32_t flags(PlofInstance instance) { return fake(instance)->flags; }
const char *describe(PlofInstance) { return "fake effect"; }

int32_t activate(int32_t version, PlofGlobalFunc, void *local) {
    fakeLog.activatedVersion = version;
    auto *operations = static_cast<PlofHandlerOperations *>(local);
    if (version == 1) {
        operations->create.v1 = &createV1;
    } else {
        operations->create.v2 = &createV2;
        operations->describe = &describe;
    }
    operations->destroy = &destroy;
    operations->copy.v2 = &copyV2;
    operations->load = &load;
    operations->save = &save;
    operations->newTime = &newTime;
    operations->evaluate = &evaluate;
    operations->flags = &flags;
    return version == 1 || version == 2 ? PLOF_ACTIVATE_OK : PLOF_ACTIVATE_BAD_VERSION;
}

void *startup() { return reinterpret_cast<void *>(4); }
const PlofServerRecord kServers[] = {{"DisplacementHandler", "PLOF!", &activate}, {nullptr, nullptr, nullptr}};
const PlofModuleDescriptor kFakeModule{PLOF_MODULE_SYNC, PLOF_MODULE_VERSION, PLOF_MODULE_MACHINE, &startup, nullptr,
                                       kServers};

// Item 1: an emitter at (5, 0, 0) turned 90 degrees, carrying the effect;
// item 2: a null under it; item 3: an object moving along X without the effect.
HostScene scene(const std::vector<std::string> &effectLines) {
    HostScene out;
    HostItem emitter = makeObjectItem("Emitter", "e.obj", {1, 0, 0, 0, 0, 2});
    MotionKey turned;
    turned.values[kX] = 5;
    turned.values[kHeading] = 90;
    emitter.motion = {turned};
    emitter.hasEffect = true;
    emitter.effectLines = effectLines;
    HostItem null;
    null.name = "Null";
    null.isNull = true;
    null.parent = 1;
    MotionKey up;
    up.values[kY] = 1;
    null.motion = {up};
    HostItem mover = makeObjectItem("Mover", "m.obj", {1, 1, 1});
    MotionKey start, end;
    end.frame = 30;
    end.linear = 1;
    end.values[kX] = 30;
    mover.motion = {start, end};
    out.items = {emitter, null, mover};
    return out;
}

void expectPoints(std::span<const double> actual, const std::vector<double> &expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "coordinate " << i;
    }
}

class EffectPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { fakeLog = FakeLog{}; }
    HostProcess process;
};

TEST_F(EffectPlayerTest, ObjectCoordinatesGoInAndComeBackPlacedByTheItemsMotion) {
    HostScene playing = scene({"first", "second"});
    HostServices services(playing, 30.0);
    const EffectHandler handler(kFakeModule, "fake.p", 2);
    {
        EffectPlayer player(handler, playing, services);
        EXPECT_EQ(fake(player.instance(0))->loaded, (std::vector<std::string>{"first", "second"}));
        EXPECT_EQ(player.instance(1), nullptr);
        EXPECT_EQ(handler.describe(player.instance(0)), "fake effect");

        player.playFrame(15, 0.5);
        EXPECT_EQ(fakeLog.handed, (std::vector<Vec3>{{1, 0, 0}, {0, 0, 2}}));
        // (5,0,0) + R·(p + (0,10,0)), R: heading 90.
        expectPoints(player.worldPoints(0), {5, 10, -1, 7, 10, 0});
        expectPoints(player.worldPoints(1), {5, 1, 0});   // the null's pivot, under its parent
        expectPoints(player.worldPoints(2), {16, 1, 1});  // not displaced, moved to x = 15

        player.playFrame(16, 16 / 30.0);
        player.saveInstances();
    }
    EXPECT_EQ(fakeLog.calls,
              (std::vector<std::string>{"create 1", "newTime 1 15 0.500000", "newTime 1 16 0.533333", "destroy"}));
    EXPECT_EQ(playing.items[0].effectLines, std::vector<std::string>{"saved by 1"});
    EXPECT_EQ(fakeLog.activatedVersion, 2);
}

TEST_F(EffectPlayerTest, WorldCoordinatesGoInAndComeBackAsTheyAre) {
    HostScene playing = scene({"world"});
    HostServices services(playing, 30.0);
    const EffectHandler handler(kFakeModule, "fake.p", 2);
    EffectPlayer player(handler, playing, services);
    player.playFrame(0, 0.0);
    ASSERT_EQ(fakeLog.handed.size(), 2u);
    expectPoints(fakeLog.handed[0], {5, 0, -1});
    expectPoints(fakeLog.handed[1], {7, 0, 0});
    expectPoints(player.worldPoints(0), {5, 10, -1, 7, 10, 0});
}

TEST_F(EffectPlayerTest, InterfaceVersionOneCreatesWithoutAnItem) {
    HostScene playing = scene({});
    HostServices services(playing, 30.0);
    const EffectHandler handler(kFakeModule, "fake.p", 1);
    EffectPlayer player(handler, playing, services);
    EXPECT_EQ(fakeLog.activatedVersion, 1);
    EXPECT_EQ(fakeLog.calls.front(), "create 0");
    EXPECT_EQ(handler.describe(player.instance(0)), "");
}

TEST_F(EffectPlayerTest, RefusedActivationAndMissingServerAreModuleErrors) {
    HostScene playing = scene({});
    HostServices services(playing, 30.0);
    EXPECT_THROW(EffectHandler(kFakeModule, "fake.p", 3), ModuleError);
    const PlofServerRecord none[] = {{nullptr, nullptr, nullptr}};
    PlofModuleDescriptor empty = kFakeModule;
    empty.servers = none;
    try {
        EffectHandler handler(empty, "empty.p", 2);
        ADD_FAILURE() << "no error";
    } catch (const ModuleError &error) {
        EXPECT_NE(std::string(error.what()).find("empty.p: the module has no DisplacementHandler server"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace plof::host
