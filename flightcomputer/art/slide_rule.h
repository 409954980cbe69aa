// The slide rule's geometry: where each number of the two logarithmic scales lies, and how far the
// host turns the disc for a position. The pictures are drawn by these functions and the tests
// check the pictures against them.
//
// Angles are dial degrees, clockwise from straight up, as seen on the assembled computer.
//
// One decade takes a full turn on both scales, and the disc turns a full turn for
// 2 * kUnitsPerHalfTurn units. So a disc position p shifts the disc's scale by p / 3598 of a
// decade: every number n on the disc stands against n * 10^(p / 3598) on the body. With the hour
// index (60 on the disc) under a speed S, p = 3598 * log10(S / 60).
#pragma once

#include <cmath>

#include "geometry.h"

namespace q4d {

inline constexpr double kUnitsPerTurn = 2 * kUnitsPerHalfTurn;

// The hour index, the black triangle at the left edge of the disc picture, marks 60 minutes.
inline constexpr double kHourIndex = 60.0;

// Dial angle of a number (any positive value; only its mantissa counts) on the body's scale. At
// disc position 0 the two scales stand number against number and the hour index points straight
// down, so the body's 60 is straight down too.
inline double BodyScaleAngle(double number) {
    const double decades = std::log10(number) - std::log10(kHourIndex);
    const double a = 180.0 + 360.0 * (decades - std::floor(decades));
    return std::fmod(a, 360.0);
}

// How far the host has turned the disc, clockwise, at a position: 1799 units per half turn, at
// the same rate past both ends of the disc's two-entry table.
inline double DiscTurn(double position) { return position * 180.0 / kUnitsPerHalfTurn; }

// Dial angle of a number on the disc picture itself (unturned bitmap). The host turns the picture
// so that its rightward direction (dial 90) points straight up at position 0, so a number drawn at
// picture angle a shows at dial angle a - 90 + DiscTurn(position).
inline double DiscPictureAngle(double number) { return std::fmod(BodyScaleAngle(number) + 90.0, 360.0); }

// The position that sets the disc's `disc_number` against the body's `body_number`, as the nearest
// whole number of units (the buttons step whole units).
inline double PositionFor(double disc_number, double body_number) {
    return std::round(kUnitsPerTurn * std::log10(body_number / disc_number));
}

// The body's number that stands against the disc's `disc_number` at a position.
inline double BodyNumberAgainst(double disc_number, double position) {
    return disc_number * std::pow(10.0, position / kUnitsPerTurn);
}

}  // namespace q4d
