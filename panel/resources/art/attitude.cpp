// "Attitude": the instrument frame, the horizon card, the bank ring, the reference bar, and the
// frame again as the three sprites' companions.
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

constexpr Rgb kSky{145, 213, 245};
constexpr Rgb kGround{8, 8, 8};
constexpr Rgb kBankRing{24, 16, 16};

// The frame opening: a circle about the sprites' centre, cut at the bottom by the mounting plate.
constexpr Pt kOpeningCentre{136.5, 134};
constexpr double kOpeningRadius = 116.5;
// The mounting plate, and the knob centred on its two mouse boxes.
constexpr double kPlateX = 90, kPlateY = 208, kPlateW = 99, kPlateH = 81;
constexpr MouseBox kKnobDown = face_geometry::kReferenceBarDownBox, kKnobUp = face_geometry::kReferenceBarUpBox;
constexpr Pt kKnob{(kKnobDown.x + kKnobUp.x + kKnobUp.width) / 2.0, kKnobDown.y + kKnobDown.height / 2.0};
constexpr double kKnobRadius = 26;

Image Frame() {
    Canvas cv(300, 290);
    cairo_t* cr = cv.cr();
    CornerScrews(cr, 300, 290, 15, 9);
    // The opening is (1,1,1): the horizon is seen through it.
    FillCircle(cr, kOpeningCentre, kOpeningRadius + 1, kNearBlack);
    Bezel(cr, kOpeningCentre, kOpeningRadius, 136, 90);
    // Bank index: a small white triangle pointing up at the bank scale.
    cairo_new_path(cr);
    cairo_move_to(cr, 135.5, 46);
    cairo_line_to(cr, 143, 68);
    cairo_line_to(cr, 128, 68);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    // Mounting plate with the vacuum label and the adjustment knob.
    RoundedRect(cr, kPlateX, kPlateY, kPlateW, kPlateH, 9);
    FillVertical(cr, kPlateY, kPlateY + kPlateH, {70, 70, 76}, {34, 34, 38});
    RoundedRect(cr, kPlateX + 1, kPlateY + 1, kPlateW - 2, kPlateH - 2, 8);
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, {110, 110, 116});
    cairo_stroke(cr);
    RoundedRect(cr, kPlateX + 28, kPlateY + 5, kPlateW - 56, 13, 2);
    SetColour(cr, {200, 196, 180});
    cairo_fill(cr);
    Text(cr, {kKnob.x, kPlateY + 11.5}, "VACUUM", {"Liberation Sans", 7.5, true}, {20, 20, 20});
    RibbedKnob(cr, kKnob, kKnobRadius, 28, {40, 40, 44});
    FillCircle(cr, kKnob, 9, {24, 24, 27});
    cairo_new_path(cr);
    cairo_move_to(cr, kKnob.x - 6, kKnob.y);
    cairo_line_to(cr, kKnob.x + 6, kKnob.y);
    cairo_move_to(cr, kKnob.x, kKnob.y - 6);
    cairo_line_to(cr, kKnob.x, kKnob.y + 6);
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, {190, 190, 190});
    cairo_stroke(cr);
    return cv.Keyed();
}

// The horizon card is drawn without antialiasing where its rows are named exactly.
void Row(cairo_t* cr, double x0, double x1, int row, int rows, Rgb colour) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x0, row, x1 - x0, rows);
    SetColour(cr, colour);
    cairo_fill(cr);
}

Image HorizonCard() {
    Canvas cv(256, 256);
    cairo_t* cr = cv.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Row(cr, 0, 256, 0, 128, kSky);
    Row(cr, 0, 256, 130, 126, kGround);
    // Perspective lines in the ground converging on the horizon's centre.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 130, 256, 126);
    cairo_clip(cr);
    for (int i = -4; i <= 4; ++i) {
        cairo_new_path(cr);
        cairo_move_to(cr, 128, 128);
        cairo_line_to(cr, 128 + i * 62, 256);
        cairo_set_line_width(cr, 2.0);
        SetColour(cr, kWhite);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Row(cr, 0, 256, 128, 2, kWhite);
    Row(cr, 128 - 11.5, 128 + 11.5, 107, 1, {20, 40, 60});  // 23 long
    Row(cr, 128 - 5, 128 + 5, 117, 1, {20, 40, 60});        // 10 long
    Row(cr, 128 - 5, 128 + 5, 144, 1, kWhite);
    Row(cr, 128 - 11.5, 128 + 11.5, 154, 1, kWhite);
    return cv.Keyed(kGround);
}

Image BankRing() {
    Canvas cv(256, 256);
    cairo_t* cr = cv.cr();
    const Pt c{128, 128};
    cairo_new_path(cr);
    cairo_rectangle(cr, 0, 0, 256, 256);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c.x, c.y, 93, 2 * M_PI, 0);  // the see-through disc
    SetColour(cr, kBankRing);
    cairo_fill(cr);
    for (int side : {-1, 1}) {
        for (int a : {10, 20}) Tick(cr, c, side * a, 96, 108, 2.5, kWhite);
        for (int a : {30, 60, 90}) Tick(cr, c, side * a, 96, 121, 3.2, kWhite);
    }
    // Large index at 0: a triangle pointing at the centre.
    cairo_new_path(cr);
    cairo_move_to(cr, c.x, c.y - 95);
    cairo_line_to(cr, c.x + 9, c.y - 119);
    cairo_line_to(cr, c.x - 9, c.y - 119);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill(cr);
    // 45-degree dots between 30 and 60.
    for (int side : {-1, 1}) FillCircle(cr, Polar(c, 104, side * 45), 2.6, kWhite);
    return cv.Keyed(kBankRing);
}

Image ReferenceBar() {
    Canvas cv(154, 130);
    cairo_t* cr = cv.cr();
    const double cx = 77;
    const Rgb grey{150, 150, 154};
    // Stem down the centre to row 63 and a Y-shaped support up to the wings.
    cairo_new_path(cr);
    cairo_rectangle(cr, cx - 2.5, 20, 5, 44);
    SetColour(cr, grey);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx, 24);
    cairo_line_to(cr, cx - 24, 8);
    cairo_move_to(cr, cx, 24);
    cairo_line_to(cr, cx + 24, 8);
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, 12, 4, 52, 6);   // left wing, x 12 to 63
    cairo_rectangle(cr, 91, 4, 49, 6);   // right wing, x 91 to 139
    SetColour(cr, kWhite);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    FillCircle(cr, {cx, 7}, 5, kWhite);
    return cv.Keyed();
}

}  // namespace

void DrawAttitude(std::vector<Picture>& out) {
    const Image frame = Frame();
    for (int32_t id : {bitmaps::kAttitudeFrame, bitmaps::kHorizonCardCompanion, bitmaps::kBankRingCompanion,
                       bitmaps::kReferenceBarCompanion})
        out.push_back(Bmp8(id, frame));
    out.push_back(Bmp8(bitmaps::kHorizonCard, HorizonCard(), {kSky, kGround}));
    out.push_back(Bmp8(bitmaps::kBankRing, BankRing(), {kBankRing}));
    out.push_back(Bmp8(bitmaps::kReferenceBar, ReferenceBar()));
}

}  // namespace skelvan_art
