#include "host/module/saved_lines.h"

#include <algorithm>
#include <cstring>

namespace plof::host {

LineReader::LineReader(const std::vector<std::string> &lines) : lines_(lines), state_{this, &LineReader::read} {}

int32_t LineReader::read(void *data, char *buffer, int32_t size) {
    auto *self = static_cast<LineReader *>(data);
    if (buffer && size > 0) {
        buffer[0] = '\0';
    }
    if (self->next_ >= self->lines_.size()) {
        return -1;
    }
    const std::string &line = self->lines_[self->next_];
    const std::size_t capacity = buffer && size > 0 ? static_cast<std::size_t>(size) - 1 : 0;
    const std::size_t length = std::min(line.size(), capacity);
    ++self->next_;
    if (buffer && size > 0) {
        std::memcpy(buffer, line.data(), length);
        buffer[length] = '\0';
    }
    return static_cast<int32_t>(length);
}

LineWriter::LineWriter() : state_{this, &LineWriter::write} {}

void LineWriter::write(void *data, const char *text, int32_t length) {
    auto *self = static_cast<LineWriter *>(data);
    if (!text) {
        self->lines_.emplace_back();
        return;
    }
    // The length counts the terminating NUL: at most length - 1 characters,
    // fewer when a NUL comes first.
    const char *end = length > 0 ? std::find(text, text + (length - 1), '\0') : text + std::strlen(text);
    // A line break inside a line would split it in the scene file.
    const char *const breaks = "\r\n";
    end = std::find_first_of(text, end, breaks, breaks + 2);
    const auto size = static_cast<std::size_t>(end - text);
    self->lines_.emplace_back(text, size);
}

}  // namespace plof::host
