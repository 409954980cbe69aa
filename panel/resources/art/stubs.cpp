// Temporary: gauges not drawn yet.
#include "pictures.h"

namespace skelvan_art {
void DrawAttitude(std::vector<Picture>&) {}
void DrawSlipAndCompass(std::vector<Picture>&) {}
void DrawFlydat(std::vector<Picture>&) {}
void DrawSwitches(std::vector<Picture>&) {}
void DrawThrottleAndFlaps(std::vector<Picture>&) {}
void DrawRadio(std::vector<Picture>&) {}
}  // namespace skelvan_art
