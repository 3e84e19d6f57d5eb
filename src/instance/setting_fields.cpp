#include "instance/setting_fields.h"

#include "base/number_format.h"
#include "instance/keyword_line.h"

namespace plof {

namespace {

constexpr SettingField doubleSetting(const char *keyword, double HandlerInstance::*member, double defaultValue,
                                     OptionsControl control, PanelForm form = PanelForm::Float) {
    return {keyword, SettingKind::Double, member, nullptr, nullptr, defaultValue, control, form};
}

constexpr SettingField integerSetting(const char *keyword, int32_t HandlerInstance::*member, int32_t defaultValue,
                                      OptionsControl control) {
    return {keyword, SettingKind::Integer, nullptr, member, nullptr, static_cast<double>(defaultValue),
            control, PanelForm::Integer};
}

}  // namespace

const std::array<SettingField, kSettingCount> kSettingFields = {{
    doubleSetting("V0Min", &HandlerInstance::V0Min, 1.0, kV0MinField),
    doubleSetting("V0Max", &HandlerInstance::V0Max, 4.0, kV0MaxField),
    integerSetting("AgeMin", &HandlerInstance::AgeMin, 10, kAgeMinField),
    integerSetting("AgeMax", &HandlerInstance::AgeMax, 60, kAgeMaxField),
    doubleSetting("Gravity", &HandlerInstance::Gravity, 9.8, kGravityField),
    doubleSetting("Regist", &HandlerInstance::Regist, 0.0, kRegistanceSlider, PanelForm::RegistSlider),
    integerSetting("START_F", &HandlerInstance::START_F, 0, kSparkFrameField),
    integerSetting("Birth", &HandlerInstance::Birth, 100, kBirthRateField),
    integerSetting("ReCycle", &HandlerInstance::ReCycle, 1, kRecycleBox),
    integerSetting("SpreadMin", &HandlerInstance::SpreadMin, 0, kSpreadMinSlider),
    integerSetting("SpreadMax", &HandlerInstance::SpreadMax, 180, kSpreadMaxSlider),
    {"OrgEmit", SettingKind::Byte, nullptr, nullptr, &HandlerInstance::OrgEmit, 0.0, kOrgEmitterBox,
     PanelForm::Integer},
}};

double settingValue(const HandlerInstance &instance, const SettingField &field) {
    switch (field.kind) {
        case SettingKind::Double: return instance.*field.doubleMember;
        case SettingKind::Integer: return instance.*field.integerMember;
        case SettingKind::Byte: return instance.*field.byteMember;
    }
    return 0.0;
}

void storeSetting(HandlerInstance &instance, const SettingField &field, double value) {
    switch (field.kind) {
        case SettingKind::Double: instance.*field.doubleMember = value; break;
        case SettingKind::Integer: instance.*field.integerMember = truncateToInt32(value); break;
        case SettingKind::Byte:
            instance.*field.byteMember = static_cast<uint8_t>(static_cast<uint32_t>(truncateToInt32(value)) & 0xFFu);
            break;
    }
}

void copySetting(const HandlerInstance &from, HandlerInstance &to, const SettingField &field) {
    switch (field.kind) {
        case SettingKind::Double: to.*field.doubleMember = from.*field.doubleMember; break;
        case SettingKind::Integer: to.*field.integerMember = from.*field.integerMember; break;
        case SettingKind::Byte: to.*field.byteMember = from.*field.byteMember; break;
    }
}

std::size_t settingIndex(const SettingField &field) { return static_cast<std::size_t>(&field - kSettingFields.data()); }

const SettingField *matchSetting(const char *keywordRead) {
    for (const SettingField &field : kSettingFields) {
        if (hasPrefix(field.keyword, keywordRead) == 0) return &field;
    }
    return nullptr;
}

}  // namespace plof
