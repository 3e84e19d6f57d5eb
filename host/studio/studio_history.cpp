#include "host/studio/studio_history.h"

namespace plof::host::studio {

StudioHistory::StudioHistory(StudioDocument start) : start_(start), steps_{std::move(start)} {}

void StudioHistory::push(StudioDocument document) {
    steps_.resize(at_ + 1);
    steps_.push_back(std::move(document));
    if (steps_.size() > kMostSteps + 1) steps_.erase(steps_.begin());
    at_ = steps_.size() - 1;
}

}  // namespace plof::host::studio
