// "Slip" (face and ball) and "Compass" (plate, heading strip and the strip's window mask).
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

constexpr Rgb kBall{33, 33, 33};
constexpr Rgb kCardBlack{8, 8, 8};
constexpr Rgb kLubber{235, 235, 228};

// The tube bends up toward its ends: its middle line is an arc about a centre far above the face.
constexpr double kTubeLeft = 40, kTubeRight = 260, kTubeMidY = 181, kTubeHalf = 28.5, kTubeBend = 312.5;
// The centre lines, pixel columns 124..126 and 169..171, with the ball at value 0 between them:
// the left line ends where the ball's left edge stands at 0.
constexpr int kCentreLineWidth = 3, kCentreLineLeft = face_geometry::kSlipBallAtZero.x - kCentreLineWidth,
              kCentreLineRight = 169;

Image SlipFace() {
    Canvas cv(300, 300);
    cairo_t* cr = cv.cr();
    const Pt c{150, 150};
    CornerScrews(cr, 300, 300, 14, 9);
    DialFace(cr, c, 125, 145);
    const Pt bend{150, kTubeMidY - kTubeBend};
    const double a0 = std::asin((kTubeLeft + kTubeHalf - 150) / kTubeBend);
    const double a1 = std::asin((kTubeRight - kTubeHalf - 150) / kTubeBend);
    auto tube_path = [&](double half) {
        cairo_new_path(cr);
        cairo_arc_negative(cr, bend.x, bend.y, kTubeBend + half, M_PI / 2 - a0, M_PI / 2 - a1);
        const Pt right{bend.x + kTubeBend * std::sin(a1), bend.y + kTubeBend * std::cos(a1)};
        cairo_arc_negative(cr, right.x, right.y, half, M_PI / 2 - a1, -M_PI / 2 - a1);
        cairo_arc(cr, bend.x, bend.y, kTubeBend - half, M_PI / 2 - a1, M_PI / 2 - a0);
        const Pt left{bend.x + kTubeBend * std::sin(a0), bend.y + kTubeBend * std::cos(a0)};
        cairo_arc_negative(cr, left.x, left.y, half, -M_PI / 2 - a0, M_PI / 2 - a0);
        cairo_close_path(cr);
    };
    tube_path(kTubeHalf + 3);
    SetColour(cr, {70, 70, 74});
    cairo_fill(cr);
    tube_path(kTubeHalf);
    FillVertical(cr, kTubeMidY - kTubeHalf - 20, kTubeMidY + kTubeHalf, {255, 255, 250}, {214, 214, 208});
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int x : {kCentreLineLeft, kCentreLineRight}) {
        cairo_new_path(cr);
        cairo_rectangle(cr, x, kTubeMidY - kTubeHalf - 1, kCentreLineWidth, 2 * kTubeHalf + 2);
        SetColour(cr, kCardBlack);
        cairo_fill(cr);
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    Text(cr, {82, 96}, "L", {"Liberation Sans", 30, true}, kMarking);
    Text(cr, {218, 96}, "R", {"Liberation Sans", 30, true}, kMarking);
    Text(cr, {150, 236}, "SLIP", {"Liberation Sans", 11, true}, {200, 200, 196});
    return cv.Keyed();
}

Image Ball() {
    Canvas cv(43, 55);
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, 21.5, 27.5);
    cairo_scale(cr, 21.5, 27.5);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, kBall);
    cairo_fill(cr);
    FillCircle(cr, {14, 15}, 3.5, {92, 92, 92});
    return cv.Keyed();
}

// The window in the compass plate, x 78..220 and y 88..186, from the heading strip's left edge, with
// the lubber line at x 149..150.
constexpr int kWindowX = face_geometry::kCompassCard.x, kWindowY = 88, kWindowW = 143, kWindowH = 99, kLubberX = 149;

Image CompassPlate() {
    Canvas cv(300, 296);
    cairo_t* cr = cv.cr();
    const Pt c{149.5, 137.5};
    RoundedRect(cr, 2, 2, 296, 292, 18);
    FillVertical(cr, 2, 294, {150, 152, 156}, {96, 98, 102});
    Bezel(cr, c, 100, 128);
    FillCircle(cr, c, 100.5, {30, 30, 33});
    for (int a : {45, 135, 225, 315}) Screw(cr, Polar(c, 114, a), 7, a + 20);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, kWindowX - 3, kWindowY - 3, kWindowW + 6, kWindowH + 6);
    SetColour(cr, {64, 64, 68});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, kWindowX, kWindowY, kWindowW, kWindowH);
    SetColour(cr, kCardBlack);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, kLubberX, kWindowY, 2, kWindowH);
    SetColour(cr, kLubber);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    Text(cr, {c.x, 216}, "COMPASS", {"Liberation Sans", 10, true}, {200, 200, 196});
    // Deviation card on the plate below the bezel.
    RoundedRect(cr, 96, 256, 108, 30, 2);
    SetColour(cr, {236, 232, 218});
    cairo_fill(cr);
    Text(cr, {150, 263}, "FOR  N   30   60   E   120  150", {"Liberation Sans", 5.5, false}, {30, 30, 30});
    Text(cr, {150, 271}, "STEER  0   31   61   89  121  150", {"Liberation Sans", 5.5, false}, {30, 30, 30});
    Text(cr, {150, 280}, "S   210  240   W   300  330", {"Liberation Sans", 5.5, false}, {30, 30, 30});
    return cv.Keyed(kCardBlack);
}

// Heading strip: N at x 76 and again at x 1227, headings falling to the right, 32 px per 10 deg.
constexpr double kNorthLeft = 76, kNorthRight = 1227;

Image CompassStrip() {
    Canvas cv(1302, 60);
    cairo_t* cr = cv.cr();
    SetColour(cr, kCardBlack);
    cairo_paint(cr);
    const double per_degree = (kNorthRight - kNorthLeft) / 360.0;
    // d counts degrees from the left N; the heading there is 360 - d.
    for (int d = -25; d * per_degree + kNorthLeft < 1310; d += 5) {
        const double x = kNorthLeft + d * per_degree;
        const bool ten = d % 10 == 0;
        cairo_new_path(cr);
        cairo_rectangle(cr, x - 1, ten ? 45 : 51, 2, ten ? 15 : 9);
        SetColour(cr, kMarking);
        cairo_fill(cr);
        if (d % 30 == 0) {
            const int heading = ((360 - d) % 360 + 360) % 360;
            std::string label = heading == 0     ? "N"
                                : heading == 90  ? "E"
                                : heading == 180 ? "S"
                                : heading == 270 ? "W"
                                                 : std::to_string(heading / 10);
            Text(cr, {x, 24}, label, {"Liberation Sans", heading % 90 == 0 ? 26.0 : 22.0, true},
                 kMarking);
        }
    }
    return cv.Keyed(kCardBlack);
}

Image StripMask() {
    Canvas cv(144, 73);
    cairo_t* cr = cv.cr();
    SetColour(cr, kNearBlack);
    cairo_paint(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, kLubberX - face_geometry::kCompassCard.x, 0, 2, 73);  // over the plate's
    SetColour(cr, kLubber);
    cairo_fill(cr);
    return cv.Keyed();
}

}  // namespace

void DrawSlipAndCompass(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kSlipFace, SlipFace(), {kCardBlack}));
    out.push_back(Bmp8(bitmaps::kSlipBall, Ball(), {kBall}));
    out.push_back(Bmp8(bitmaps::kCompassPlate, CompassPlate(), {kCardBlack, kLubber}));
    out.push_back(Bmp8(bitmaps::kCompassCard, CompassStrip(), {kCardBlack}));
    out.push_back(Bmp8(bitmaps::kCompassCardCompanion, StripMask(), {kNearBlack, kLubber}));
}

}  // namespace skelvan_art
