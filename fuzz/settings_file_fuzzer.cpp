// A .plf settings file as the options panel's "L" button reads it: the input
// is the file the user chooses; the panel is then confirmed, so the values
// read reach the instance and its particles are initialised from them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "panel/options_panel.h"
#include "support/panel_fake_host.h"
#include "support/recording_panel_services.h"
#include "support/test_instance.h"

namespace {

// One file per fuzzing process, removed when it ends.
struct ChosenFile {
    std::string path =
        (std::filesystem::temp_directory_path() / ("plof_fuzz_" + std::to_string(getpid()) + ".plf")).string();
    ~ChosenFile() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const ChosenFile chosen;
    std::FILE *file = std::fopen(chosen.path.c_str(), "wb");
    plof::fuzz::check(file != nullptr, "the chosen file can be written");
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    plof::test::PanelFakeHost host;
    host.addItem("Avoid", {{0, 3, 0}});
    plof::test::RecordingPanelServices services;
    // The spread preview is not read here; recording its pixels would take
    // most of each run.
    services.record().drawPixel = [](PlofPanel, int32_t, int32_t, int32_t) {};
    plof::test::TestInstance instance(3, host.addItem("Emitter", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    host.chooseFile(chosen.path);
    services.user = [](plof::test::RecordedPanel &panel) {
        plof::test::RecordingPanelServices::press(panel.control("L"));
        return 1;  // confirm
    };
    plof::fuzz::check(plof::openOptionsPanel(1, &plof::test::PanelFakeHost::global, &*instance) == 0,
                      "the options panel opens");
    plof::fuzz::check(host.fileAnswers.empty(), "the \"L\" button asked for the file");
    return 0;
}
