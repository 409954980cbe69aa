// "Airspeed", "VSI" and "Fuelpres": dials whose ticks are laid out from the needles' table marks,
// and their needles.
#include <cstdio>

#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

constexpr Rgb kArcWhite{240, 240, 240};
constexpr Rgb kArcGreen{30, 180, 60};
constexpr Rgb kArcYellow{250, 205, 20};
constexpr Rgb kRed{225, 30, 24};

// A tick through a table mark: at least the usual span, and always over the mark itself.
void MarkTick(cairo_t* cr, dial_marks::Point pivot, const dial_marks::Mark& m, double r_in, double r_out,
              double width, Rgb colour) {
    const double r = Radius(pivot, m);
    Tick(cr, P(pivot), DialAngle(P(pivot), {double(m.x), double(m.y)}), std::min(r_in, r - 4), std::max(r_out, r + 2),
         width, colour);
}

Image AirspeedDial() {
    using dial_marks::kAirspeed;
    const Pt c = P(dial_marks::kAirspeedPivot);
    Canvas cv(300, 300);
    cairo_t* cr = cv.cr();
    CornerScrews(cr, 300, 300, 14, 9);
    DialFace(cr, c, 127, 146);
    // The dial is printed in km/h; the table's marks (in knots) fix 0, 50, 120 and the last tick.
    Scale kmh;
    for (size_t i = 0; i < std::size(kAirspeed); ++i) {
        const double values[] = {0, 50, 120, 218.5};
        kmh.anchors.push_back({values[i], Scale::FromMarks(dial_marks::kAirspeedPivot, kAirspeed).anchors[i].angle});
    }
    ArcBand(cr, c, 92, 97, kmh.Angle(45), kmh.Angle(100), kArcWhite);
    ArcBand(cr, c, 116, 122, kmh.Angle(65), kmh.Angle(160), kArcGreen);
    ArcBand(cr, c, 116, 122, kmh.Angle(160), kmh.Angle(212), kArcYellow);
    for (int v = 0; v <= 210; v += 10) {
        const bool major = v % 50 == 0;
        Tick(cr, c, kmh.Angle(v), major ? 99 : 106, 116, major ? 3.2 : 2.0, kMarking);
    }
    for (const auto& m : kAirspeed) MarkTick(cr, dial_marks::kAirspeedPivot, m, 99, 116, 3.0, kMarking);
    Tick(cr, c, kmh.Angle(225), 97, 123, 4.0, kRed);  // never-exceed line beside the last tick
    for (int v = 50; v <= 200; v += 50) DialNumeral(cr, c, 77, kmh.Angle(v), std::to_string(v), kNumerals, kMarking);
    Text(cr, {c.x, c.y + 44}, "km/h", {"Liberation Sans", 16, true}, kMarking);
    Text(cr, {c.x, c.y - 40}, "AIRSPEED", {"Liberation Sans", 10, true}, {200, 200, 196});
    PivotShadow(cr, c, 7);
    return cv.Keyed();
}

// White pointer right of the pivot, grey shaft to a counterweight at the left end.
Image AirspeedNeedle() {
    Canvas cv(165, 30);
    cairo_t* cr = cv.cr();
    const Pt pivot = P(dial_marks::kAirspeedNeedlePivot);
    cairo_new_path(cr);
    cairo_rectangle(cr, 12, pivot.y - 2, pivot.x - 12, 4);
    SetColour(cr, {130, 130, 134});
    cairo_fill(cr);
    FillCircle(cr, {13, pivot.y}, 9, {110, 110, 114});
    FillCircle(cr, {13, pivot.y}, 6, {150, 150, 154});
    cairo_new_path(cr);
    cairo_move_to(cr, pivot.x, pivot.y - 3.5);
    cairo_line_to(cr, 150, pivot.y - 2.5);
    cairo_line_to(cr, 163.5, pivot.y);
    cairo_line_to(cr, 150, pivot.y + 2.5);
    cairo_line_to(cr, pivot.x, pivot.y + 3.5);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    FillCircle(cr, pivot, 10, {60, 60, 64});
    FillCircle(cr, pivot, 7, {140, 140, 146});
    FillCircle(cr, {pivot.x - 2, pivot.y - 2}, 2.5, {210, 210, 214});
    return cv.Keyed();
}

Image VsiDial() {
    using dial_marks::kVsi;
    const auto pivot = dial_marks::kVsiPivot;
    const Pt c = P(pivot);
    Canvas cv(300, 300);
    cairo_t* cr = cv.cr();
    CornerScrews(cr, 300, 300, 14, 9);
    DialFace(cr, c, 128, 146);
    const Scale ms = Scale::FromMarks(pivot, kVsi, 1.0 / 256);
    for (double v = -6.5; v <= 6.5; v += 0.5) {
        if (std::fmod(v, 1.0) == 0) continue;
        Tick(cr, c, ms.Angle(v), 111, 121, 2.0, kMarking);
    }
    for (double v = -4.8; v < 5; v += 0.2) {  // fine ticks inside the 0 to 1 m/s band
        if (std::fabs(v) < 1 && std::fabs(std::fmod(v, 0.5)) > 0.05) Tick(cr, c, ms.Angle(v), 116, 121, 1.2, kMarking);
    }
    for (const auto& m : kVsi) MarkTick(cr, pivot, m, 103, 121, 3.2, kMarking);
    DialNumeral(cr, c, 90, ms.Angle(0), "0", kNumerals, kMarking);
    for (int v = 1; v <= 5; ++v) {
        DialNumeral(cr, c, 90, ms.Angle(v), std::to_string(v), kNumerals, kMarking);
        DialNumeral(cr, c, 90, ms.Angle(-v), std::to_string(v), kNumerals, kMarking);
    }
    // Raised central hub with the climb and descent arrows.
    FillCircle(cr, c, 51, {40, 40, 44});
    FillCircle(cr, c, 49, {22, 22, 25});
    const Rgb arrow{230, 230, 226};
    cairo_new_path(cr);
    cairo_move_to(cr, c.x - 14, c.y - 36);
    cairo_line_to(cr, c.x - 5, c.y - 24);
    cairo_line_to(cr, c.x - 23, c.y - 24);
    cairo_close_path(cr);
    SetColour(cr, arrow);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, c.x - 14, c.y + 36);
    cairo_line_to(cr, c.x - 5, c.y + 24);
    cairo_line_to(cr, c.x - 23, c.y + 24);
    cairo_close_path(cr);
    cairo_fill(cr);
    Text(cr, {c.x - 14, c.y - 15}, "UP", {"Liberation Sans", 9, true}, arrow);
    Text(cr, {c.x - 14, c.y + 16}, "DN", {"Liberation Sans", 9, true}, arrow);
    Text(cr, {c.x + 26, c.y}, "m/s", {"Liberation Sans", 14, true}, kMarking);
    Text(cr, {c.x + 72, c.y + 1}, "VERTICAL SPEED", {"Liberation Sans", 6.5, true}, {190, 190, 186});
    PivotShadow(cr, c, 6);
    return cv.Keyed();
}

// A white bar on black: the pivot end is black so that the bar starts outside the hub.
Image VsiNeedle() {
    Canvas cv(122, 7);
    cairo_t* cr = cv.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, 55, 1);
    cairo_line_to(cr, 114, 1.5);
    cairo_line_to(cr, 122, 3.5);
    cairo_line_to(cr, 114, 5.5);
    cairo_line_to(cr, 55, 6);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    return cv.Keyed();
}

Image FuelPressureDial() {
    using dial_marks::kFuelPressure;
    const auto pivot = dial_marks::kFuelPressurePivot;
    const Pt c = P(pivot);
    Canvas cv(300, 300);
    cairo_t* cr = cv.cr();
    FillCircle(cr, c, 113, {14, 14, 16});
    DialFace(cr, c, 113, 114);
    ChromeRing(cr, c, 112, 133);
    const Scale bar = Scale::FromMarks(pivot, kFuelPressure);
    for (int i = 0; i <= 10; ++i) {
        const bool long_tick = i % 2 == 0;
        Tick(cr, c, bar.Angle(i / 10.0), long_tick ? 86 : 92, 101, long_tick ? 3.0 : 2.0, i == 2 ? kRed : kMarking);
    }
    MarkTick(cr, pivot, kFuelPressure[0], 86, 101, 3.0, kMarking);
    MarkTick(cr, pivot, kFuelPressure[1], 78, 104, 5.0, kRed);
    MarkTick(cr, pivot, kFuelPressure[2], 86, 101, 3.0, kMarking);
    const char* numerals[] = {"0", "0,2", "0,4", "0,6", "0,8", "1,0"};
    for (int i = 0; i <= 5; ++i)
        DialNumeral(cr, c, 66, bar.Angle(i * 0.2), numerals[i], {"Liberation Sans", 17, true},
                    i == 1 ? kRed : kMarking);
    Text(cr, {c.x, c.y - 30}, "bar", {"Liberation Sans", 16, true}, kMarking);
    Text(cr, {c.x, c.y + 38}, "FUEL PRESSURE", {"Liberation Sans", 8.5, true}, {210, 210, 206});
    // Stop pin just below the 0 mark.
    const Pt pin = Polar(c, 96, bar.Angle(0) - 9);
    FillCircle(cr, pin, 4.5, {50, 50, 54});
    FillCircle(cr, {pin.x - 0.8, pin.y - 0.8}, 3.2, {200, 200, 204});
    PivotShadow(cr, c, 6);
    return cv.Keyed();
}

// 16 colours: a white pointer and a round pivot cap.
Image FuelPressureNeedle() {
    Canvas cv(153, 38);
    cairo_t* cr = cv.cr();
    const Pt pivot = P(dial_marks::kFuelPressureNeedlePivot);
    cairo_new_path(cr);
    cairo_move_to(cr, 26, pivot.y - 4);
    cairo_line_to(cr, 140, pivot.y - 2);
    cairo_line_to(cr, 151, pivot.y);
    cairo_line_to(cr, 140, pivot.y + 2);
    cairo_line_to(cr, 26, pivot.y + 4);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    FillCircle(cr, pivot, 13, {40, 40, 44});
    FillCircle(cr, pivot, 11, {150, 150, 156});
    FillCircle(cr, {pivot.x - 3, pivot.y - 3}, 4, {230, 230, 234});
    return cv.Keyed();
}

}  // namespace

void DrawNeedleDials(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kAirspeedDial, AirspeedDial()));
    out.push_back(Bmp8(bitmaps::kAirspeedNeedle, AirspeedNeedle()));
    out.push_back(Bmp8(bitmaps::kVsiDial, VsiDial()));
    out.push_back(Bmp8(bitmaps::kVsiNeedle, VsiNeedle()));
    out.push_back(Bmp8(bitmaps::kFuelPressureDial, FuelPressureDial()));
    out.push_back(Bmp4(bitmaps::kFuelPressureNeedle, FuelPressureNeedle()));
}

}  // namespace skelvan_art
