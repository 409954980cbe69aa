// "Throttle" (collar and shaft, and the 24-bit knob that slides along the shaft) and
// "Flap_trim_handle" (base strip, three handle positions, trim indicator and its mask).
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

// ---- Throttle ----

// The knob slider sits at (90, 180) for value 0 and moves by (-70, -130) per unit of value, so the
// shaft is painted along that line, from the collar down to the knob's place at value 0.
constexpr double kKnobX = face_geometry::kThrottleKnobAtIdle.x, kKnobY = face_geometry::kThrottleKnobAtIdle.y,
                 kKnobW = 326, kKnobH = 212;
constexpr double kMoveX = face_geometry::kThrottleTravelX, kMoveY = face_geometry::kThrottleTravelY;
constexpr Pt kKnobCentreAtZero{kKnobX + kKnobW / 2, kKnobY + kKnobH / 2};
constexpr Pt kCollar{kKnobCentreAtZero.x + 1.7 * kMoveX, kKnobCentreAtZero.y + 1.7 * kMoveY};

Image ThrottleBase() {
    Canvas cv(548, 468);
    cairo_t* cr = cv.cr();
    // Shaft: a bright round rod from the collar to just past the knob's lowest place.
    const double len = std::hypot(kMoveX, kMoveY);
    const double ux = -kMoveX / len, uy = -kMoveY / len;  // down the shaft
    const Pt end{kKnobCentreAtZero.x + ux * 30, kKnobCentreAtZero.y + uy * 30};
    const double half = 14;
    cairo_new_path(cr);
    cairo_move_to(cr, kCollar.x - uy * half, kCollar.y + ux * half);
    cairo_line_to(cr, end.x - uy * half, end.y + ux * half);
    cairo_line_to(cr, end.x + uy * half, end.y - ux * half);
    cairo_line_to(cr, kCollar.x + uy * half, kCollar.y - ux * half);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(kCollar.x - uy * half, kCollar.y + ux * half,
                                                     kCollar.x + uy * half, kCollar.y - ux * half);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.35, 0.36, 0.38);
    cairo_pattern_add_color_stop_rgb(p, 0.3, 0.97, 0.97, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.75, 0.76, 0.78);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.30, 0.31, 0.33);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Friction-lock collar: a black fluted knob around the shaft, marked for release and hold.
    RibbedKnob(cr, kCollar, 58, 36, {30, 30, 33});
    FillCircle(cr, kCollar, 50, {16, 16, 18});
    FillCircle(cr, kCollar, 47, {26, 26, 29});
    ChromeRing(cr, kCollar, 13, 19);
    FillCircle(cr, kCollar, 13, {60, 62, 66});
    const Rgb print{235, 235, 230};
    ArcText(cr, kCollar, 31, 300, "RELEASE", {"Liberation Sans", 10, true}, print);
    ArcText(cr, kCollar, 31, 60, "HOLD", {"Liberation Sans", 10, true}, print);
    for (int side : {-1, 1}) {
        // Arrows along the rim: anticlockwise to release, clockwise to hold.
        const double a0 = side < 0 ? 268 : 92, a1 = side < 0 ? 240 : 120;
        cairo_new_path(cr);
        cairo_arc(cr, kCollar.x, kCollar.y, 31, (std::min(a0, a1) - 90) * M_PI / 180, (std::max(a0, a1) - 90) * M_PI / 180);
        cairo_set_line_width(cr, 2);
        SetColour(cr, print);
        cairo_stroke(cr);
        const Pt tip = Polar(kCollar, 31, a1);
        const Pt back = Polar(kCollar, 31, a1 + (side < 0 ? 9 : -9));
        cairo_new_path(cr);
        cairo_move_to(cr, tip.x, tip.y);
        cairo_line_to(cr, back.x + (tip.y - back.y) * 0.6, back.y - (tip.x - back.x) * 0.6);
        cairo_line_to(cr, back.x - (tip.y - back.y) * 0.6, back.y + (tip.x - back.x) * 0.6);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    return cv.Keyed();
}

// 24 bits: a large dark ribbed grip seen end-on.
Image ThrottleKnob() {
    Canvas cv(326, 212);
    cairo_t* cr = cv.cr();
    const Pt c{163, 106};
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_scale(cr, 1.0, 104.0 / 161.0);
    // Ribbed rim.
    cairo_new_path(cr);
    const int ribs = 64;
    for (int i = 0; i <= ribs * 2; ++i) {
        const double a = 2 * M_PI * i / (ribs * 2);
        const double r = i % 2 ? 156.5 : 161;
        if (i == 0) cairo_move_to(cr, r * std::cos(a), r * std::sin(a));
        else cairo_line_to(cr, r * std::cos(a), r * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(-50, -60, 10, 0, 0, 161);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.30, 0.30, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 0.8, 0.12, 0.12, 0.13);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.05, 0.06);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int i = 0; i < ribs; ++i) {
        const double a = 2 * M_PI * (i + 0.5) / ribs;
        const double light = 0.5 + 0.5 * std::cos(a + 2.3);
        cairo_new_path(cr);
        cairo_move_to(cr, 118 * std::cos(a), 118 * std::sin(a));
        cairo_line_to(cr, 150 * std::cos(a), 150 * std::sin(a));
        cairo_set_line_width(cr, 3);
        cairo_set_source_rgba(cr, 0.45, 0.45, 0.48, 0.25 + 0.5 * light);
        cairo_stroke(cr);
    }
    // End face: a smooth dished disc.
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 112, 0, 2 * M_PI);
    cairo_pattern_t* q = cairo_pattern_create_radial(-30, -40, 5, 0, 0, 112);
    cairo_pattern_add_color_stop_rgb(q, 0, 0.26, 0.26, 0.28);
    cairo_pattern_add_color_stop_rgb(q, 1, 0.09, 0.09, 0.10);
    cairo_set_source(cr, q);
    cairo_fill(cr);
    cairo_pattern_destroy(q);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 112, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgba(cr, 0.6, 0.6, 0.62, 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
    Text(cr, {c.x, c.y}, "THROTTLE", {"Liberation Sans", 22, true}, {215, 215, 210});
    Text(cr, {c.x, c.y + 28}, "PUSH  OPEN", {"Liberation Sans", 12, true}, {170, 170, 166});
    return cv.Keyed();
}

// ---- Flap_trim_handle ----

// The base strip, x 61..199 and y 224..243; the handle's pivot lies in it.
constexpr int kBaseX = 61, kBaseY = 224, kBaseW = 139, kBaseH = 20;
constexpr double kHandleIconX = face_geometry::kFlapHandleIcon.x;
constexpr Pt kHandlePivot{160 - kHandleIconX, 235};  // in icon pixels
constexpr double kKnobRadius = 14;
constexpr double kKnobTopRow[] = {3, 86, 156};
constexpr double kKnobCentreX[] = {40, 58, 72};

Image FlapBase() {
    Canvas cv(200, 244);
    cairo_t* cr = cv.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, kBaseX, kBaseY, kBaseW, kBaseH);
    FillVertical(cr, kBaseY, kBaseY + kBaseH, {64, 64, 68}, {24, 24, 27});
    cairo_new_path(cr);
    cairo_rectangle(cr, kBaseX + 70, kBaseY + 7, 58, 6);  // the handle's slot
    SetColour(cr, {10, 10, 12});
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    Text(cr, {kBaseX + 30, kBaseY + 10}, "FLAPS", {"Liberation Sans", 8, true}, {210, 210, 206});
    return cv.Keyed();
}

Image FlapHandle(int position) {
    Canvas cv(100, 255);
    cairo_t* cr = cv.cr();
    const Pt knob{kKnobCentreX[position], kKnobTopRow[position] + kKnobRadius};
    cairo_new_path(cr);
    cairo_move_to(cr, kHandlePivot.x, kHandlePivot.y);
    cairo_line_to(cr, knob.x, knob.y);
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, {40, 40, 44});
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, kHandlePivot.x - 2, kHandlePivot.y);
    cairo_line_to(cr, knob.x - 2, knob.y);
    cairo_set_line_width(cr, 2);
    SetColour(cr, {96, 96, 102});
    cairo_stroke(cr);
    FillCircle(cr, kHandlePivot, 7, {30, 30, 33});
    cairo_pattern_t* p = cairo_pattern_create_radial(knob.x - 5, knob.y - 5, 1, knob.x, knob.y, kKnobRadius);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.7, 0.92, 0.92, 0.90);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.66, 0.66, 0.64);
    cairo_new_path(cr);
    cairo_arc(cr, knob.x, knob.y, kKnobRadius, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    return cv.Keyed();
}

Image TrimIndicator() {
    Canvas cv(60, 128);
    cairo_t* cr = cv.cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, 27, 30, 6, 98);
    cairo_pattern_t* rod = cairo_pattern_create_linear(27, 0, 33, 0);
    cairo_pattern_add_color_stop_rgb(rod, 0, 0.25, 0.25, 0.27);
    cairo_pattern_add_color_stop_rgb(rod, 0.4, 0.75, 0.75, 0.78);
    cairo_pattern_add_color_stop_rgb(rod, 1, 0.20, 0.20, 0.22);
    cairo_set_source(cr, rod);
    cairo_fill(cr);
    cairo_pattern_destroy(rod);
    RoundedRect(cr, 2, 0, 56, 36, 5);
    FillVertical(cr, 0, 36, {34, 34, 38}, {20, 20, 23});
    cairo_new_path(cr);
    cairo_rectangle(cr, 2, 12, 56, 8);
    FillVertical(cr, 12, 20, {90, 90, 96}, {50, 50, 54});
    cairo_new_path(cr);
    cairo_rectangle(cr, 6, 17, 48, 2);
    SetColour(cr, {240, 240, 236});
    cairo_fill(cr);
    Text(cr, {30, 7}, "TRIM", {"Liberation Sans", 6.5, true}, {200, 200, 196});
    return cv.Keyed();
}

Image Uniform(int w, int h, Rgb colour) {
    Canvas cv(w, h);
    SetColour(cv.cr(), colour);
    cairo_paint(cv.cr());
    return cv.Keyed();
}

}  // namespace

void DrawThrottleAndFlaps(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kThrottleCollar, ThrottleBase()));
    out.push_back(Bmp24(bitmaps::kThrottleKnob, ThrottleKnob()));
    out.push_back(Bmp8(bitmaps::kFlapBase, FlapBase()));
    for (int i = 0; i < 3; ++i) out.push_back(Bmp8(bitmaps::kFlapHandle + i, FlapHandle(i)));
    out.push_back(Bmp8(bitmaps::kTrimIndicator, TrimIndicator()));
    out.push_back(Bmp8(bitmaps::kTrimIndicatorCompanion, Uniform(60, 128, kNearBlack)));  // beside the trim indicator
}

}  // namespace skelvan_art
