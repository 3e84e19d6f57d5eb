// Where the studio may write a file the user names: only into the directory
// given with --dir, under a plain name. Refused: an empty name, a directory
// part ("/" or "\"), "..", control characters, a name longer than
// kLongestSaveName, and a name that resolves outside the directory through
// a symbolic link (the file itself, or a directory on the way, pointing out).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace plof::host::studio {

inline constexpr std::size_t kLongestSaveName = 120;

// The path to write for `name` in `directory`, with `extension` (".plf")
// appended when the name does not end with it; nothing, with `problem`
// saying why, when the name is refused.
std::optional<std::string> savePath(const std::string &directory, const std::string &name, const std::string &extension,
                                    std::string &problem);

}  // namespace plof::host::studio
