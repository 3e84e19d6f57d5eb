// The play command's output: every point of every item at every frame, as
// CSV. Numbers are written in their shortest round-trip form.
//
// Columns: frame,point,x,y,z for a scene of one item, else
// frame,item,point,x,y,z (item = 1-based number in scene order); a last
// column dissolve when any item has a dissolve envelope.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "host/host_scene.h"

namespace plof::tools {

class PointsCsv {
public:
    // Writes to `out` (not owned); the header is written at once.
    PointsCsv(std::FILE *out, const plof::host::HostScene &scene);
    ~PointsCsv();

    // The rows of one item at one frame: x, y, z per point.
    void writeItem(int32_t frame, std::size_t itemIndex, std::span<const double> points);

    // Writes what is buffered; false when the output failed.
    bool flush();

private:
    std::FILE *out_;
    const plof::host::HostScene &scene_;
    bool itemColumn_;
    bool dissolveColumn_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace plof::tools
