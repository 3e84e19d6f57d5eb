#include "effect_summaries.h"

namespace plof::tools {

EffectSummaries::EffectSummaries(const Playback &playback) : playback_(playback) {
    const host::HostScene &scene = playback.scene();
    collectors_.resize(scene.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (scene.items[i].hasEffect) {
            collectors_[i] = std::make_unique<host::EffectSummaryCollector>(scene, i, playback.effectSettings(i),
                                                                            playback.fps());
        }
    }
}

void EffectSummaries::addFrame(int32_t frame) {
    for (std::size_t i = 0; i < collectors_.size(); ++i) {
        if (collectors_[i]) collectors_[i]->addFrame(frame, frame / playback_.fps(), playback_.worldPoints(i));
    }
}

std::vector<host::EffectSummary> EffectSummaries::finish() {
    std::vector<host::EffectSummary> summaries;
    for (const auto &collector : collectors_) {
        if (collector) summaries.push_back(collector->finish(playback_.frames().first, playback_.frames().last));
    }
    return summaries;
}

}  // namespace plof::tools
