// "Did you mean ...?": the word of a vocabulary nearest to a word that is in
// none, for messages about a mistyped keyword, flag or command.
#pragma once

#include <string>
#include <vector>

namespace plof::host {

// The word of `vocabulary` nearest to `word`, ignoring case, when one is a
// letter or two apart (fewer than a third of its letters), else "".
std::string nearestWord(const std::string &word, const std::vector<std::string> &vocabulary);

}  // namespace plof::host
