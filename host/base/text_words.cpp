#include "host/base/text_words.h"

#include <algorithm>

namespace plof::host {

namespace {

bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

char lowerLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) return words;
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

bool startsWithWord(std::string_view line, std::string_view word) {
    return line.starts_with(word) && (line.size() == word.size() || isSpaceOrTab(line[word.size()]));
}

std::string_view afterWord(std::string_view line, std::string_view word) {
    std::string_view rest = line.substr(std::min(word.size(), line.size()));
    while (!rest.empty() && isSpaceOrTab(rest.front())) rest.remove_prefix(1);
    return rest;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view lowerCase) {
    if (text.size() < lowerCase.size()) return false;
    for (std::size_t i = 0; i < lowerCase.size(); ++i) {
        if (lowerLetter(text[i]) != lowerCase[i]) return false;
    }
    return true;
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) c = lowerLetter(c);
    return lower;
}

std::string_view trimmedSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.ends_with('\n')) return line;
    line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace plof::host
