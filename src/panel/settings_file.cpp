#include "panel/settings_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "base/path_text.h"
#include "file/safe_file_writer.h"
#include "instance/item_lookup.h"
#include "instance/keyword_block.h"
#include "instance/keyword_line.h"
#include "instance/setting_fields.h"
#include "panel/host_requests.h"
#include "panel/options_panel.h"
#include "panel/panel_layer.h"

namespace plof {

namespace {

constexpr const char *kExtension = ".plf";
constexpr const char *kCannotOpen = "Can't open PLOF! file";

struct CloseFile {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

// Sets the control of the first setting whose keyword begins with the
// keyword read; true when the line was the avoid object's name heading.
bool applyValue(OptionsPanelContext &context, const KeywordLine &line) {
    const char *keyword = line.keyword.data();
    if (const SettingField *field = matchSetting(keyword)) {
        // Only the last line of a file can name a keyword without a value
        // (every other keyword read ends with its line end); there is no
        // value to set then, rather than the previous line's.
        if (line.hasValue) showLoadedSetting(context, *field, line.value);
        return false;
    }
    return hasPrefix("REFERENCE\n", keyword) == 0;
}

}  // namespace

void saveSettings(PlofControl, void *userData) {
    OptionsPanelContext &context = *static_cast<OptionsPanelContext *>(userData);
    LineBuffer name{};
    if (!requestFile("save plf setting", ">setting.plf", hostDirectory(PLOF_DIRECTORY_OBJECTS), name)) return;
    const std::size_t length = std::strlen(name.data());
    if (length < 2) return;
    if (endsWith(name.data(), kExtension) == 0) {
        if (length + std::strlen(kExtension) >= name.size()) {
            showError(kCannotOpen);
            return;
        }
        std::strcat(name.data(), kExtension);
    }
    // The file holds what the panel shows: the controls read as confirming
    // reads them, into a copy, for the instance changes only on confirmation.
    std::unique_ptr<HandlerInstance> shown(new (std::nothrow) HandlerInstance(*context.instance));
    if (shown == nullptr) {
        showError(kCannotOpen);
        return;
    }
    readShownSettings(context, *shown);
    // Text mode: CR LF line ends on Windows, the host's platform, where the
    // settings files are shared; the reader takes LF or CR LF alike.
    SafeFileWriter file(name.data(), SafeFileWriter::Mode::text);
    if (file.stream() == nullptr) {
        showError(kCannotOpen);
        return;
    }
    writeSettingsBlock(file.stream(), *shown);
    if (!file.commit()) showError(kCannotOpen);
}

void loadSettings(PlofControl loadButton, void *userData) {
    OptionsPanelContext &context = *static_cast<OptionsPanelContext *>(userData);
    const PlofPanelServices &services = *context.services;
    LineBuffer name{};
    if (!requestFile("load plf setting", "<setting.plf", hostDirectory(PLOF_DIRECTORY_OBJECTS), name)) return;
    if (endsWith(name.data(), kExtension) == 0) {
        showError("Error", "it's not PLOF! file");
        return;
    }
    File file(std::fopen(name.data(), "r"));
    if (!file) {
        showError(kCannotOpen);
        LineBuffer pattern{};
        settingsFilePattern(pattern);
        setTextValue(services, loadButton, pattern.data());
        return;
    }
    KeywordLine line{};
    // An empty file has no start line either.
    if (!readKeywordLine(file.get(), line) || hasPrefix("PLOF_START\n", line.keyword.data()) != 0) {
        showError(kCannotOpen);
        return;
    }
    // The name goes only into the list: the instance takes it, like every
    // other value, when the panel is confirmed. A file without a name line
    // finds the instance's own name again.
    LineBuffer avoidName = context.instance->refName;
    while (readKeywordLine(file.get(), line)) {
        if (hasPrefix("PLOF_END\n", line.keyword.data()) == 0 || hasPrefix(" ", line.keyword.data()) == 0) {
            break;
        }
        if (applyValue(context, line)) {
            readNameLine(file.get(), avoidName);
        }
    }
    showLoadedAvoidObject(context, findAvoidObject(avoidName.data()));
}

}  // namespace plof
