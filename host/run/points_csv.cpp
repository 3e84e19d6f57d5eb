#include "host/run/points_csv.h"

#include "host/base/number_text.h"
#include "host/scene/motion.h"

namespace plof::host {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

PointsCsv::PointsCsv(std::function<void(std::string_view)> write, const HostScene &scene)
    : write_(std::move(write)), scene_(scene), itemColumn_(scene.items.size() != 1),
      dissolveColumn_(scene.hasDissolve()) {
    buffer_ = itemColumn_ ? "frame,item,point,x,y,z" : "frame,point,x,y,z";
    buffer_ += dissolveColumn_ ? ",dissolve\n" : "\n";
}

void PointsCsv::writeItem(int32_t frame, std::size_t itemIndex, std::span<const double> points) {
    const HostItem &item = scene_.items[itemIndex];
    std::string dissolve;
    if (dissolveColumn_) {
        dissolve = "," + shortestText(item.dissolveAt(frame));
    }
    const std::string prefix = std::to_string(frame) + (itemColumn_ ? "," + std::to_string(itemIndex + 1) : "");
    for (std::size_t p = 0; p + 2 < points.size(); p += 3) {
        buffer_ += prefix;
        buffer_ += ',';
        buffer_ += std::to_string(p / 3);
        for (int c = 0; c < 3; ++c) {
            buffer_ += ',';
            buffer_ += shortestText(points[p + static_cast<std::size_t>(c)]);
        }
        buffer_ += dissolve;
        buffer_ += '\n';
        if (buffer_.size() >= kFlushSize) {
            flush();
        }
    }
}

void PointsCsv::flush() {
    if (!buffer_.empty()) write_(buffer_);
    buffer_.clear();
}

}  // namespace plof::host
