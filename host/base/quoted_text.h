// Bytes from input files, made safe to quote in a message: a NUL or a line
// feed read from a file must neither cut nor split the message that names
// it, and a line of a megabyte must not be repeated whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plof::host {

// The most bytes of an input line that a message quotes.
inline constexpr std::size_t kQuotedLineLimit = 80;

// `bytes` with every byte outside printable ASCII escaped: "\n", "\r", "\t",
// else "\xNN" (two lower-case hex digits). For identifiers that are ASCII by
// definition, such as an IFF chunk's four letters.
std::string escapedBytes(std::string_view bytes);

// The first `limit` bytes of a text line, "..." added when it was longer
// (never cutting a UTF-8 character), with control characters escaped as in
// escapedBytes; other bytes (UTF-8 names) stay as they are.
std::string lineExcerpt(std::string_view line, std::size_t limit = kQuotedLineLimit);

// lineExcerpt in double quotes: how every message of the host quotes what it
// read or was given ("\"Gravty\" is no setting").
std::string quotedText(std::string_view text, std::size_t limit = kQuotedLineLimit);

}  // namespace plof::host
