// Cairo helpers for instrument artwork.
#include <algorithm>
#include <cmath>

#include "artkit.h"

namespace artkit {

namespace {
constexpr double kPi = 3.14159265358979323846;
double Rad(double deg) { return deg * kPi / 180.0; }

void SelectFont(cairo_t* cr, const Font& font) {
    cairo_select_font_face(cr, font.face, font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void AddStop(cairo_pattern_t* p, double at, Rgb c, double alpha = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}
}  // namespace

Pt Polar(Pt c, double r, double dial_deg) {
    return {c.x + r * std::sin(Rad(dial_deg)), c.y - r * std::cos(Rad(dial_deg))};
}

double DialAngle(Pt pivot, Pt mark) {
    double deg = std::atan2(mark.x - pivot.x, -(mark.y - pivot.y)) * 180.0 / kPi;
    return deg < 0 ? deg + 360.0 : deg;
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void FillCircle(cairo_t* cr, Pt c, double r, Rgb colour) {
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * kPi);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void FillRing(cairo_t* cr, Pt c, double r_in, double r_out, Rgb colour) {
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_out, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c.x, c.y, r_in, 2 * kPi, 0);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void ArcBand(cairo_t* cr, Pt c, double r_in, double r_out, double a0, double a1, Rgb colour) {
    // Dial degrees to Cairo's angles (from +x, clockwise with y down): dial - 90.
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_out, Rad(a0 - 90), Rad(a1 - 90));
    cairo_arc_negative(cr, c.x, c.y, r_in, Rad(a1 - 90), Rad(a0 - 90));
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Tick(cairo_t* cr, Pt c, double dial_deg, double r_in, double r_out, double width, Rgb colour) {
    const Pt a = Polar(c, r_in, dial_deg), b = Polar(c, r_out, dial_deg);
    cairo_new_path(cr);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    SetColour(cr, colour);
    cairo_stroke(cr);
}

void TickAt(cairo_t* cr, Pt c, Pt mark, double length, double width, Rgb colour, double overshoot) {
    const double r = std::hypot(mark.x - c.x, mark.y - c.y);
    Tick(cr, c, DialAngle(c, mark), r - length, r + overshoot, width, colour);
}

void Text(cairo_t* cr, Pt at, const std::string& text, const Font& font, Rgb colour, Align align) {
    cairo_save(cr);
    SelectFont(cr, font);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    double x = at.x - e.x_bearing;
    if (align == Align::kCentre) x -= e.width / 2;
    if (align == Align::kRight) x -= e.width;
    const double y = at.y - (e.y_bearing + e.height / 2);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    SetColour(cr, colour);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

void DialNumeral(cairo_t* cr, Pt c, double radius, double dial_deg, const std::string& text, const Font& font,
                 Rgb colour) {
    Text(cr, Polar(c, radius, dial_deg), text, font, colour);
}

void ArcText(cairo_t* cr, Pt c, double radius, double dial_deg, const std::string& text, const Font& font,
             Rgb colour) {
    cairo_save(cr);
    SelectFont(cr, font);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    std::vector<double> advances;
    double total = 0;
    for (char ch : text) {
        const char s[2] = {ch, 0};
        cairo_text_extents_t e;
        cairo_text_extents(cr, s, &e);
        advances.push_back(e.x_advance);
        total += e.x_advance;
    }
    double angle = dial_deg - (total / radius) * 180.0 / kPi / 2;
    SetColour(cr, colour);
    for (size_t i = 0; i < text.size(); ++i) {
        const double mid = angle + (advances[i] / 2 / radius) * 180.0 / kPi;
        const Pt p = Polar(c, radius, mid);
        const char s[2] = {text[i], 0};
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        cairo_rotate(cr, Rad(mid));
        cairo_new_path(cr);
        cairo_move_to(cr, -advances[i] / 2, (fe.ascent - fe.descent) / 2);
        cairo_show_text(cr, s);
        cairo_restore(cr);
        angle += (advances[i] / radius) * 180.0 / kPi;
    }
    cairo_restore(cr);
}

void Screw(cairo_t* cr, Pt c, double r, double slot_deg) {
    FillCircle(cr, c, r + 1, {22, 22, 24});
    cairo_pattern_t* p = cairo_pattern_create_radial(c.x - r * 0.35, c.y - r * 0.35, r * 0.1, c.x, c.y, r);
    AddStop(p, 0, {236, 236, 232});
    AddStop(p, 0.55, {150, 150, 148});
    AddStop(p, 1, {72, 72, 74});
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    const Pt a = Polar(c, r * 0.8, slot_deg), b = Polar(c, r * 0.8, slot_deg + 180);
    cairo_new_path(cr);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, std::max(1.2, r * 0.28));
    SetColour(cr, {38, 38, 40});
    cairo_stroke(cr);
    // A light lip on one side of the slot.
    const Pt a2 = Polar(a, r * 0.14, slot_deg + 90), b2 = Polar(b, r * 0.14, slot_deg + 90);
    cairo_move_to(cr, a2.x, a2.y);
    cairo_line_to(cr, b2.x, b2.y);
    cairo_set_line_width(cr, std::max(0.6, r * 0.08));
    SetColour(cr, {200, 200, 196}, 0.6);
    cairo_stroke(cr);
}

void Bezel(cairo_t* cr, Pt c, double r_in, double r_out, int ribs) {
    cairo_pattern_t* p = cairo_pattern_create_linear(c.x - r_out, c.y - r_out, c.x + r_out, c.y + r_out);
    AddStop(p, 0, {96, 96, 100});
    AddStop(p, 0.5, {44, 44, 48});
    AddStop(p, 1, {18, 18, 20});
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_out, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c.x, c.y, r_in, 2 * kPi, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (ribs > 0) {
        const double r0 = r_in + (r_out - r_in) * 0.35;
        for (int i = 0; i < ribs; ++i) {
            const double a = 360.0 * i / ribs;
            // Light on the upper left, dark on the lower right: the ribs catch the light.
            const double shade = 0.5 + 0.5 * std::cos(Rad(a + 45));
            const uint8_t v = uint8_t(40 + 60 * shade);
            Tick(cr, c, a, r0, r_out - 1, 1.4, {v, v, uint8_t(v + 4)});
        }
    }
    // Chamfer: light on top, dark at the bottom of the inner edge, and an outer rim line.
    cairo_pattern_t* q = cairo_pattern_create_linear(c.x, c.y - r_in, c.x, c.y + r_in);
    AddStop(q, 0, {170, 170, 175});
    AddStop(q, 1, {30, 30, 32});
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_in + 1.2, 0, 2 * kPi);
    cairo_set_line_width(cr, 2.2);
    cairo_set_source(cr, q);
    cairo_stroke(cr);
    cairo_pattern_destroy(q);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_out - 0.6, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, {120, 120, 126});
    cairo_stroke(cr);
}

void ChromeRing(cairo_t* cr, Pt c, double r_in, double r_out) {
    cairo_pattern_t* p = cairo_pattern_create_linear(c.x - r_out, c.y - r_out, c.x + r_out, c.y + r_out);
    AddStop(p, 0.0, {250, 250, 250});
    AddStop(p, 0.25, {150, 152, 158});
    AddStop(p, 0.45, {235, 236, 240});
    AddStop(p, 0.7, {96, 98, 104});
    AddStop(p, 1.0, {200, 202, 208});
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_out, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c.x, c.y, r_in, 2 * kPi, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r_in + 0.5, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {60, 60, 64});
    cairo_stroke(cr);
}

void RibbedKnob(cairo_t* cr, Pt c, double r, int ribs, Rgb base) {
    cairo_new_path(cr);
    for (int i = 0; i <= ribs * 2; ++i) {
        const double a = 360.0 * i / (ribs * 2);
        const Pt p = Polar(c, i % 2 ? r * 0.93 : r, a);
        if (i == 0) cairo_move_to(cr, p.x, p.y);
        else cairo_line_to(cr, p.x, p.y);
    }
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(c.x - r * 0.3, c.y - r * 0.4, r * 0.1, c.x, c.y, r);
    auto lift = [](uint8_t v, int d) { return uint8_t(std::clamp(int(v) + d, 1, 255)); };
    AddStop(p, 0, {lift(base.r, 70), lift(base.g, 70), lift(base.b, 70)});
    AddStop(p, 0.7, base);
    AddStop(p, 1, {lift(base.r, -20), lift(base.g, -20), lift(base.b, -20)});
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int i = 0; i < ribs; ++i) {
        const double a = 360.0 * (i + 0.5) / ribs;
        Tick(cr, c, a, r * 0.8, r * 0.97, 1.0, {lift(base.r, -18), lift(base.g, -18), lift(base.b, -18)});
    }
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r * 0.78, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {lift(base.r, 40), lift(base.g, 40), lift(base.b, 40)}, 0.7);
    cairo_stroke(cr);
}

void HexNut(cairo_t* cr, Pt c, double r, double turn_deg) {
    cairo_new_path(cr);
    for (int i = 0; i < 6; ++i) {
        const Pt p = Polar(c, r, turn_deg + 30 + 60 * i);
        if (i == 0) cairo_move_to(cr, p.x, p.y);
        else cairo_line_to(cr, p.x, p.y);
    }
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(c.x - r, c.y - r, c.x + r, c.y + r);
    AddStop(p, 0, {228, 228, 226});
    AddStop(p, 0.5, {150, 150, 152});
    AddStop(p, 1, {80, 80, 84});
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {50, 50, 54});
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r * 0.78, 0, 2 * kPi);
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, {210, 210, 210}, 0.7);
    cairo_stroke(cr);
}

void Lamp(cairo_t* cr, Pt c, double r, Rgb hue, bool lit) {
    cairo_pattern_t* p = cairo_pattern_create_radial(c.x - r * 0.25, c.y - r * 0.3, r * 0.05, c.x, c.y, r);
    if (lit) {
        AddStop(p, 0, {255, 244, 220});
        AddStop(p, 0.25, {255, uint8_t(std::min(255, hue.g + 120)), uint8_t(std::min(255, hue.b + 90))});
        AddStop(p, 0.6, hue);
        AddStop(p, 1, {uint8_t(hue.r * 0.7), uint8_t(hue.g * 0.5), uint8_t(hue.b * 0.5)});
    } else {
        AddStop(p, 0, {uint8_t(hue.r * 0.55), uint8_t(hue.g * 0.35 + 14), uint8_t(hue.b * 0.35 + 14)});
        AddStop(p, 0.5, {uint8_t(hue.r * 0.36), uint8_t(hue.g * 0.2 + 6), uint8_t(hue.b * 0.2 + 6)});
        AddStop(p, 1, {uint8_t(hue.r * 0.18 + 8), uint8_t(hue.g * 0.1 + 6), uint8_t(hue.b * 0.1 + 6)});
    }
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Fresnel rings of the lens.
    for (double f = 0.3; f < 0.95; f += 0.2) {
        cairo_new_path(cr);
        cairo_arc(cr, c.x, c.y, r * f, 0, 2 * kPi);
        cairo_set_line_width(cr, 0.8);
        cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.18 : 0.08);
        cairo_stroke(cr);
    }
    // Specular highlight, upper left.
    cairo_save(cr);
    cairo_translate(cr, c.x - r * 0.38, c.y - r * 0.42);
    cairo_scale(cr, r * 0.28, r * 0.16);
    cairo_rotate(cr, -0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.75 : 0.35);
    cairo_fill(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    AddStop(p, 0, top);
    AddStop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void ToggleLever(cairo_t* cr, Pt base, double length, double width, bool up) {
    const double dir = up ? -1 : 1;
    const double tip_y = base.y + dir * length;
    // Tapered shaft: wide at the base, narrow under the ball.
    cairo_new_path(cr);
    cairo_move_to(cr, base.x - width * 0.32, base.y);
    cairo_line_to(cr, base.x - width * 0.2, tip_y - dir * width * 0.3);
    cairo_line_to(cr, base.x + width * 0.2, tip_y - dir * width * 0.3);
    cairo_line_to(cr, base.x + width * 0.32, base.y);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(base.x - width / 2, 0, base.x + width / 2, 0);
    AddStop(p, 0, {90, 90, 94});
    AddStop(p, 0.35, {245, 245, 245});
    AddStop(p, 0.6, {170, 172, 176});
    AddStop(p, 1, {70, 70, 74});
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, {40, 40, 44});
    cairo_stroke(cr);
    // Ball end.
    const Pt ball{base.x, tip_y - dir * width * 0.3};
    cairo_pattern_t* q = cairo_pattern_create_radial(ball.x - width * 0.15, ball.y - width * 0.15, 0.5, ball.x,
                                                     ball.y, width * 0.45);
    AddStop(q, 0, {255, 255, 255});
    AddStop(q, 0.6, {180, 182, 186});
    AddStop(q, 1, {80, 80, 84});
    cairo_new_path(cr);
    cairo_arc(cr, ball.x, ball.y, width * 0.45, 0, 2 * kPi);
    cairo_set_source(cr, q);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(q);
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, {40, 40, 44});
    cairo_stroke(cr);
}

}  // namespace artkit
