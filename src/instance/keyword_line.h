// Keyword lines: the text form in which the settings travel, one value per
// line, in the host's scene (through the load and save states) and in the
// settings files (through a C stream the caller has opened).
//
// A keyword line is the keyword, then, for a value, a space and the value in
// fixed notation with six decimals ("V0Min 1.000000"). Every number goes
// through the module's one formatter and parser, so every build writes and
// reads the same bytes. Nothing here reports an error: texts longer than
// their buffers are cut to what the buffer holds, and the rest of such a line
// is dropped, never read as the next line.
#pragma once

#include <cstdint>
#include <cstdio>

#include "instance/handler_instance.h"
#include "plof/handler.h"

namespace plof {

// A line cut to 254 characters leaves room for the file form's line feed and
// the NUL in the 256-byte line buffer.
inline constexpr std::size_t kMaxLineText = kLineBufferSize - 2;

// One line split at its first space.
struct KeywordLine {
    LineBuffer keyword{};   // the line up to its first space, or the whole line
    int32_t length = 0;     // length of keyword
    double value = 0.0;     // the number after the first space; set only when hasValue
    bool hasValue = false;  // the line has a space, so value was read from it
};

// Reads the next line and splits it. The host form reads with a 256-byte
// buffer and returns false when the host's block has no further line. The file
// form reads at most 255 characters and keeps the line end (a longer line's
// rest is skipped); a "\r\n" end is read as "\n", so files
// written on Windows read the same everywhere. It returns false at the end of
// the file. On false, `line` is left as it was.
bool readKeywordLine(const PlofLoadState &state, KeywordLine &line);
bool readKeywordLine(std::FILE *file, KeywordLine &line);

// Reads the next line whole, without splitting, into `destination`: at most
// 255 characters and the NUL, as much as the instance keeps and more than the
// writer writes (a name line carries an item name that may hold spaces). The
// file form removes the line end; a longer line's rest is skipped. Returns
// false when no line was left (destination then empty).
bool readNameLine(const PlofLoadState &state, LineBuffer &destination);
bool readNameLine(std::FILE *file, LineBuffer &destination);

// Writes `text` (cut to kMaxLineText characters) as one line: to the host as
// the text and its NUL, with the NUL counted in the length; to a file followed
// by a line feed.
void writeTextLine(const PlofSaveState &state, const char *text);
void writeTextLine(std::FILE *file, const char *text);

// Writes "keyword value" with the value as " %f" gives it (9.8 -> " 9.800000"),
// as one line, cut like writeTextLine. A value whose " %f" text would not
// fit the line (from about 1e239 up) is written in the shortest form that
// reads back as the same double (" 1e+308") instead of being cut.
void writeKeywordValue(const PlofSaveState &state, const char *keyword, double value);
void writeKeywordValue(std::FILE *file, const char *keyword, double value);

// 0 when `text` begins with `prefix` (bytes, case-sensitive; the empty prefix
// begins every text), 1 otherwise. Loaders pass a keyword of their vocabulary
// as the text and the keyword read as the prefix, so a shortened keyword
// matches.
int32_t hasPrefix(const char *text, const char *prefix);

// 1 when `name` ends with `suffix` (case-sensitive), 0 otherwise. Only the
// first 255 characters of the name count: names are file names held in
// 256-byte buffers.
int32_t endsWith(const char *name, const char *suffix);

}  // namespace plof
