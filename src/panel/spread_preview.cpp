#include "panel/spread_preview.h"

#include "base/number_format.h"
#include "math/portable_math.h"
#include "panel/options_panel.h"
#include "panel/panel_layer.h"
#include "sim/effect_constants.h"

namespace plof {

namespace {

constexpr int32_t kRadius = 18;
constexpr int32_t kLeftX = 350;
constexpr int32_t kBottomY = 142;
// The rays turn degrees into radians with kEffectPi, as the effect's spread
// does; near 0 and 180 degrees that also keeps tan finite.

// The height above the centre at which the ray of `spread` degrees from
// straight up crosses column j, truncated toward zero.
int32_t rayHeight(int32_t spread, int32_t j) {
    const int64_t fromHorizontal = int64_t{90} - spread;
    return truncateToInt32(portableTan(static_cast<double>(fromHorizontal) * kEffectPi / 180.0) * j);
}

}  // namespace

void drawSpreadPreview(PlofControl, void *userData) {
    const OptionsPanelContext &context = *static_cast<const OptionsPanelContext *>(userData);
    const PlofPanelServices &services = *context.services;
    const int32_t smin = getIntegerValue(services, context.controls[kSpreadMinSlider]);
    const int32_t smax = getIntegerValue(services, context.controls[kSpreadMaxSlider]);
    for (int32_t i = 0; i < 2 * kRadius; ++i) {
        const int32_t k = i - kRadius;
        for (int32_t j = 0; j < kRadius; ++j) {
            const double jj = static_cast<double>(j) * j;
            const double kk = static_cast<double>(k) * k;
            if (!(jj + kk < static_cast<double>(kRadius) * kRadius)) continue;
            const int32_t t1 = rayHeight(smin, j);
            const int32_t t2 = rayHeight(smax, j);
            const int32_t colour = t2 < k && k < t1 ? kSpreadColour : kOtherColour;
            services.drawPixel(context.panel, colour, kLeftX + j, kBottomY - i);
        }
    }
}

void drawOptionsPanel(PlofPanel, void *userData, int32_t) {
    const OptionsPanelContext &context = *static_cast<const OptionsPanelContext *>(userData);
    drawSpreadPreview(context.controls[kSpreadMinSlider], userData);
}

}  // namespace plof
