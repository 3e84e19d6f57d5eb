#include "instance/keyword_line.h"

#include <array>
#include <cstring>

#include "base/number_format.h"

namespace plof {

namespace {

inline constexpr int32_t kNameReadSize = static_cast<int32_t>(kLineBufferSize);

// After a read of a line that did not fit its buffer (no line end read, and
// not at the end of the file), the rest of that line is read and dropped, so
// the next read begins with the next line.
void skipRestOfLine(const char *text, std::FILE *file) {
    const std::size_t length = std::strlen(text);
    if (length > 0 && text[length - 1] == '\n') return;
    int c = std::fgetc(file);
    while (c != EOF && c != '\n') c = std::fgetc(file);
}

void splitLine(const char *text, KeywordLine &line) {
    std::size_t i = 0;
    while (i < kLineBufferSize - 1 && text[i] != '\0' && text[i] != ' ') {
        line.keyword[i] = text[i];
        ++i;
    }
    line.keyword[i] = '\0';
    line.length = static_cast<int32_t>(i);
    line.hasValue = text[i] == ' ';
    if (line.hasValue) line.value = parseDecimal(text + i);
}

// A file written on Windows and read elsewhere ends its lines with "\r\n";
// reading it as "\n" keeps "PLOF_END\n" and the like equal on every platform.
void normaliseLineEnd(char *text) {
    const std::size_t length = std::strlen(text);
    if (length >= 2 && text[length - 2] == '\r' && text[length - 1] == '\n') {
        text[length - 2] = '\n';
        text[length - 1] = '\0';
    }
}

void removeLineEnd(char *text) {
    std::size_t length = std::strlen(text);
    if (length > 0 && text[length - 1] == '\n') --length;
    if (length > 0 && text[length - 1] == '\r') --length;
    text[length] = '\0';
}

// Copies at most kMaxLineText characters of `text` into `line`.
std::size_t cutLine(const char *text, LineBuffer &line) {
    std::size_t length = 0;
    while (length < kMaxLineText && text[length] != '\0') {
        line[length] = text[length];
        ++length;
    }
    line[length] = '\0';
    return length;
}

// "keyword value" in a buffer large enough for any double in fixed notation,
// before writeTextLine cuts it to the line buffer.
using ValueLine = std::array<char, 2 * kLineBufferSize + 128>;

void composeKeywordValue(const char *keyword, double value, ValueLine &out) {
    LineBuffer cutKeyword;
    const std::size_t length = cutLine(keyword, cutKeyword);
    std::memcpy(out.data(), cutKeyword.data(), length);
    out[length] = ' ';
    char *number = out.data() + length + 1;
    const std::size_t room = out.size() - length - 1;
    const int32_t written = formatFixed(number, room, value, 6);
    // Cut to the line, a value of astronomic size (Gravity 1e308 has 309
    // digits) would read back as another number: it is written in the
    // shortest form that reads back exactly instead.
    if (written < 0 || length + 1 + static_cast<std::size_t>(written) > kMaxLineText) {
        formatShortest(number, room, value);
    }
}

}  // namespace

bool readKeywordLine(const PlofLoadState &state, KeywordLine &line) {
    LineBuffer buffer{};
    if (state.read(state.data, buffer.data(), static_cast<int32_t>(buffer.size())) < 0) return false;
    buffer.back() = '\0';
    splitLine(buffer.data(), line);
    return true;
}

bool readKeywordLine(std::FILE *file, KeywordLine &line) {
    LineBuffer buffer{};
    if (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file) == nullptr) return false;
    skipRestOfLine(buffer.data(), file);
    normaliseLineEnd(buffer.data());
    splitLine(buffer.data(), line);
    return true;
}

bool readNameLine(const PlofLoadState &state, LineBuffer &destination) {
    const bool read = state.read(state.data, destination.data(), kNameReadSize) >= 0;
    if (!read) destination[0] = '\0';
    destination.back() = '\0';
    return read;
}

bool readNameLine(std::FILE *file, LineBuffer &destination) {
    if (std::fgets(destination.data(), kNameReadSize, file) == nullptr) {
        destination[0] = '\0';
        return false;
    }
    skipRestOfLine(destination.data(), file);
    removeLineEnd(destination.data());
    return true;
}

void writeTextLine(const PlofSaveState &state, const char *text) {
    LineBuffer line;
    const std::size_t length = cutLine(text, line);
    state.write(state.data, line.data(), static_cast<int32_t>(length + 1));
}

void writeTextLine(std::FILE *file, const char *text) {
    LineBuffer line;
    const std::size_t length = cutLine(text, line);
    line[length] = '\n';
    std::fwrite(line.data(), 1, length + 1, file);
}

void writeKeywordValue(const PlofSaveState &state, const char *keyword, double value) {
    ValueLine text;
    composeKeywordValue(keyword, value, text);
    writeTextLine(state, text.data());
}

void writeKeywordValue(std::FILE *file, const char *keyword, double value) {
    ValueLine text;
    composeKeywordValue(keyword, value, text);
    writeTextLine(file, text.data());
}

int32_t hasPrefix(const char *text, const char *prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (text[i] == '\0' || text[i] != prefix[i]) return 1;
    }
    return 0;
}

int32_t endsWith(const char *name, const char *suffix) {
    std::size_t nameLength = 0;
    while (nameLength < kLineBufferSize - 1 && name[nameLength] != '\0') ++nameLength;
    const std::size_t suffixLength = std::strlen(suffix);
    if (suffixLength > nameLength) return 0;
    for (std::size_t i = 1; i <= suffixLength; ++i) {
        if (name[nameLength - i] != suffix[suffixLength - i]) return 0;
    }
    return 1;
}

}  // namespace plof
