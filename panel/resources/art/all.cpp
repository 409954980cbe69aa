#include "pictures.h"

namespace skelvan_art {

std::vector<Picture> DrawAll() {
    std::vector<Picture> out;
    DrawAttitude(out);
    DrawNeedleDials(out);
    DrawAltimeters(out);
    DrawSlipAndCompass(out);
    DrawFlydat(out);
    DrawLamps(out);
    DrawSwitches(out);
    DrawThrottleAndFlaps(out);
    DrawRadio(out);
    return out;
}

}  // namespace skelvan_art
