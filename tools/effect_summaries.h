// The summary of every item that carries the effect, collected frame by
// frame while a Playback plays (plof-host summary, and the studio).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/effect_summary.h"
#include "playback.h"

namespace plof::tools {

class EffectSummaries {
public:
    // `playback` must outlive the collection.
    explicit EffectSummaries(const Playback &playback);

    // Adds the frame `playback` has just played.
    void addFrame(int32_t frame);

    // One summary per item with the effect, in scene order, once the range was played.
    std::vector<host::EffectSummary> finish();

private:
    const Playback &playback_;
    std::vector<std::unique_ptr<host::EffectSummaryCollector>> collectors_;  // null for items without it
};

}  // namespace plof::tools
