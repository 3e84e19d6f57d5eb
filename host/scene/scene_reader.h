// Reading host scenes: LWSC text as the stand-in host understands it.
//
// An item's block begins with "LoadObject PATH" or "AddNullObject NAME" and
// runs to the first empty line (or the next item's first line). Inside it the
// host reads "ObjectMotion" (channel count, key count, then per key a line of
// the channel values and a line "frame linear tension continuity bias", then
// an "EndBehavior" line), "ObjDissolve (envelope)" in the same form with one
// channel (or "ObjDissolve VALUE"), "ParentObject N" (the 1-based number of an
// item in scene order) and the effect's saved lines between
// "Plugin DisplacementHandler N PLOF!" and "EndPlugin". Every other line is
// kept as it stands and written back (scene_writer.h). A malformed line of
// those the host reads is an InputError naming the file and line.
//
// The second line, when it is a number, is the format's version: only
// version 1 is read (later versions name items differently). A scene without
// items, a plug-in block left open, and keys or parents that would take an
// item's position or scale beyond kLargestChannelValue are InputErrors too.
// LF and CR LF line ends are both read.
#pragma once

#include <string>
#include <string_view>

#include "host/scene/host_scene.h"

namespace plof::host {

// The scene in `text`; `fileName` names it in errors. Items get no points
// here (item_objects.h loads them).
HostScene parseSceneText(std::string_view text, const std::string &fileName);

}  // namespace plof::host
