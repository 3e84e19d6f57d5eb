// The kinds of control the host's panels offer the module, named by the kind
// string the module passes to addControl.
#pragma once

namespace plof::host {

// The control kinds the host offers, by the kind string the module passes.
enum class ControlKind {
    Float,        // "FloatControl": one double
    Number,       // "NumControl": one integer
    Button,       // "ButtonControl": pressed; may carry a text value
    Bool,         // "BoolControl": an integer used as on/off
    DragButton,   // "DragButtonControl": an integer vector (0, d, 0) per drag step
    Slider,       // "SliderControl": an integer; words width, minimum, maximum
    ItemList,     // "LWListControl": an object item id, 0 for none; word 0 the global function
    File,         // "FileControl": a text; word 0 its width in characters
    FloatVector,  // "FVecControl": three doubles
    ListBox,      // "ListBoxControl": words width, rows, 0, count and name callbacks
};

// The kind named by `kindName`, or false when the host has no such kind.
bool controlKindFromName(const char *kindName, ControlKind &kind);
const char *controlKindName(ControlKind kind);

}  // namespace plof::host
