// Settings files (.plf): the "S" and "L" buttons of the options panel.
//
// Both are events of the options panel, called by the host as (button,
// OptionsPanelContext) while the panel is open. A file holds the instance's
// keyword block, one keyword line per text line, Regist itself included (the
// slider shows 20 x Regist; loading sets it from the file's Regist).
//
// Saving writes what the panel shows, read as confirmation reads it
// (Regist = slider / 20, OrgEmit its low 8 bits, the avoid object by its name
// in the host; a control not moved gives the instance's exact value); the
// instance itself is left alone until
// the panel is confirmed. The file is written through SafeFileWriter, so a
// failed save never replaces a good file with a half-written one. A name
// that has no room left for the ".plf" it needs is refused with the same
// message as a file that cannot be created.
//
// Loading puts the values, the avoid object ("none": no object) included,
// into the panel's controls; they reach the instance when the user confirms,
// and a cancelled panel leaves it as it was. Lines may end in LF or CR LF, whichever platform wrote the file
// (the file form of the keyword line operations reads both).
#pragma once

#include "plof/panel_services.h"

namespace plof {

void saveSettings(PlofControl saveButton, void *context);
void loadSettings(PlofControl loadButton, void *context);

}  // namespace plof
