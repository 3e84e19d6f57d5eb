// The points of a LightWave object file: LWOB and LWO2 (an IFF FORM; points
// from every PNTS chunk in file order, big-endian floats).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The points of an LWOB or LWO2 file's bytes; `fileName` names it in errors.
std::vector<float> parseLightWaveObject(std::string_view bytes, const std::string &fileName);

}  // namespace plof::host
