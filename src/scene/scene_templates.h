// The fixed texts a baked scene is made from: the default scene and the two
// object block templates, one row per line, each stored without its line
// feed. The rows are the file format the host reads: every space counts
// ("DataOverlayLabel " keeps its trailing space, motion rows start with two).
#pragma once

#include <array>
#include <cstddef>

namespace plof {

inline constexpr std::size_t kDefaultSceneRowCount = 76;
inline constexpr std::size_t kObjectBlockRowCount = 10;

extern const std::array<const char *, kDefaultSceneRowCount> kDefaultSceneRows;

// Row 0 of each block ends with a space; the object's name follows it.
extern const std::array<const char *, kObjectBlockRowCount> kLoadedObjectRows;
extern const std::array<const char *, kObjectBlockRowCount> kNullObjectRows;

}  // namespace plof
