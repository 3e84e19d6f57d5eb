#include "base/path_text.h"

namespace plof {

namespace {

// Appends text at out[used], keeping room for the terminator; false when cut.
bool append(char *out, std::size_t capacity, std::size_t &used, const char *text) {
    if (text == nullptr) return true;
    for (; *text != '\0'; ++text) {
        if (used + 1 >= capacity) return false;
        out[used++] = *text;
    }
    return true;
}

}  // namespace

bool copyBounded(char *out, std::size_t capacity, const char *text) {
    std::size_t used = 0;
    const bool whole = append(out, capacity, used, text);
    out[used] = '\0';
    return whole;
}

bool joinPath(char *out, std::size_t capacity, const char *directory, const char *fileName) {
    const char separator[2] = {kPathSeparator, '\0'};
    std::size_t used = 0;
    const bool whole = append(out, capacity, used, directory) && append(out, capacity, used, separator) &&
                       append(out, capacity, used, fileName);
    out[used] = '\0';
    return whole;
}

}  // namespace plof
