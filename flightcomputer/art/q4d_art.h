// The Q4d module's pictures: the computer's body, its disc and the toggle icon.
#pragma once

#include <vector>

#include "artkit.h"

namespace q4d {

// One mark of the 10-to-99 scale, the same on the body and the disc.
struct ScaleMark {
    double number;
    int level;     // 0 minor, 1 medium, 2 major
    bool labelled;
};
std::vector<ScaleMark> LogScaleMarks();

// Radii of the scales: the body's ticks run outward from the disc's rim, the disc's inward.
inline constexpr double kDiscRim = 280.0;
inline constexpr double kTickLength[3] = {7.0, 11.0, 16.0};

artkit::Image DrawBody();
artkit::Image DrawDisc();
artkit::Image DrawIcon();

// Every picture of the module, by id.
std::vector<artkit::Picture> Pictures();

}  // namespace q4d
