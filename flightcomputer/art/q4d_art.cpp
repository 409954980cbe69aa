// Drawing of the flight computer: a white body with the fixed scale and a hole for the disc, the
// turning disc with the matching scale and the hours-and-minutes scale, and the 12 x 12 icon.
//
// Both logarithmic scales come from LogScaleMarks() and slide_rule.h, so that any number on the
// disc stands exactly against the same number on the body at position 0, and against
// number * 10^(p / 3598) at position p.
#include "q4d_art.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "geometry.h"
#include "slide_rule.h"

namespace q4d {

using artkit::Align;
using artkit::Font;
using artkit::Pt;
using artkit::Rgb;

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr Rgb kCard{250, 250, 246};
constexpr Rgb kDiscFace{255, 253, 240};
constexpr Rgb kInk{20, 20, 22};
constexpr Rgb kRed{190, 28, 34};
constexpr Rgb kOuterRing{12, 12, 12};
constexpr Rgb kCentre{40, 46, 58};
constexpr Rgb kButton{226, 228, 232};
constexpr Rgb kCardEdge{150, 150, 150};
constexpr Rgb kLightText{214, 218, 226};

double Rad(double dial_deg) { return (dial_deg - 90.0) * kPi / 180.0; }

std::string Number(double n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(std::lround(n)));
    return buf;
}

// Text centred on a point of a circle, turned so that its top faces outward (as every label on a
// circular computer reads): upside down at the bottom of the ring, as on the real thing.
void RadialText(cairo_t* cr, Pt c, double radius, double dial_deg, const std::string& text, const Font& font,
                Rgb colour) {
    const Pt p = artkit::Polar(c, radius, dial_deg);
    cairo_save(cr);
    cairo_translate(cr, p.x, p.y);
    cairo_rotate(cr, dial_deg * kPi / 180.0);
    artkit::Text(cr, {0, 0}, text, font, colour);
    cairo_restore(cr);
}

// A triangle with its tip on the circle of radius `tip_r`, its base at `base_r`.
void Triangle(cairo_t* cr, Pt c, double dial_deg, double tip_r, double base_r, double half_width, Rgb colour) {
    const Pt tip = artkit::Polar(c, tip_r, dial_deg);
    const Pt mid = artkit::Polar(c, base_r, dial_deg);
    const double ux = std::cos(dial_deg * kPi / 180.0), uy = std::sin(dial_deg * kPi / 180.0);
    cairo_new_path(cr);
    cairo_move_to(cr, tip.x, tip.y);
    cairo_line_to(cr, mid.x + half_width * ux, mid.y + half_width * uy);
    cairo_line_to(cr, mid.x - half_width * ux, mid.y - half_width * uy);
    cairo_close_path(cr);
    artkit::SetColour(cr, colour);
    cairo_fill(cr);
}

// The ticks and numerals of the 10-to-99 scale. `outward` ticks start on the rim and point away
// from the centre (the body); otherwise they point inward (the disc). `angle_of` gives each
// number's dial angle in this picture.
template <typename AngleOf>
void LogScale(cairo_t* cr, Pt c, bool outward, double numeral_r, double font_size, AngleOf angle_of,
              bool skip_hour_index_numeral) {
    const Font numeral{.size = font_size, .bold = true};
    for (const ScaleMark& m : LogScaleMarks()) {
        const double a = angle_of(m.number);
        const double len = kTickLength[m.level];
        const double width = m.level == 2 ? 1.8 : m.level == 1 ? 1.4 : 1.1;
        if (outward) artkit::Tick(cr, c, a, kDiscRim - 0.5, kDiscRim + len, width, kInk);
        else artkit::Tick(cr, c, a, kDiscRim - len, kDiscRim - 0.5, width, kInk);
        if (m.labelled && !(skip_hour_index_numeral && m.number == kHourIndex))
            RadialText(cr, c, numeral_r, a, Number(m.number), numeral, kInk);
    }
}

// A circular arrow around `c`, three quarters of a turn and more, with its head at the end of the
// way it turns.
void CircularArrow(cairo_t* cr, Pt c, double r, double width, bool clockwise) {
    const double from = clockwise ? 40.0 : 320.0;
    const double to = clockwise ? 300.0 : 60.0;
    cairo_new_path(cr);
    if (clockwise) cairo_arc(cr, c.x, c.y, r, Rad(from), Rad(to));
    else cairo_arc_negative(cr, c.x, c.y, r, Rad(from), Rad(to));
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    artkit::SetColour(cr, kInk);
    cairo_stroke(cr);
    // The head: tip ahead along the circle, base across the line's end.
    const double head_deg = (clockwise ? 1 : -1) * (width * 2.6 / r) * 180.0 / kPi;
    const Pt tip = artkit::Polar(c, r, to + head_deg);
    const Pt inner = artkit::Polar(c, r - width * 1.5, to);
    const Pt outer = artkit::Polar(c, r + width * 1.5, to);
    cairo_new_path(cr);
    cairo_move_to(cr, tip.x, tip.y);
    cairo_line_to(cr, inner.x, inner.y);
    cairo_line_to(cr, outer.x, outer.y);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A round push button under a mouse box, with its circular arrow.
void ArrowButton(cairo_t* cr, const MouseBox& box, bool clockwise, bool large) {
    const Pt c{box.x + box.width / 2.0, box.y + box.height / 2.0};
    const double r = box.width / 2.0 - 1.0;
    artkit::FillCircle(cr, c, r, kButton);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r - 0.5, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.0);
    artkit::SetColour(cr, kCardEdge);
    cairo_stroke(cr);
    CircularArrow(cr, c, r * 0.58, large ? 4.5 : 2.4, clockwise);
}

// Celsius above Fahrenheit along the bottom edge, between the arrow buttons.
void TemperatureScale(cairo_t* cr) {
    constexpr double x0 = 150, x1 = 596, baseline = 786;
    constexpr double c_min = -40, c_max = 50;
    auto x_of_celsius = [&](double celsius) { return x0 + (celsius - c_min) * (x1 - x0) / (c_max - c_min); };
    const Font label{.size = 10, .bold = true};
    cairo_new_path(cr);
    cairo_move_to(cr, x0, baseline);
    cairo_line_to(cr, x1, baseline);
    cairo_set_line_width(cr, 1.2);
    artkit::SetColour(cr, kInk);
    cairo_stroke(cr);
    auto tick = [&](double x, double y0, double y1, double w) {
        cairo_new_path(cr);
        cairo_move_to(cr, x, y0);
        cairo_line_to(cr, x, y1);
        cairo_set_line_width(cr, w);
        artkit::SetColour(cr, kInk);
        cairo_stroke(cr);
    };
    for (int celsius = -40; celsius <= 50; celsius += 5) {
        const bool major = celsius % 10 == 0;
        const double x = x_of_celsius(celsius);
        tick(x, baseline, baseline - (major ? 9 : 5), major ? 1.4 : 1.0);
        if (major) artkit::Text(cr, {x, baseline - 16}, Number(celsius), label, kInk);
    }
    for (int fahrenheit = -40; fahrenheit <= 120; fahrenheit += 10) {
        const bool major = fahrenheit % 20 == 0;
        const double x = x_of_celsius((fahrenheit - 32) * 5.0 / 9.0);
        tick(x, baseline, baseline + (major ? 9 : 5), major ? 1.4 : 1.0);
        if (major) artkit::Text(cr, {x, baseline + 16}, Number(fahrenheit), label, kInk);
    }
    artkit::Text(cr, {x0 - 12, baseline - 16}, "\xC2\xB0" "C", label, kRed, Align::kRight);
    artkit::Text(cr, {x0 - 12, baseline + 16}, "\xC2\xB0" "F", label, kRed, Align::kRight);
}

// Conversion marks on the body's scale: 66 nautical miles = 75.95 statute miles = 122.2 km.
struct UnitMark {
    double number;
    const char* label;
};
constexpr UnitMark kUnitMarks[] = {{66.0, "NAUT"}, {75.95, "STAT"}, {12.22, "KM"}};

}  // namespace

std::vector<ScaleMark> LogScaleMarks() {
    std::vector<ScaleMark> marks;
    // Work in tenths so that every number is exact.
    for (int t = 100; t < 200; t += 2)
        marks.push_back({t / 10.0, t % 10 == 0 ? 2 : 0, t % 10 == 0});
    for (int t = 200; t < 500; t += 5) {
        const int n = t / 10;
        const bool whole = t % 10 == 0;
        const int level = !whole ? 0 : n % 5 == 0 ? 2 : 1;
        marks.push_back({t / 10.0, level, whole && (n <= 30 || n % 5 == 0)});
    }
    for (int n = 50; n <= 99; ++n) marks.push_back({double(n), n % 5 == 0 ? 2 : 0, n % 5 == 0});
    return marks;
}

artkit::Image DrawBody() {
    artkit::Canvas canvas(kBodyWidth, kBodyHeight);
    cairo_t* cr = canvas.cr();
    const Pt pivot{double(kPivotX), double(kPivotY)};

    // The white card with rounded corners.
    artkit::RoundedRect(cr, 1.0, 1.0, kBodyWidth - 2.0, kBodyHeight - 2.0, 34);
    artkit::SetColour(cr, kCard);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2.0);
    artkit::SetColour(cr, kCardEdge);
    cairo_stroke(cr);

    // The fixed scale around the disc, then the black outer ring with the unit marks' names.
    LogScale(cr, pivot, true, 308.0, 15.0, BodyScaleAngle, false);
    artkit::FillRing(cr, pivot, 330.0, 344.0, kOuterRing);
    const Font unit_font{.size = 9, .bold = true};
    for (const UnitMark& u : kUnitMarks) {
        const double a = BodyScaleAngle(u.number);
        Triangle(cr, pivot, a, 318.0, 329.0, 5.0, kRed);
        RadialText(cr, pivot, 337.0, a, u.label, unit_font, artkit::kWhite);
    }

    // The heading across the top.
    artkit::Text(cr, {double(kPivotX), 34}, "Q4D  FLIGHT COMPUTER", Font{.size = 24, .bold = true}, kInk);

    // The step buttons: counter-clockwise on the left, clockwise on the right, large above small.
    ArrowButton(cr, kDecreaseLargeBox, false, true);
    ArrowButton(cr, kIncreaseLargeBox, true, true);
    ArrowButton(cr, kDecreaseSmallBox, false, false);
    ArrowButton(cr, kIncreaseSmallBox, true, false);

    TemperatureScale(cr);

    // The hole for the disc: see-through.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    cairo_arc(cr, pivot.x, pivot.y, kDiscRim - 0.5, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_restore(cr);
    return canvas.Keyed(kOuterRing);
}

artkit::Image DrawDisc() {
    artkit::Canvas canvas(kDiscSize, kDiscSize);
    cairo_t* cr = canvas.cr();
    const Pt c{double(kDiscCentre), double(kDiscCentre)};

    artkit::FillCircle(cr, c, kDiscRim, kDiscFace);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, kDiscRim - 1.2, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.4);
    artkit::SetColour(cr, kInk);
    cairo_stroke(cr);

    // The matching scale along the rim; the hour index takes the place of its numeral.
    LogScale(cr, c, false, 251.0, 14.0, DiscPictureAngle, true);
    Triangle(cr, c, DiscPictureAngle(kHourIndex), kDiscRim - 1.0, kDiscRim - 36.0, 11.0, kInk);

    // Hours and minutes under the minutes that they stand for.
    struct HoursMinutes {
        double minutes;
        const char* text;
    };
    constexpr HoursMinutes kHours[] = {
        {60, "1:00"}, {70, "1:10"}, {80, "1:20"}, {90, "1:30"}, {100, "1:40"}, {110, "1:50"},
        {120, "2:00"}, {150, "2:30"}, {180, "3:00"}, {210, "3:30"}, {240, "4:00"}, {270, "4:30"},
        {300, "5:00"}, {360, "6:00"}, {420, "7:00"}, {480, "8:00"}, {540, "9:00"},
    };
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, 237.0, 0, 2 * kPi);
    cairo_set_line_width(cr, 0.8);
    artkit::SetColour(cr, kInk);
    cairo_stroke(cr);
    const Font hours_font{.size = 11, .bold = true};
    for (const HoursMinutes& h : kHours) {
        const double a = DiscPictureAngle(h.minutes);
        artkit::Tick(cr, c, a, 231.0, 237.0, 1.2, kRed);
        RadialText(cr, c, 221.0, a, h.text, hours_font, kRed);
    }

    // The dark centre with the rivet.
    artkit::FillCircle(cr, c, 206.0, kCentre);
    artkit::ArcText(cr, c, 186.0, 90.0, "TIME  SPEED  DISTANCE", Font{.size = 13, .bold = true}, kLightText);
    artkit::ArcText(cr, c, 186.0, 270.0, "HOURS : MINUTES", Font{.size = 11, .bold = true}, kLightText);
    artkit::FillCircle(cr, c, 14.0, Rgb{160, 162, 168});
    artkit::FillCircle(cr, c, 6.0, Rgb{96, 98, 104});
    return canvas.Keyed(kInk);
}

artkit::Image DrawIcon() {
    // Pixel lettering, no font: 3 x 5 glyphs of "Q4D" on white, a grey edge right and below.
    constexpr Rgb kLetter{24, 24, 40};
    constexpr Rgb kEdge{136, 136, 136};
    static constexpr const char* kGlyphs[3][5] = {
        {".#.", "#.#", "#.#", "#.#", ".##"},  // Q
        {"#.#", "#.#", "###", "..#", "..#"},  // 4
        {"##.", "#.#", "#.#", "#.#", "##."},  // D
    };
    artkit::Image icon(kIconSize, kIconSize, artkit::kWhite);
    for (int i = 0; i < kIconSize; ++i) {
        icon.At(kIconSize - 1, i) = kEdge;
        icon.At(i, kIconSize - 1) = kEdge;
    }
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (kGlyphs[g][row][col] == '#') icon.At(g * 4 + col, 3 + row) = kLetter;
    for (auto [x, y] : {std::pair{0, 0}, {kIconSize - 1, 0}, {0, kIconSize - 1}, {kIconSize - 1, kIconSize - 1}})
        icon.At(x, y) = artkit::kSeeThrough;
    return icon;
}

std::vector<artkit::Picture> Pictures() {
    return {
        artkit::Bmp8(kBodyBitmap, DrawBody(), {kOuterRing}),
        artkit::Bmp8(kDiscBitmap, DrawDisc()),
        artkit::Bmp8(kIconBitmap, DrawIcon()),
    };
}

}  // namespace q4d
