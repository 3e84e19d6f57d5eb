#include "host/panels/control_kind.h"

#include "plof/panel_services.h"

#include <cstring>

namespace plof::host {

namespace {

struct KindName {
    ControlKind kind;
    PlofControlKind record;
};

constexpr KindName kKindNames[] = {
    {ControlKind::Float, PLOF_KIND_FLOAT},
    {ControlKind::Number, PLOF_KIND_NUMBER},
    {ControlKind::Button, PLOF_KIND_BUTTON},
    {ControlKind::Bool, PLOF_KIND_BOOL},
    {ControlKind::DragButton, PLOF_KIND_DRAG_BUTTON},
    {ControlKind::Slider, PLOF_KIND_SLIDER},
    {ControlKind::ItemList, PLOF_KIND_ITEM_LIST},
    {ControlKind::File, PLOF_KIND_FILE},
    {ControlKind::FloatVector, PLOF_KIND_FLOAT_VECTOR},
    {ControlKind::ListBox, PLOF_KIND_LIST_BOX},
};

}  // namespace

bool controlKindFromName(const char *kindName, ControlKind &kind) {
    if (!kindName) return false;
    for (const KindName &entry : kKindNames) {
        if (std::strcmp(entry.record.name, kindName) == 0) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

const char *controlKindName(ControlKind kind) {
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind) return entry.record.name;
    }
    return "?";
}

}  // namespace plof::host
