#include "host/panels/panel_record.h"

#include <cstring>

namespace plof::host {

namespace {

struct KindName {
    ControlKind kind;
    const char *name;
};

constexpr KindName kKindNames[] = {
    {ControlKind::Float, "FloatControl"},     {ControlKind::Number, "NumControl"},
    {ControlKind::Button, "ButtonControl"},   {ControlKind::Bool, "BoolControl"},
    {ControlKind::DragButton, "DragButtonControl"},
    {ControlKind::Slider, "SliderControl"},   {ControlKind::ItemList, "LWListControl"},
    {ControlKind::File, "FileControl"},       {ControlKind::FloatVector, "FVecControl"},
    {ControlKind::ListBox, "ListBoxControl"},
};

}  // namespace

bool controlKindFromName(const char *kindName, ControlKind &kind) {
    if (!kindName) return false;
    for (const KindName &entry : kKindNames) {
        if (std::strcmp(entry.name, kindName) == 0) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

const char *controlKindName(ControlKind kind) {
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind) return entry.name;
    }
    return "?";
}

}  // namespace plof::host
