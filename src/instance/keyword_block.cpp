#include "instance/keyword_block.h"

#include "instance/item_lookup.h"
#include "instance/keyword_line.h"
#include "instance/particle_launch.h"
#include "instance/setting_fields.h"

namespace plof {

namespace {

constexpr const char *kStart = "PLOF_START";
constexpr const char *kEnd = "PLOF_END";
constexpr const char *kReference = "REFERENCE";

// Both forms write the same lines; only the sink differs.
template <typename Sink>
void writeBlockLines(Sink &sink, HandlerInstance &instance) {
    writeTextLine(sink, kStart);
    for (const SettingField &field : kSettingFields) {
        writeKeywordValue(sink, field.keyword, settingValue(instance, field));
    }
    writeTextLine(sink, kReference);
    if (instance.refItem != 0) {
        itemNameOrNone(instance.refItem, instance.refName);
        writeTextLine(sink, instance.refName.data());
    } else if (instance.refResolved == 0 && instance.refName[0] != '\0') {
        // Loaded but not yet looked up (no frame since): the name as read.
        writeTextLine(sink, instance.refName.data());
    } else {
        writeTextLine(sink, "none");
    }
    writeTextLine(sink, kEnd);
}

}  // namespace

void writeSettingsBlock(const PlofSaveState &state, HandlerInstance &instance) { writeBlockLines(state, instance); }

void writeSettingsBlock(std::FILE *file, HandlerInstance &instance) { writeBlockLines(file, instance); }

const char *saveInstance(HandlerInstance &instance, const PlofSaveState &state) {
    writeSettingsBlock(state, instance);
    return nullptr;
}

const char *loadInstance(HandlerInstance &instance, const PlofLoadState &state) {
    KeywordLine line;
    if (!readKeywordLine(state, line) || hasPrefix(kStart, line.keyword.data()) != 0) return nullptr;
    // The empty keyword (an empty or space-led line) begins " " and so ends
    // the block, as does any beginning of "PLOF_END".
    while (readKeywordLine(state, line) && hasPrefix(kEnd, line.keyword.data()) != 0 &&
           hasPrefix(" ", line.keyword.data()) != 0) {
        if (const SettingField *field = matchSetting(line.keyword.data())) {
            if (line.hasValue) storeSetting(instance, *field, line.value);
        } else if (hasPrefix(kReference, line.keyword.data()) == 0) {
            readNameLine(state, instance.refName);
        }
    }
    initialiseVelocities(instance);
    initialiseLifetimes(instance);
    instance.refItem = 0;
    instance.refResolved = 0;
    return nullptr;
}

}  // namespace plof
