// Helpers shared by the Skelvan pictures.
#pragma once

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "artkit.h"
#include "bitmap_ids.h"
#include "dial_marks.h"
#include "face_geometry.h"

namespace skelvan_art {

using namespace artkit;

inline constexpr Rgb kFace{16, 16, 18};        // dial black that must show
inline constexpr Rgb kMarking{246, 246, 242};  // painted dial markings
inline constexpr Font kNumerals{"Liberation Sans", 22, true};
inline constexpr Font kLegend{"Liberation Sans", 12, true};

inline Pt P(dial_marks::Point p) { return {double(p.x), double(p.y)}; }

// A host colour, 0x00BBGGRR, as the picture's RGB.
inline constexpr Rgb HostColour(uint32_t c) {
    return {uint8_t(c & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t((c >> 16) & 0xFF)};
}

// A dial scale fixed by (value, dial angle) anchors, angles rising clockwise without wrapping.
// Values between anchors take angles linearly; beyond the ends the nearest interval goes on.
struct Scale {
    struct Anchor {
        double value, angle;
    };
    std::vector<Anchor> anchors;

    double Angle(double v) const {
        size_t i = 1;
        while (i + 1 < anchors.size() && v > anchors[i].value) ++i;
        const Anchor& a = anchors[i - 1];
        const Anchor& b = anchors[i];
        return a.angle + (v - a.value) * (b.angle - a.angle) / (b.value - a.value);
    }

    // Anchors from a needle's marks about its pivot; `unit` converts table values to dial units.
    static Scale FromMarks(dial_marks::Point pivot, std::span<const dial_marks::Mark> marks, double unit = 1.0) {
        Scale s;
        double last = -1e9;
        for (const auto& m : marks) {
            double a = DialAngle(P(pivot), {double(m.x), double(m.y)});
            while (a < last) a += 360.0;
            s.anchors.push_back({m.value * unit, a});
            last = a;
        }
        return s;
    }
};

inline double Radius(dial_marks::Point pivot, const dial_marks::Mark& m) {
    return std::hypot(m.x - pivot.x, m.y - pivot.y);
}

// Four slotted screws in the corners of a w x h picture.
inline void CornerScrews(cairo_t* cr, int w, int h, double inset, double r) {
    Screw(cr, {inset, inset}, r, 35);
    Screw(cr, {w - inset, inset}, r, 110);
    Screw(cr, {inset, h - inset}, r, 160);
    Screw(cr, {w - inset, h - inset}, r, 70);
}

// A round black dial face with a soft sheen, in a dark bezel.
inline void DialFace(cairo_t* cr, Pt c, double face_r, double bezel_r, int ribs = 0) {
    cairo_pattern_t* p = cairo_pattern_create_radial(c.x, c.y - face_r * 0.3, face_r * 0.1, c.x, c.y, face_r);
    cairo_pattern_add_color_stop_rgb(p, 0, 30 / 255.0, 30 / 255.0, 33 / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 12 / 255.0, 12 / 255.0, 14 / 255.0);
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, face_r + 1, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Bezel(cr, c, face_r, bezel_r, ribs);
}

// A centre cap over which the needle's own pivot disc turns (painted dial hub).
inline void PivotShadow(cairo_t* cr, Pt c, double r) { FillCircle(cr, c, r, {6, 6, 8}); }

// The ribbed setting knob of the altimeters, seen from the side at the lower left.
inline void SideKnob(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRect(cr, x, y, w, h, 5);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.10, 0.10, 0.11);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.42, 0.42, 0.44);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.30, 0.30, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.08, 0.09);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (double yy = y + 4; yy < y + h - 3; yy += 4) {
        cairo_new_path(cr);
        cairo_move_to(cr, x + 2, yy);
        cairo_line_to(cr, x + w - 2, yy);
        cairo_set_line_width(cr, 1.3);
        cairo_set_source_rgba(cr, 0.02, 0.02, 0.02, 0.8);
        cairo_stroke(cr);
        cairo_move_to(cr, x + 2, yy + 1.4);
        cairo_line_to(cr, x + w - 2, yy + 1.4);
        cairo_set_line_width(cr, 0.7);
        cairo_set_source_rgba(cr, 0.75, 0.75, 0.75, 0.35);
        cairo_stroke(cr);
    }
}

// A sunk text window frame (the text box paints its own ground).
inline void WindowFrame(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRect(cr, x - 3, y - 3, w + 6, h + 6, 3);
    SetColour(cr, {70, 70, 74});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - 1, y - 1, w + 2, h + 2);
    SetColour(cr, kNearBlack);
    cairo_fill(cr);
}

}  // namespace skelvan_art
