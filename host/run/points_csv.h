// What `plof-host play` prints, and the studio's play.csv: every point of
// every item at every frame, as CSV. Numbers are written in their shortest
// round-trip form.
//
// Columns: frame,point,x,y,z for a scene of one item, else
// frame,item,point,x,y,z (item = 1-based number in scene order); a last
// column dissolve when any item has a dissolve envelope.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "host/scene/host_scene.h"

namespace plof::host {

class PointsCsv {
public:
    // Hands the text to `write` in pieces of about a megabyte; the header
    // row is handed over at the first flush.
    PointsCsv(std::function<void(std::string_view)> write, const HostScene &scene);

    // The rows of one item at one frame: x, y, z per point.
    void writeItem(int32_t frame, std::size_t itemIndex, std::span<const double> points);

    // Hands over what is buffered.
    void flush();

private:
    std::function<void(std::string_view)> write_;
    const HostScene &scene_;
    bool itemColumn_;
    bool dissolveColumn_;
    std::string buffer_;
};

}  // namespace plof::host
