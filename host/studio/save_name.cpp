#include "host/studio/save_name.h"

#include <cstdint>
#include <string_view>

namespace plof::host::studio {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    text.remove_prefix(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(ending[i])) return false;
    }
    return true;
}

// The next code point of UTF-8 `text` at `at`, which it passes; nothing for
// bytes that are not UTF-8 (overlong forms and surrogates included).
std::optional<uint32_t> nextCodePoint(std::string_view text, std::size_t &at) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || at + length > text.size()) return std::nullopt;
    uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return std::nullopt;
    at += length;
    return point;
}

// Code points that would make the name shown differ from the name written.
bool hiddenOrMisleading(uint32_t point) {
    return point < 0x20 || (point >= 0x7F && point <= 0x9F) || point == 0x2028 || point == 0x2029 || point == 0x200E ||
           point == 0x200F || (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

std::string plainNameProblem(const std::string &name) {
    if (name.size() > kLongestSaveName) return "the name is longer than " + std::to_string(kLongestSaveName);
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        return "the name has a directory part; give a plain file name";
    }
    if (name.find("..") != std::string::npos) return "the name holds \"..\"";
    for (std::size_t at = 0; at < name.size();) {
        const auto point = nextCodePoint(name, at);
        if (!point) return "the name is not UTF-8 text";
        if (hiddenOrMisleading(*point)) {
            return "the name holds a control, line-break or text-direction character; type the name again";
        }
    }
    return "";
}

}  // namespace

std::optional<std::string> saveFileName(const std::string &name, const std::string &extension, std::string &problem) {
    if (name.empty()) {
        problem = "the name is empty";
        return std::nullopt;
    }
    std::string file = name;
    if (!endsWithIgnoringCase(file, extension)) {
        for (const std::string_view other : kSaveExtensions) {
            if (endsWithIgnoringCase(file, other)) {
                file.resize(file.size() - other.size());
                break;
            }
        }
        file += extension;
    }
    // The name as it will be written: "a." becomes "a..plf", and ".plf" alone is refused below.
    problem = plainNameProblem(file);
    if (!problem.empty()) return std::nullopt;
    if (file.size() == extension.size()) {
        problem = "the name is only an extension; give the file a name";
        return std::nullopt;
    }
    return file;
}

}  // namespace plof::host::studio
