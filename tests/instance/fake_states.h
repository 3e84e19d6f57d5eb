// The host's load and save states for the unit suites: a block of lines
// handed out one read at a time (as the host does, cut to the buffer and
// NUL-terminated, -1 past the last line), and a recorder of written lines.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plof/handler.h"

namespace plof::testing {

class FakeLoadState {
public:
    explicit FakeLoadState(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    FakeLoadState(const FakeLoadState &) = delete;
    FakeLoadState &operator=(const FakeLoadState &) = delete;

    const PlofLoadState &state() { return state_; }
    // The buffer size given by each read, in order.
    const std::vector<int32_t> &sizes() const { return sizes_; }
    std::size_t linesRead() const { return next_; }

private:
    static int32_t read(void *data, char *buffer, int32_t size) {
        auto &self = *static_cast<FakeLoadState *>(data);
        self.sizes_.push_back(size);
        if (self.next_ >= self.lines_.size()) {
            buffer[0] = '\0';
            return -1;
        }
        const std::string &line = self.lines_[self.next_++];
        const std::size_t length = std::min(line.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, line.data(), length);
        buffer[length] = '\0';
        return static_cast<int32_t>(length);
    }

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    std::vector<int32_t> sizes_;
    PlofLoadState state_{this, read};
};

class FakeSaveState {
public:
    FakeSaveState() = default;
    FakeSaveState(const FakeSaveState &) = delete;
    FakeSaveState &operator=(const FakeSaveState &) = delete;
    const PlofSaveState &state() { return state_; }
    // The texts written, read up to the length given minus its NUL.
    const std::vector<std::string> &lines() const { return lines_; }
    // Every write's length counted a NUL that was really there.
    bool lengthsCountTheNul() const { return lengthsCountTheNul_; }

private:
    static void write(void *data, const char *text, int32_t length) {
        auto &self = *static_cast<FakeSaveState *>(data);
        if (length < 1 || text[length - 1] != '\0' || std::strlen(text) != static_cast<std::size_t>(length - 1))
            self.lengthsCountTheNul_ = false;
        self.lines_.emplace_back(text, length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    }

    std::vector<std::string> lines_;
    bool lengthsCountTheNul_ = true;
    PlofSaveState state_{this, write};
};

}  // namespace plof::testing
