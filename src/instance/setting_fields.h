// The emitter settings, listed once. The keyword block, the settings files,
// the options panel and the instance's creation and copying all iterate this
// table, so a setting is added, renamed or reordered in one place.
//
// The order is the order of the saved lines and of keyword matching: a
// shortened keyword read takes the first setting whose keyword it begins.
// The avoid object ("REFERENCE", a name rather than a number) is not a row:
// each reader and writer handles its name line itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "instance/handler_instance.h"
#include "instance/options_controls.h"

namespace plof {

enum class SettingKind : uint8_t {
    Double,   // a double member, stored as read
    Integer,  // an int32 member, stored truncated toward zero (saturating)
    Byte,     // a uint8 member, stored as the low 8 bits of the truncated value
};

// How the setting's options panel control holds it.
enum class PanelForm : uint8_t {
    Float,         // a float control, the value as it is
    Integer,       // an integer control (number, check box, slider), as it is
    RegistSlider,  // the "Registance" slider: 20 x the value, and back
};

struct SettingField {
    const char *keyword;
    SettingKind kind;
    double HandlerInstance::*doubleMember;    // set for SettingKind::Double
    int32_t HandlerInstance::*integerMember;  // set for SettingKind::Integer
    uint8_t HandlerInstance::*byteMember;     // set for SettingKind::Byte
    double defaultValue;                      // a new instance's value
    OptionsControl control;                   // its control in the options panel
    PanelForm form;
};

inline constexpr std::size_t kSettingCount = 12;

extern const std::array<SettingField, kSettingCount> kSettingFields;

// The setting's value in the instance, integers widened exactly.
double settingValue(const HandlerInstance &instance, const SettingField &field);

// Stores `value` by the rule of the field's kind (NaN stores 0 in integers).
void storeSetting(HandlerInstance &instance, const SettingField &field, double value);

// Copies the setting from one instance to another, bits unchanged.
void copySetting(const HandlerInstance &from, HandlerInstance &to, const SettingField &field);

// The position of `field`, a row of kSettingFields, in the table.
std::size_t settingIndex(const SettingField &field);

// The first setting whose keyword begins with `keywordRead` (the empty text
// begins every keyword), or null when none does.
const SettingField *matchSetting(const char *keywordRead);

}  // namespace plof
