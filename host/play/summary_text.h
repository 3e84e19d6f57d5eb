// The summary of a played scene for a person, as `plof-host summary` prints
// it: per item with the effect, its numbers one per line, then its warnings.
#pragma once

#include <string>
#include <vector>

#include "host/play/summary.h"

namespace plof::host {

// The summaries in scene order, a blank line between items; a line saying
// so when no item carries the effect.
std::string summariesText(const std::vector<EffectSummary> &summaries);

}  // namespace plof::host
