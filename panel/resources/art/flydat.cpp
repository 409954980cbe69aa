// "Flydat": the engine monitor's face with its green display window and legends.
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

// Exactly the text boxes' back colour, so that the boxes vanish into it.
constexpr Rgb kDisplayGreen = HostColour(face_geometry::kFlydatWindowColour);
// The eight boxes in two rows of four from the RPM box at the upper left; the window frames them.
constexpr double kBoxX = face_geometry::kRpmBox.x, kBoxY = face_geometry::kRpmBox.y,
                 kBoxW = face_geometry::kRpmBox.width, kBoxH = face_geometry::kRpmBox.height;
constexpr double kWindowX = 119, kWindowY = 61, kWindowW = 4 * kBoxW + 12, kWindowH = 2 * kBoxH + 8;

constexpr Rgb kPrint{232, 232, 226};
constexpr Font kLegendFont{"Liberation Sans", 11, true};
constexpr Font kUnitFont{"Liberation Sans", 10, false};

Image Face() {
    Canvas cv(600, 199);
    cairo_t* cr = cv.cr();
    RoundedRect(cr, 0.5, 0.5, 599, 198, 12);
    FillVertical(cr, 0, 199, {58, 60, 64}, {26, 27, 30});
    RoundedRect(cr, 6, 6, 588, 187, 9);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, {80, 82, 88});
    cairo_stroke(cr);
    CornerScrews(cr, 600, 199, 16, 7);
    // Display window in a sunk frame.
    RoundedRect(cr, kWindowX - 7, kWindowY - 7, kWindowW + 14, kWindowH + 14, 5);
    FillVertical(cr, kWindowY - 7, kWindowY + kWindowH + 7, {12, 12, 14}, {70, 72, 76});
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, kWindowX, kWindowY, kWindowW, kWindowH);
    SetColour(cr, kDisplayGreen);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    // Legends over and under the boxes.
    const char* top[4][2] = {{"RPM", "1/min."}, {"EGT/PTO", "\u00b0C"}, {"CHT", "\u00b0C"}, {"OIL TEMP", "\u00b0C"}};
    const char* bottom[4][2] = {{"x 0,1 h", "HOURS"}, {"\u00b0C", "EGT/MAG"}, {"EGT Display", "LEFT-RIGHT"},
                                {"x 0,1 bar", "OIL PRESS"}};
    for (int i = 0; i < 4; ++i) {
        const double x = kBoxX + kBoxW * (i + 0.5);
        Text(cr, {x, 28}, top[i][0], kLegendFont, kPrint);
        Text(cr, {x, 43}, top[i][1], kUnitFont, kPrint);
        Text(cr, {x, 146}, bottom[i][0], kUnitFont, kPrint);
        Text(cr, {x, 161}, bottom[i][1], kLegendFont, kPrint);
    }
    // Maker's mark.
    Text(cr, {64, 86}, "FLY", {"Liberation Sans", 26, true, true}, {240, 240, 236});
    Text(cr, {64, 110}, "dat", {"Liberation Sans", 24, true, true}, {120, 200, 80});
    Text(cr, {64, 130}, "engine monitor", {"Liberation Sans", 8, false, true}, {190, 190, 186});
    // Jack socket for the sensor harness.
    const Pt jack{516, 92};
    FillCircle(cr, jack, 22, {20, 20, 22});
    ChromeRing(cr, jack, 13, 20);
    FillCircle(cr, jack, 13, {10, 10, 12});
    for (int a = 0; a < 360; a += 60) FillCircle(cr, Polar(jack, 7, a), 1.6, {170, 160, 110});
    FillCircle(cr, jack, 1.6, {170, 160, 110});
    Text(cr, {jack.x, jack.y + 34}, "SENSOR", {"Liberation Sans", 8, true}, kPrint);
    // Caution line.
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 174.5);
    cairo_line_to(cr, 560, 174.5);
    cairo_set_line_width(cr, 1);
    SetColour(cr, {240, 190, 40});
    cairo_stroke(cr);
    Text(cr, {300, 184}, "CAUTION: READINGS ARE VALID ONLY WITH THE ENGINE RUNNING AND AN IGNITION CIRCUIT ON",
         {"Liberation Sans", 8, true}, {240, 190, 40});
    return cv.Keyed();
}

}  // namespace

void DrawFlydat(std::vector<Picture>& out) { out.push_back(Bmp8(bitmaps::kFlydatFace, Face(), {kDisplayGreen})); }

}  // namespace skelvan_art
