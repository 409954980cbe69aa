// Numbers that the gauge records and the pictures share: needle pivots, and the dial marks that
// the needles' NonlinearityTables point at. The artwork paints a tick through every mark listed
// here, and tests/artwork checks that the module's own tables land on painted ticks.
#pragma once

namespace dial_marks {

struct Point {
    int x, y;
};
struct Mark {
    int x, y;
    double value;
};

// "Airspeed" dial 9984: needle pivot and marks in knots on the km/h dial.
inline constexpr Point kAirspeedPivot{147, 149};
inline constexpr Mark kAirspeed[] = {{146, 239, 0}, {75, 218, 27}, {135, 37, 65}, {221, 220, 118}};

// "VSI" dial 10496: 256 units per m/s.
inline constexpr Point kVsiPivot{148, 148};
inline constexpr Mark kVsi[] = {
    {262, 181, -1792}, {257, 196, -1536}, {232, 229, -1280}, {185, 255, -1024}, {131, 259, -768},
    {81, 240, -512},   {45, 200, -256},   {32, 147, 0},      {43, 95, 256},     {78, 52, 512},
    {130, 32, 768},    {186, 34, 1024},   {236, 63, 1280},   {262, 101, 1536},  {263, 112, 1792},
};

// "Fuelpres" dial 9472, in bar.
inline constexpr Point kFuelPressurePivot{150, 140};
inline constexpr Mark kFuelPressure[] = {{78, 204, 0}, {146, 56, 0.5}, {212, 208, 1}};

// "Altimeter_mtr" dial 16640, in metres.
inline constexpr Point kMetricAltimeterPivot{150, 145};
inline constexpr Mark kMetricAltimeter[] = {{149, 252, 0}, {50, 87, 1000}, {246, 90, 2000}};
inline constexpr Point kMetricKollsmanWindow{186, 145};  // 50 x 20

// "Altimeter_ft" dial 17152, in feet: the three hands share the pivot.
inline constexpr Point kFeetAltimeterPivot{155, 140};
inline constexpr Mark kFeetAltimeter100[] = {{155, 40, 0}, {255, 140, 250}, {155, 240, 500}, {55, 140, 750}};
inline constexpr Mark kFeetAltimeter1000[] = {{155, 90, 0}, {245, 140, 2500}, {155, 190, 5000}, {105, 140, 7500}};
inline constexpr Mark kFeetAltimeter10000[] = {
    {155, 90, 0}, {245, 140, 25000}, {155, 190, 50000}, {105, 140, 75000}};
inline constexpr Point kFeetKollsmanWindow{210, 135};  // 50 x 20

inline constexpr int kKollsmanWindowWidth = 50, kKollsmanWindowHeight = 20;

}  // namespace dial_marks
