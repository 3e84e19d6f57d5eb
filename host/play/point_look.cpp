#include "host/play/point_look.h"

namespace plof::host {

PointLook pointLook(const RestingPlaces *resting, bool shown, std::size_t point, const double *world) {
    if (!shown) return PointLook::Hidden;
    if (!resting) return PointLook::Other;
    return resting->atRest(point, world) ? PointLook::Resting : PointLook::Flying;
}

}  // namespace plof::host
