// The load and save states through which an effect instance reads and writes
// its block of lines in the host's scene.
//
// LineReader hands out `lines` one per read, cut to the caller's buffer, and
// reports the end of the block with -1. LineWriter collects written lines.
// Both must outlive the load or save call they are handed to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plof/handler.h"

namespace plof::host {

class LineReader {
public:
    explicit LineReader(const std::vector<std::string> &lines);

    const PlofLoadState &state() const { return state_; }

private:
    static int32_t read(void *data, char *buffer, int32_t size);

    const std::vector<std::string> &lines_;
    std::size_t next_ = 0;
    PlofLoadState state_;
};

class LineWriter {
public:
    LineWriter();

    const PlofSaveState &state() const { return state_; }
    const std::vector<std::string> &lines() const { return lines_; }

private:
    static void write(void *data, const char *text, int32_t length);

    std::vector<std::string> lines_;
    PlofSaveState state_;
};

}  // namespace plof::host
