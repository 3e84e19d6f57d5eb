// Words and keywords in lines of text, as every reader of the host (scenes,
// settings, panel scripts) and every message about them sees them. ASCII
// only: the files the host reads name their keywords in ASCII, and bytes
// above it (names in the host's code page) are never changed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// A blank as the C library's isspace sees it in the "C" locale: space, tab,
// line feed, vertical tab, form feed, carriage return.
bool isBlank(char c);

// The runs of characters other than space and tab, in order. The views point
// into `line`.
std::vector<std::string_view> splitWords(std::string_view line);

// Whether `line` begins with the whole word `word`: followed by its end, a
// space or a tab.
bool startsWithWord(std::string_view line, std::string_view word);

// What follows the first `word.size()` characters of `line` (which begin
// with `word`) once the spaces and tabs after them are skipped.
std::string_view afterWord(std::string_view line, std::string_view word);

// Whether `text` begins with `lowerCase`, the letters of `text` compared
// without case (`lowerCase` is written in lower case).
bool startsWithIgnoringCase(std::string_view text, std::string_view lowerCase);

// `text` with its letters A to Z in lower case.
std::string lowerCase(std::string_view text);

// `text` without the spaces at its ends (tabs and other blanks stay).
std::string_view trimmedSpaces(std::string_view text);

// `line` without one line end at its end (LF, or CR LF), as fgets leaves it.
std::string_view withoutLineEnd(std::string_view line);

}  // namespace plof::host
