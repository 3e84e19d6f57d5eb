// The file name a save takes from the name a person typed: a plain name,
// written directly inside the studio's folder (host/files/confined_folder.h
// keeps it there). Refused: an empty name, a directory part ("/" or "\"),
// "..", text that is not UTF-8, control characters (U+0000-U+001F,
// U+007F-U+009F), line and paragraph separators (U+2028, U+2029),
// directional marks and overrides (U+200E, U+200F, U+202A-U+202E,
// U+2066-U+2069), which would show a name other than the one written, and a
// name longer than kLongestSaveName.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace plof::host::studio {

inline constexpr std::size_t kLongestSaveName = 120;

// The extensions of the kinds of file the studio saves.
inline constexpr std::array<const char *, 3> kSaveExtensions{".plf", ".lws", ".glb"};

// `name` as the file to write with `extension` (one of kSaveExtensions):
// kept when it ends with it, in any case; another kind's extension is
// replaced by it ("g100.plf" as a scene is "g100.lws"); any other name gets
// it appended ("v1.2" is "v1.2.lws"). Nothing, with `problem` saying why,
// when the name is refused.
std::optional<std::string> saveFileName(const std::string &name, const std::string &extension, std::string &problem);

}  // namespace plof::host::studio
