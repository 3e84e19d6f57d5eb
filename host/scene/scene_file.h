// Host scenes as LWSC text, read and written by the stand-in host.
//
// An item's block begins with "LoadObject PATH" or "AddNullObject NAME" and
// runs to the first empty line (or the next item's first line). Inside it the
// host reads "ObjectMotion" (channel count, key count, then per key a line of
// the channel values and a line "frame linear tension continuity bias", then
// an "EndBehavior" line), "ObjDissolve (envelope)" in the same form with one
// channel (or "ObjDissolve VALUE"), "ParentObject N" (the 1-based number of an
// item in scene order) and the effect's saved lines between
// "Plugin DisplacementHandler N PLOF!" and "EndPlugin". Every other line is
// kept as it stands and written back. A malformed line of those the host
// reads is an InputError naming the file and line.
//
// The second line, when it is a number, is the format's version: only
// version 1 is read (later versions name items differently). A scene without
// items, a plug-in block left open, and keys or parents that would take an
// item's position or scale beyond kLargestChannelValue are InputErrors too.
//
// Scenes are written with CR LF line ends on every platform; LF and CR LF are
// both read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/scene/host_scene.h"

namespace plof::host {

// The scene in `text`; `fileName` names it in errors. Items get no points
// here (see loadScenePoints).
HostScene parseSceneText(std::string_view text, const std::string &fileName);

// Loads each loaded-object item's points. Relative paths are tried beside
// the scene file, then in the current directory, then in `objectsDirectory`.
// A file that cannot be found leaves its item without points and adds a
// warning (one per file, quoting at most kQuotedLineLimit bytes of its
// name); a file that exists but is not a valid object, or a bad built-in
// shape, throws InputError naming the scene and the item's line.
void loadScenePoints(HostScene &scene, const std::string &sceneFile, const std::string &objectsDirectory,
                     std::vector<std::string> &warnings);

// Reads the scene file at `path` (parseSceneText, then loadScenePoints).
HostScene readSceneFile(const std::string &path, const std::string &objectsDirectory,
                        std::vector<std::string> &warnings);

// The scene as LWSC text with CR LF line ends.
std::string sceneText(const HostScene &scene);

// Writes sceneText to `path` as an OutputFile; throws OutputError naming the
// file and the reason when it cannot be written.
void writeSceneFile(const HostScene &scene, const std::string &path);

}  // namespace plof::host
