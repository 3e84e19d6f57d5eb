// The effect's block in a host scene, as the host hands it to the module: the
// input's lines, one read each, go through the load operation of a handler
// table filled by activation; then the instance saves its block and plays a
// few frames, so whatever the loader accepts is also simulated.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "instance/fake_states.h"
#include "plof/handler.h"
#include "plof/module.h"
#include "plugin/handler_activation.h"
#include "support/panel_fake_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    plof::test::PanelFakeHost host;
    const PlofItemId emitter = host.addItem("Emitter", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {2, 2, 2}});
    host.addItem("Avoid", {{0, 3, 0}});
    PlofHandlerOperations table{};
    plof::fuzz::check(plof::activateHandler(2, &plof::test::PanelFakeHost::global, &table) == PLOF_ACTIVATE_OK,
                      "activation succeeds");
    const char *error = nullptr;
    PlofInstance instance = table.create.v2(&error, emitter);
    plof::fuzz::check(instance != nullptr, "an instance is created");

    plof::testing::FakeLoadState block(plof::fuzz::linesOf(plof::fuzz::textOf(data, size)));
    table.load(instance, &block.state());
    plof::testing::FakeSaveState saved;
    table.save(instance, &saved.state());
    plof::fuzz::check(saved.lengthsCountTheNul(), "every saved line is one NUL-terminated text");
    for (const int32_t frame : {0, 7, 45}) {
        table.newTime(instance, emitter, frame, frame / 30.0);
        for (int point = 0; point < 5; ++point) {
            PlofDisplacementAccess access{{0, 0, 0}, {static_cast<double>(point), 0, 0}};
            table.evaluate(instance, &access);
        }
    }
    table.destroy(instance);
    return 0;
}
