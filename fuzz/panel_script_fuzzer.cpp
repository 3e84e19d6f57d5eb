// Panel scripts: the parser either reads every action, each on a line of the
// script, or names the line it stopped at.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "host/script/panel_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text = plof::fuzz::textOf(data, size);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    plof::host::PanelScript script;
    plof::host::ScriptError error;
    if (!plof::host::parsePanelScript(text, "fuzz.txt", script, error)) {
        plof::fuzz::check(error.line >= 1 && error.line <= lines, "an error names a line of the script");
        return 0;
    }
    int previous = 0;
    for (const plof::host::ScriptAction &action : script.actions) {
        plof::fuzz::check(action.line > previous && action.line <= lines,
                          "actions are on the script's lines, in order");
        previous = action.line;
    }
    return 0;
}
