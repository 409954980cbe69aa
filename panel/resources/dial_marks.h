// Numbers that the needle records and the dial pictures share: needle pivots on the dials, the
// pivots of the needle pictures, and the dial marks that the needles' NonlinearityTables point at.
// The gauges take their tables from here (each needle holds its own copy, since the host writes
// into a table it is given); the artwork paints a tick through every mark listed here, and
// tests/artwork checks that the module's own tables land on painted ticks.
#pragma once

#include <cstdint>

#include "gauge.h"

namespace dial_marks {

struct Point {
    int32_t x, y;
};
using Mark = NonlinearityTable;

// ---- "Airspeed": dial 9984, needle 10240 -------------------------------------------------------

inline constexpr Point kAirspeedPivot{147, 149};
inline constexpr Point kAirspeedNeedlePivot{59, 12};  // in the needle picture

// Values in knots on marks of the km/h dial.
inline constexpr Mark kAirspeed[] = {
    {.x = 146, .y = 239, .value = 0},    // bottom of the dial
    {.x = 75, .y = 218, .value = 27},    // 50 km/h
    {.x = 135, .y = 37, .value = 65},    // 120 km/h, just left of the top
    {.x = 221, .y = 220, .value = 118},  // the tick by the red line beside 200
};

// ---- "VSI": dial 10496, 256 units per m/s ------------------------------------------------------

inline constexpr Point kVsiPivot{148, 148};

// 0 at the left; climb clockwise over the top, descent counter-clockwise under the bottom. The
// right edge between y 112 and 181 belongs to neither side.
inline constexpr Mark kVsi[] = {
    {.x = 262, .y = 181, .value = -1792},
    {.x = 257, .y = 196, .value = -1536},
    {.x = 232, .y = 229, .value = -1280},  // descent 5 m/s
    {.x = 185, .y = 255, .value = -1024},
    {.x = 131, .y = 259, .value = -768},
    {.x = 81, .y = 240, .value = -512},
    {.x = 45, .y = 200, .value = -256},    // descent 1 m/s
    {.x = 32, .y = 147, .value = 0},
    {.x = 43, .y = 95, .value = 256},      // climb 1 m/s
    {.x = 78, .y = 52, .value = 512},
    {.x = 130, .y = 32, .value = 768},
    {.x = 186, .y = 34, .value = 1024},
    {.x = 236, .y = 63, .value = 1280},    // climb 5 m/s
    {.x = 262, .y = 101, .value = 1536},
    {.x = 263, .y = 112, .value = 1792},
};

// ---- "Fuelpres": dial 9472 in bar, needle 9728 -------------------------------------------------

inline constexpr Point kFuelPressurePivot{150, 140};
inline constexpr Point kFuelPressureNeedlePivot{55, 19};  // in the needle picture

inline constexpr Mark kFuelPressure[] = {
    {.x = 78, .y = 204, .value = 0},     // 0, lower left
    {.x = 146, .y = 56, .value = 0.5},   // red mark at the top
    {.x = 212, .y = 208, .value = 1},    // 1.0, lower right
};

// ---- "Altimeter_mtr": dial 16640 in metres, needle 16896 ---------------------------------------

inline constexpr Point kMetricAltimeterPivot{150, 145};
inline constexpr Point kMetricAltimeterNeedlePivot{37, 11};  // in the needle picture

// 120 degrees per 1000 m, clockwise from 0 at the bottom; the face goes on to 2.5 km.
inline constexpr Mark kMetricAltimeter[] = {
    {.x = 149, .y = 252, .value = 0},     // 0, bottom
    {.x = 50, .y = 87, .value = 1000},    // 1 km, upper left
    {.x = 246, .y = 90, .value = 2000},   // 2 km, upper right
};

// ---- "Altimeter_ft": dial 17152 in feet, hands 17153 to 17155 on one pivot ---------------------

inline constexpr Point kFeetAltimeterPivot{155, 140};
inline constexpr Point kHundredsHandPivot{34, 10};  // in the hand pictures
inline constexpr Point kThousandsHandPivot{30, 15};
inline constexpr Point kTenThousandsHandPivot{1, 11};

// Four marks a quarter turn apart, clockwise from the top: three quarters of a turn per table, the
// host carries each hand on past its last mark.
inline constexpr Mark kFeetAltimeter10000[] = {
    {.x = 155, .y = 90, .value = 0},
    {.x = 245, .y = 140, .value = 25000},
    {.x = 155, .y = 190, .value = 50000},
    {.x = 105, .y = 140, .value = 75000},
};

inline constexpr Mark kFeetAltimeter1000[] = {
    {.x = 155, .y = 90, .value = 0},
    {.x = 245, .y = 140, .value = 2500},
    {.x = 155, .y = 190, .value = 5000},
    {.x = 105, .y = 140, .value = 7500},
};

inline constexpr Mark kFeetAltimeter100[] = {
    {.x = 155, .y = 40, .value = 0},
    {.x = 255, .y = 140, .value = 250},
    {.x = 155, .y = 240, .value = 500},
    {.x = 55, .y = 140, .value = 750},
};

// ---- The Kollsman windows of both altimeters: text boxes 50 x 20 on painted frames -------------

inline constexpr Point kMetricKollsmanWindow{186, 145};
inline constexpr Point kFeetKollsmanWindow{210, 135};
inline constexpr int32_t kKollsmanWindowWidth = 50, kKollsmanWindowHeight = 20;

}  // namespace dial_marks
