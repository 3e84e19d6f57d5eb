#include "host/panels/panel_snapshot.h"

namespace plof::host {

bool snapshotAvailable() { return false; }

bool writePanelSnapshot(const PlofPanelRecord &, const std::string &path, std::string &problem) {
    problem = path + ": panel snapshots are not available in this build (it was built without cairo)";
    return false;
}

}  // namespace plof::host
