// "Altimeter_mtr" and "Altimeter_ft": dials, Kollsman windows, setting knobs and hands.
#include <cstdio>

#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

// The setting knob under its two mouse boxes, from just inside the left one's left edge to just
// inside the right one's right edge.
constexpr MouseBox kKnobDown = face_geometry::kKollsmanDownBox, kKnobUp = face_geometry::kKollsmanUpBox;
constexpr double kKnobX = kKnobDown.x + 1, kKnobY = kKnobDown.y, kKnobW = kKnobUp.x + kKnobUp.width - 1 - kKnobX,
                 kKnobH = kKnobDown.height;

void KollsmanWindow(cairo_t* cr, dial_marks::Point at, bool label) {
    WindowFrame(cr, at.x, at.y, dial_marks::kKollsmanWindowWidth, dial_marks::kKollsmanWindowHeight);
    if (label)
        Text(cr, {at.x + dial_marks::kKollsmanWindowWidth / 2.0, at.y + dial_marks::kKollsmanWindowHeight + 9.0}, "mbar",
         {"Liberation Sans", 8, true}, {200, 200, 196});
}

Image MetricDial() {
    using dial_marks::kMetricAltimeter;
    const auto pivot = dial_marks::kMetricAltimeterPivot;
    const Pt c = P(pivot);
    Canvas cv(300, 300);
    cairo_t* cr = cv.cr();
    Screw(cr, {14, 14}, 9, 40);
    Screw(cr, {286, 14}, 9, 120);
    Screw(cr, {286, 286}, 9, 75);
    DialFace(cr, c, 124, 144);
    const Scale metres = Scale::FromMarks(pivot, kMetricAltimeter);
    // Graduated on past 2.5 km and back round to 0 at the bottom.
    for (int v = 0; v < 3000; v += 100) {
        const bool major = v % 500 == 0;
        Tick(cr, c, metres.Angle(v), major ? 99 : 108, 119, major ? 3.2 : 1.8, kMarking);
        if (v % 100 == 0 && v + 50 < 3000) Tick(cr, c, metres.Angle(v + 50), 113, 119, 1.2, kMarking);
    }
    for (const auto& m : kMetricAltimeter) {
        const double r = Radius(pivot, m);
        Tick(cr, c, DialAngle(c, {double(m.x), double(m.y)}), std::min(99.0, r - 4), std::max(119.0, r + 2), 3.2,
             kMarking);
    }
    const char* numerals[] = {"0", "0.5", "1", "1.5", "2", "2.5"};
    for (int i = 0; i < 6; ++i) DialNumeral(cr, c, 81, metres.Angle(i * 500), numerals[i], kNumerals, kMarking);
    Text(cr, {c.x, c.y + 44}, "km", {"Liberation Sans", 16, true}, kMarking);
    Text(cr, {c.x, c.y - 38}, "ALTIMETER", {"Liberation Sans", 9, true}, {200, 200, 196});
    KollsmanWindow(cr, dial_marks::kMetricKollsmanWindow, true);
    PivotShadow(cr, c, 7);
    SideKnob(cr, kKnobX, kKnobY, kKnobW, kKnobH);
    return cv.Keyed();
}

// Grey pivot disc with a counterweight to the left and a white pointed pointer to the right.
Image CounterweightHand(int w, int h, Pt pivot, double tip, double weight_x, double weight_r, double half_width) {
    Canvas cv(w, h);
    cairo_t* cr = cv.cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, weight_x, pivot.y - 2, pivot.x - weight_x, 4);
    SetColour(cr, {120, 120, 124});
    cairo_fill(cr);
    FillCircle(cr, {weight_x, pivot.y}, weight_r, {96, 96, 100});
    FillCircle(cr, {weight_x, pivot.y}, weight_r * 0.6, {140, 140, 146});
    cairo_new_path(cr);
    cairo_move_to(cr, pivot.x, pivot.y - half_width);
    cairo_line_to(cr, tip - 14, pivot.y - half_width * 0.7);
    cairo_line_to(cr, tip, pivot.y);
    cairo_line_to(cr, tip - 14, pivot.y + half_width * 0.7);
    cairo_line_to(cr, pivot.x, pivot.y + half_width);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    FillCircle(cr, pivot, 8, {70, 70, 74});
    FillCircle(cr, pivot, 6, {150, 150, 156});
    FillCircle(cr, {pivot.x - 1.5, pivot.y - 1.5}, 2, {215, 215, 220});
    return cv.Keyed();
}

Image FeetDial() {
    const auto pivot = dial_marks::kFeetAltimeterPivot;
    const Pt c = P(pivot);
    Canvas cv(300, 312);
    cairo_t* cr = cv.cr();
    Screw(cr, {14, 14}, 9, 40);
    Screw(cr, {286, 14}, 9, 120);
    Screw(cr, {286, 296}, 9, 75);
    DialFace(cr, c, 122, 140);
    // Ten digits 36 degrees apart; fine ticks every 20 ft, half-way ticks every 50 ft.
    for (int i = 0; i < 50; ++i) Tick(cr, c, i * 7.2, 110, 118, 1.4, kMarking);
    for (int i = 0; i < 10; ++i) {
        Tick(cr, c, i * 36.0, 97, 118, 3.4, kMarking);
        Tick(cr, c, i * 36.0 + 18, 102, 118, 2.2, kMarking);
        DialNumeral(cr, c, 83, i * 36.0, std::to_string(i), {"Liberation Sans", 25, true}, kMarking);
    }
    for (const auto& m : dial_marks::kFeetAltimeter100) {
        const double r = Radius(pivot, m);
        Tick(cr, c, DialAngle(c, {double(m.x), double(m.y)}), std::min(97.0, r - 4), std::max(118.0, r + 2), 3.0,
             kMarking);
    }
    Text(cr, {c.x, c.y - 60}, "100 FEET", {"Liberation Sans", 7.5, true}, {220, 220, 216});
    // Inner disc: legends, the low-altitude stripes, and index marks for the short hands.
    FillCircle(cr, c, 53, {44, 44, 48});
    FillCircle(cr, c, 51, {24, 24, 27});
    for (const auto& m : dial_marks::kFeetAltimeter1000) {
        const double r = Radius(pivot, m);
        Tick(cr, c, DialAngle(c, {double(m.x), double(m.y)}), r - 5, r + 3, 2.4, kMarking);
    }
    Text(cr, {c.x, c.y - 30}, "ALTITUDE", {"Liberation Sans", 8, true}, {225, 225, 220});
    Text(cr, {c.x, c.y - 18}, "20 000 FEET", {"Liberation Sans", 7, true}, {225, 225, 220});
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, c.x - 15, c.y + 15, 30, 18);
    cairo_clip(cr);
    SetColour(cr, kMarking);
    cairo_paint(cr);
    for (int i = -4; i < 8; ++i) {
        cairo_new_path(cr);
        cairo_move_to(cr, c.x - 15 + i * 8, c.y + 33);
        cairo_line_to(cr, c.x - 15 + i * 8 + 18, c.y + 15);
        cairo_line_to(cr, c.x - 15 + i * 8 + 22, c.y + 15);
        cairo_line_to(cr, c.x - 15 + i * 8 + 4, c.y + 33);
        cairo_close_path(cr);
        SetColour(cr, {14, 14, 16});
        cairo_fill(cr);
    }
    cairo_restore(cr);
    KollsmanWindow(cr, dial_marks::kFeetKollsmanWindow, false);  // no room under the 3
    PivotShadow(cr, c, 6);
    SideKnob(cr, kKnobX, kKnobY, kKnobW, kKnobH);
    return cv.Keyed();
}

// 10 000 ft hand: a thin line, grey near the pivot and white beyond, ending in a white triangle.
Image TenThousandHand() {
    Canvas cv(120, 23);
    cairo_t* cr = cv.cr();
    cairo_new_path(cr);
    const Pt pivot = P(dial_marks::kTenThousandsHandPivot);  // the line starts at the pivot
    cairo_rectangle(cr, pivot.x, 10.2, 55, 1.8);
    SetColour(cr, {130, 130, 134});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, 55, 10.2, 50, 1.8);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 100, 4);
    cairo_line_to(cr, 119.5, 11);
    cairo_line_to(cr, 100, 18);
    cairo_close_path(cr);
    cairo_fill(cr);
    return cv.Keyed();
}

// 1 000 ft hand, 16 colours: a broad white leaf right of the pivot, a forked grey tail.
Image ThousandHand() {
    Canvas cv(86, 31);
    cairo_t* cr = cv.cr();
    const Pt p = P(dial_marks::kThousandsHandPivot);
    cairo_new_path(cr);
    cairo_move_to(cr, p.x, p.y - 2);
    cairo_line_to(cr, 6, p.y - 9);
    cairo_line_to(cr, 2, p.y - 7);
    cairo_line_to(cr, 12, p.y);
    cairo_line_to(cr, 2, p.y + 7);
    cairo_line_to(cr, 6, p.y + 9);
    cairo_line_to(cr, p.x, p.y + 2);
    cairo_close_path(cr);
    SetColour(cr, {128, 128, 132});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, p.x, p.y - 3);
    cairo_curve_to(cr, 48, p.y - 11, 66, p.y - 9, 85.5, p.y);
    cairo_curve_to(cr, 66, p.y + 9, 48, p.y + 11, p.x, p.y + 3);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    FillCircle(cr, p, 6, {70, 70, 74});
    FillCircle(cr, p, 4.5, {150, 150, 156});
    return cv.Keyed();
}

}  // namespace

void DrawAltimeters(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kMetricAltimeterDial, MetricDial()));
    out.push_back(Bmp8(bitmaps::kMetricAltimeterNeedle,
                       CounterweightHand(150, 21, P(dial_marks::kMetricAltimeterNeedlePivot), 149, 9, 7, 3.2)));
    out.push_back(Bmp8(bitmaps::kFeetAltimeterDial, FeetDial()));
    out.push_back(Bmp8(bitmaps::kHundredsHand,
                       CounterweightHand(145, 23, P(dial_marks::kHundredsHandPivot), 144, 8, 6.5, 3.0)));
    out.push_back(Bmp4(bitmaps::kThousandsHand, ThousandHand()));
    out.push_back(Bmp8(bitmaps::kTenThousandsHand, TenThousandHand()));
}

}  // namespace skelvan_art
