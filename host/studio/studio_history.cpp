#include "host/studio/studio_history.h"

#include <stdexcept>

namespace plof::host::studio {

StudioHistory::StudioHistory(StudioDocument start) : start_(start), steps_{std::move(start)} {}

StudioHistory::StudioHistory(StudioDocument start, std::vector<StudioDocument> steps, std::size_t at)
    : start_(std::move(start)), steps_(std::move(steps)), at_(at) {
    if (at_ >= steps_.size() || steps_.size() > kMostSteps + 1) {
        throw std::invalid_argument("a history of " + std::to_string(steps_.size()) + " steps cannot show step " +
                                    std::to_string(at_));
    }
}

void StudioHistory::push(StudioDocument document) {
    steps_.resize(at_ + 1);
    steps_.push_back(std::move(document));
    if (steps_.size() > kMostSteps + 1) steps_.erase(steps_.begin());
    at_ = steps_.size() - 1;
}

}  // namespace plof::host::studio
