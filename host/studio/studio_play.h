// One play of the studio's scene, and what the host observed of it for the
// page: each effect's settings, every position of every frame and how the
// host shows it (point_look.h), the summary and the play's own warnings.
//
// Every play loads the module afresh (the previous load is unloaded first),
// so that its random generator starts at 1 as it does for `plof-host play`:
// the positions shown for a set of settings are those `play` prints for the
// same settings saved as a .plf file or a scene.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/base/host_context.h"
#include "host/base/warning_log.h"
#include "host/play/point_look.h"
#include "host/play/summary.h"
#include "host/run/playback_inputs.h"
#include "host/settings/settings_reading.h"

namespace plof::host::studio {

struct StudioPlay {
    // Each item's settings as its effect holds them once loaded (and edited
    // by a first panel run); a new instance's for an item without the effect.
    std::vector<EffectSettings> settings;
    std::vector<std::size_t> itemPositions;  // x, y, z triples of each item per frame
    std::size_t framePositions = 0;          // triples per frame, of every item
    std::vector<double> positions;           // frame by frame, items in scene order
    std::vector<PointLook> looks;            // one per triple of `positions`
    std::vector<EffectSummary> summaries;
    std::vector<std::string> warnings;  // said while playing, once each
};

// Plays `inputs` from the first frame to the last. Its warnings go into the
// play; with `terminal` they are also printed as plof-host prints them.
// Throws as Playback does.
StudioPlay playStudioScene(const PlaybackInputs &inputs, bool terminal);

// A warning log of its own, not printed, for the other plays of a session
// (its saves and pictures) while this object lives.
class QuietWarnings {
public:
    QuietWarnings() : log_(false), scope_({.warnings = &log_}) {}
    const std::vector<std::string> &messages() const { return log_.messages(); }

private:
    WarningLog log_;
    ContextScope scope_;
};

}  // namespace plof::host::studio
