// "Masterswitch", "Startbutton", "Switches" and "Magnetos": bezels, nuts, plates and the icons
// that show each control's position.
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

constexpr Rgb kPrint{232, 232, 226};

// ---- Masterswitch: a rotary switch whose flat grip lies across (off) or stands up (on) ----

constexpr Pt kMasterCentre{63.5, 63.5};

Image MasterBezel() {
    Canvas cv(127, 127);
    cairo_t* cr = cv.cr();
    const Pt c = kMasterCentre;
    ChromeRing(cr, c, 46, 62);
    FillCircle(cr, c, 46.5, {24, 24, 27});
    FillCircle(cr, c, 20, {46, 46, 50});
    FillCircle(cr, c, 17, {30, 30, 33});
    Text(cr, {c.x - 34, c.y}, "OFF", {"Liberation Sans", 8, true}, kPrint);
    Text(cr, {c.x, c.y - 37}, "ON", {"Liberation Sans", 8, true}, kPrint);
    Text(cr, {c.x, c.y + 36}, "MASTER", {"Liberation Sans", 8, true}, kPrint);
    Tick(cr, c, 270, 38, 44, 2, kPrint);
    Tick(cr, c, 0, 40, 44, 2, kPrint);
    return cv.Keyed();
}

Image MasterGrip(bool on) {
    Canvas cv(127, 127);
    cairo_t* cr = cv.cr();
    const Pt c = kMasterCentre;
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    if (on) cairo_rotate(cr, M_PI / 2);
    RoundedRect(cr, -38, -9, 76, 18, 8);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -9, 0, 9);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.35, 0.30);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.80, 0.10, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.04, 0.03);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // A pointer line along the grip.
    cairo_new_path(cr);
    cairo_move_to(cr, 22, 0);
    cairo_line_to(cr, 34, 0);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
    FillCircle(cr, c, 8, {120, 14, 10});
    FillCircle(cr, {c.x - 2, c.y - 2}, 3, {230, 110, 100});
    return cv.Keyed();
}

// ---- Startbutton: a metal ring with a see-through centre; the green face is the icon ----

constexpr Pt kStartCentre{50, 50};

Image StartBezel() {
    Canvas cv(100, 100);
    cairo_t* cr = cv.cr();
    ChromeRing(cr, kStartCentre, 33, 47);
    FillRing(cr, kStartCentre, 31, 34, {30, 30, 33});
    return cv.Keyed();
}

Image StartFace(bool pressed) {
    Canvas cv(100, 100);
    cairo_t* cr = cv.cr();
    const double r = pressed ? 28.5 : 32;
    const Pt c = kStartCentre;
    cairo_pattern_t* p = cairo_pattern_create_radial(c.x - r * 0.3, c.y - r * 0.35, r * 0.1, c.x, c.y, r);
    if (pressed) {
        cairo_pattern_add_color_stop_rgb(p, 0, 0.30, 0.62, 0.32);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.06, 0.30, 0.10);
    } else {
        cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.95, 0.55);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.12, 0.62, 0.20);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.38, 0.10);
    }
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (pressed) FillRing(cr, c, r - 2, r, {20, 50, 24});
    Text(cr, c, "START", {"Liberation Sans", pressed ? 10.0 : 11.0, true}, {240, 250, 240});
    return cv.Keyed();
}

// ---- Toggle levers shared by "Switches" and "Magnetos": the pivot is row 18 of each icon ----

constexpr double kLeverPivotRow = 18.5;

Image LeverDown() {
    Canvas cv(16, 46);
    ToggleLever(cv.cr(), {8, kLeverPivotRow + 1}, 26, 10, false);
    return cv.Keyed();
}

Image LeverUp() {
    Canvas cv(16, 25);
    ToggleLever(cv.cr(), {8, kLeverPivotRow + 5}, 22, 10, true);
    return cv.Keyed();
}

// Lever icons, 16 wide, where "Switches" and "Magnetos" draw them.
constexpr dial_marks::Point kSwitchLevers[] = {face_geometry::kLeftSwitchLever, face_geometry::kMiddleSwitchLever,
                                               face_geometry::kRightSwitchLever};
constexpr dial_marks::Point kMagnetoLevers[] = {face_geometry::kLeftMagnetoLever, face_geometry::kRightMagnetoLever};

Image SwitchNuts() {
    Canvas cv(176, 46);
    cairo_t* cr = cv.cr();
    for (const auto& lever : kSwitchLevers) {
        const Pt c{lever.x + 8.0, lever.y + kLeverPivotRow};
        HexNut(cr, c, 13);
        FillCircle(cr, c, 5, {30, 30, 33});
    }
    return cv.Keyed();
}

Image MagnetoPlates() {
    Canvas cv(100, 86);
    cairo_t* cr = cv.cr();
    const char* names[] = {"MAG L", "MAG R"};
    for (int i = 0; i < 2; ++i) {
        const double x0 = i == 0 ? 3 : 51;
        RoundedRect(cr, x0, 2, 46, 82, 6);
        FillVertical(cr, 2, 84, {200, 202, 206}, {120, 122, 128});
        RoundedRect(cr, x0 + 0.5, 2.5, 45, 81, 6);
        cairo_set_line_width(cr, 1);
        SetColour(cr, {70, 70, 74});
        cairo_stroke(cr);
        const Pt c{kMagnetoLevers[i].x + 8.0, kMagnetoLevers[i].y + kLeverPivotRow};
        Text(cr, {c.x, 9}, "ON", {"Liberation Sans", 7, true}, {20, 20, 22});
        Text(cr, {c.x, 65}, "OFF", {"Liberation Sans", 7, true}, {20, 20, 22});
        Text(cr, {c.x, 76}, names[i], {"Liberation Sans", 8, true}, {20, 20, 22});
        HexNut(cr, c, 11);
    }
    cairo_surface_flush(cairo_get_target(cr));
    // The hole in each nut is cut out: the lever behind it shows through.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    for (const auto& lever : kMagnetoLevers) {
        cairo_new_path(cr);
        cairo_arc(cr, lever.x + 8.0, lever.y + kLeverPivotRow, 4, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    return cv.Keyed();
}

}  // namespace

void DrawSwitches(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kMasterBezel, MasterBezel()));
    out.push_back(Bmp8(bitmaps::kMasterGrip, MasterGrip(false)));
    out.push_back(Bmp8(bitmaps::kMasterGrip + 1, MasterGrip(true)));
    out.push_back(Bmp8(bitmaps::kStartRing, StartBezel()));
    out.push_back(Bmp8(bitmaps::kStartButton, StartFace(false)));
    out.push_back(Bmp8(bitmaps::kStartButton + 1, StartFace(true)));
    const Image down = LeverDown(), up = LeverUp();
    out.push_back(Bmp8(bitmaps::kSwitchNuts, SwitchNuts()));
    out.push_back(Bmp8(bitmaps::kSwitchLever, down));
    out.push_back(Bmp8(bitmaps::kSwitchLever + 1, up));
    out.push_back(Bmp8(bitmaps::kMagnetoPlates, MagnetoPlates()));
    out.push_back(Bmp8(bitmaps::kMagnetoLever, down));
    out.push_back(Bmp8(bitmaps::kMagnetoLever + 1, up));
}

}  // namespace skelvan_art
