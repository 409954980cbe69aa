#include <tuple>
// "Icom": the COM radio's face, with the liquid-crystal window under the two frequency boxes and
// the buttons and knobs under their mouse boxes.
#include "common.h"
#include "pictures.h"

namespace skelvan_art {

namespace {

using face_geometry::kActiveFrequencyBox, face_geometry::kStandbyFrequencyBox, face_geometry::kTransferButtonBox;

// Exactly the frequency boxes' back colour.
constexpr Rgb kLcd = HostColour(face_geometry::kRadioWindowColour);
// The two frequency boxes, side by side on one row and of one size.
constexpr double kActiveX = kActiveFrequencyBox.x, kStandbyX = kStandbyFrequencyBox.x;
constexpr double kBoxW = kStandbyFrequencyBox.width;
constexpr double kLcdX = 58, kLcdY = 32, kLcdW = kStandbyX + kBoxW + 10 - 58, kLcdH = 47;
// The transfer button under its box; the tuning knob boxes lie on the large knob (505..590,
// 25..80) and on the small knob (550..600, 85..125).
constexpr double kTransferX = kTransferButtonBox.x, kTransferY = kTransferButtonBox.y,
                 kTransferW = kTransferButtonBox.width, kTransferH = kTransferButtonBox.height;
constexpr Pt kOuterKnob{547, 72};
constexpr double kOuterKnobRadius = 48;
constexpr Pt kInnerKnob{572, 104};
constexpr double kInnerKnobRadius = 21;

constexpr Rgb kPrint{225, 225, 220};

void Button(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRect(cr, x, y, w, h, 5);
    FillVertical(cr, y, y + h, {96, 98, 104}, {40, 42, 46});
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 5);
    cairo_set_line_width(cr, 1);
    SetColour(cr, {20, 20, 22});
    cairo_stroke(cr);
}

Image Face() {
    Canvas cv(600, 136);
    cairo_t* cr = cv.cr();
    RoundedRect(cr, 0.5, 0.5, 599, 135, 8);
    FillVertical(cr, 0, 136, {52, 54, 58}, {24, 25, 28});
    for (Pt s : {Pt{9, 9}, Pt{9, 127}, Pt{490, 9}, Pt{490, 127}}) Screw(cr, s, 5, 30);
    Text(cr, {kLcdX, 16}, "VHF COM", {"Liberation Sans", 12, true}, kPrint, Align::kLeft);
    Text(cr, {kLcdX + kLcdW, 16}, "118.000 - 136.975 MHz", {"Liberation Sans", 8, false}, {180, 180, 176},
         Align::kRight);
    // The liquid-crystal window, in a sunk frame.
    RoundedRect(cr, kLcdX - 5, kLcdY - 5, kLcdW + 10, kLcdH + 10, 4);
    FillVertical(cr, kLcdY - 5, kLcdY + kLcdH + 5, {10, 10, 12}, {80, 82, 86});
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr);
    cairo_rectangle(cr, kLcdX, kLcdY, kLcdW, kLcdH);
    SetColour(cr, kLcd);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    Text(cr, {kActiveX + kBoxW / 2, kLcdY + kLcdH - 4}, "USE", {"Liberation Sans", 7, true}, {40, 48, 36});
    Text(cr, {kStandbyX + kBoxW / 2, kLcdY + kLcdH - 4}, "STBY", {"Liberation Sans", 7, true}, {40, 48, 36});
    Text(cr, {kActiveX + kBoxW / 2, 91}, "IN USE", {"Liberation Sans", 8, true}, kPrint);
    Text(cr, {kStandbyX + kBoxW / 2, 91}, "STANDBY", {"Liberation Sans", 8, true}, kPrint);
    // Transfer button with its double arrow.
    Button(cr, kTransferX, kTransferY, kTransferW, kTransferH);
    const double ax = kTransferX + kTransferW / 2, ay = kTransferY + kTransferH / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, ax - 20, ay - 4);
    cairo_line_to(cr, ax + 18, ay - 4);
    cairo_move_to(cr, ax + 20, ay + 4);
    cairo_line_to(cr, ax - 18, ay + 4);
    cairo_set_line_width(cr, 2);
    SetColour(cr, kPrint);
    cairo_stroke(cr);
    for (auto [tx, ty, d] : {std::tuple{ax + 22, ay - 4, 1.0}, std::tuple{ax - 22, ay + 4, -1.0}}) {
        cairo_new_path(cr);
        cairo_move_to(cr, tx, ty);
        cairo_line_to(cr, tx - d * 7, ty - 4);
        cairo_line_to(cr, tx - d * 7, ty + 4);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    // Channel button.
    Button(cr, 80, 100, 52, 30);
    Text(cr, {106, 115}, "CH", {"Liberation Sans", 11, true}, kPrint);
    // Off/volume knob.
    const Pt vol{272, 114};
    RibbedKnob(cr, vol, 15, 18, {44, 44, 48});
    Tick(cr, vol, 300, 4, 12, 2, kPrint);
    Text(cr, {vol.x + 38, 108}, "OFF", {"Liberation Sans", 8, true}, kPrint);
    Text(cr, {vol.x + 38, 120}, "VOL", {"Liberation Sans", 8, true}, kPrint);
    // Dual tuning knob: the large outer knob behind, the small inner knob in front.
    Text(cr, {kOuterKnob.x - 74, 30}, "MHz", {"Liberation Sans", 8, true}, kPrint);
    Text(cr, {kOuterKnob.x - 74, 108}, "kHz", {"Liberation Sans", 8, true}, kPrint);
    FillCircle(cr, {kOuterKnob.x + 2, kOuterKnob.y + 3}, kOuterKnobRadius, {14, 14, 16});
    RibbedKnob(cr, kOuterKnob, kOuterKnobRadius, 40, {46, 46, 50});
    FillCircle(cr, {kInnerKnob.x + 2, kInnerKnob.y + 3}, kInnerKnobRadius + 1, {10, 10, 12});
    RibbedKnob(cr, kInnerKnob, kInnerKnobRadius, 20, {58, 58, 62});
    return cv.Keyed();
}

}  // namespace

void DrawRadio(std::vector<Picture>& out) { out.push_back(Bmp8(bitmaps::kRadioFace, Face(), {kLcd})); }

}  // namespace skelvan_art
