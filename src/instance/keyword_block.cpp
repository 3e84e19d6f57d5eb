#include "instance/keyword_block.h"

#include <array>
#include <cstdint>

#include "instance/item_lookup.h"
#include "instance/keyword_line.h"
#include "instance/number_format.h"
#include "sim/particle_launch.h"

namespace plof {

namespace {

enum class FieldKind { Double, Integer, Byte, Name };

struct Field {
    const char *keyword;
    FieldKind kind;
    double HandlerInstance::*doubleField;
    int32_t HandlerInstance::*integerField;
    uint8_t HandlerInstance::*byteField;
};

constexpr Field doubleField(const char *keyword, double HandlerInstance::*field) {
    return {keyword, FieldKind::Double, field, nullptr, nullptr};
}
constexpr Field integerField(const char *keyword, int32_t HandlerInstance::*field) {
    return {keyword, FieldKind::Integer, nullptr, field, nullptr};
}

// In the order they are written and matched: a shortened keyword read takes
// the first of these that it begins.
constexpr std::array<Field, 13> kFields = {{
    doubleField("V0Min", &HandlerInstance::V0Min),
    doubleField("V0Max", &HandlerInstance::V0Max),
    integerField("AgeMin", &HandlerInstance::AgeMin),
    integerField("AgeMax", &HandlerInstance::AgeMax),
    doubleField("Gravity", &HandlerInstance::Gravity),
    doubleField("Regist", &HandlerInstance::Regist),
    integerField("START_F", &HandlerInstance::START_F),
    integerField("Birth", &HandlerInstance::Birth),
    integerField("ReCycle", &HandlerInstance::ReCycle),
    integerField("SpreadMin", &HandlerInstance::SpreadMin),
    integerField("SpreadMax", &HandlerInstance::SpreadMax),
    {"OrgEmit", FieldKind::Byte, nullptr, nullptr, &HandlerInstance::OrgEmit},
    {"REFERENCE", FieldKind::Name, nullptr, nullptr, nullptr},
}};

constexpr const char *kStart = "PLOF_START";
constexpr const char *kEnd = "PLOF_END";

double fieldValue(const HandlerInstance &instance, const Field &field) {
    switch (field.kind) {
        case FieldKind::Double: return instance.*field.doubleField;
        case FieldKind::Integer: return instance.*field.integerField;
        case FieldKind::Byte: return instance.*field.byteField;
        case FieldKind::Name: break;
    }
    return 0.0;
}

void storeValue(HandlerInstance &instance, const Field &field, double value) {
    switch (field.kind) {
        case FieldKind::Double: instance.*field.doubleField = value; break;
        case FieldKind::Integer: instance.*field.integerField = truncateToInt32(value); break;
        case FieldKind::Byte:
            instance.*field.byteField = static_cast<uint8_t>(static_cast<uint32_t>(truncateToInt32(value)) & 0xFFu);
            break;
        case FieldKind::Name: break;
    }
}

const Field *matchField(const char *keyword) {
    for (const Field &field : kFields) {
        if (hasPrefix(field.keyword, keyword) == 0) return &field;
    }
    return nullptr;
}

}  // namespace

const char *saveInstance(HandlerInstance &instance, const PlofSaveState &state) {
    writeTextLine(state, kStart);
    for (const Field &field : kFields) {
        if (field.kind == FieldKind::Name) continue;
        writeKeywordValue(state, field.keyword, fieldValue(instance, field));
    }
    writeTextLine(state, "REFERENCE");
    if (instance.refItem != 0) {
        itemNameOrNone(instance.refItem, instance.refName);
        writeTextLine(state, instance.refName.data());
    } else {
        writeTextLine(state, "none");
    }
    writeTextLine(state, kEnd);
    return nullptr;
}

const char *loadInstance(HandlerInstance &instance, const PlofLoadState &state) {
    KeywordLine line;
    if (!readKeywordLine(state, line) || hasPrefix(kStart, line.keyword.data()) != 0) return nullptr;
    // The empty keyword (an empty or space-led line) begins " " and so ends
    // the block, as does any beginning of "PLOF_END".
    while (readKeywordLine(state, line) && hasPrefix(kEnd, line.keyword.data()) != 0 &&
           hasPrefix(" ", line.keyword.data()) != 0) {
        const Field *field = matchField(line.keyword.data());
        if (field == nullptr) continue;
        if (field->kind == FieldKind::Name) {
            readNameLine(state, instance.refName);
        } else if (line.hasValue) {
            storeValue(instance, *field, line.value);
        }
    }
    initialiseVelocities(instance);
    initialiseLifetimes(instance);
    instance.refItem = 0;
    instance.refResolved = 0;
    return nullptr;
}

}  // namespace plof
