// A 2-D affine transform and an axis-aligned rectangle, in the layout that Cairo's cairo_matrix_t
// and a canvas's setTransform(a, b, c, d, e, f) use: a point (x, y) maps to
// (xx * x + xy * y + x0, yx * x + yy * y + y0).
#pragma once

#include <algorithm>
#include <cmath>

namespace render {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool Empty() const { return !(width > 0 && height > 0); }
    bool Intersects(const Rect& o) const {
        return !Empty() && !o.Empty() && x < o.x + o.width && o.x < x + width &&
               y < o.y + o.height && o.y < y + height;
    }
    Rect Union(const Rect& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        const double left = std::min(x, o.x), top = std::min(y, o.y);
        const double right = std::max(x + width, o.x + o.width);
        const double bottom = std::max(y + height, o.y + o.height);
        return {left, top, right - left, bottom - top};
    }
    Rect Intersection(const Rect& o) const {
        const double left = std::max(x, o.x), top = std::max(y, o.y);
        const double right = std::min(x + width, o.x + o.width);
        const double bottom = std::min(y + height, o.y + o.height);
        if (!(right > left && bottom > top)) return {};
        return {left, top, right - left, bottom - top};
    }
    // The smallest rectangle of whole pixels that holds this one.
    Rect OutwardToPixels() const {
        if (Empty()) return {};
        const double left = std::floor(x), top = std::floor(y);
        return {left, top, std::ceil(x + width) - left, std::ceil(y + height) - top};
    }
    bool operator==(const Rect&) const = default;
};

struct Affine {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;

    static Affine Translate(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Turns clockwise on screen (y grows downward) by the angle in degrees.
    static Affine Rotate(double degrees) {
        const double r = degrees * (3.14159265358979323846 / 180.0);
        const double c = std::cos(r), s = std::sin(r);
        return {c, s, -s, c, 0, 0};
    }

    // This transform first, then `outer`.
    Affine Then(const Affine& outer) const {
        return {outer.xx * xx + outer.xy * yx,
                outer.yx * xx + outer.yy * yx,
                outer.xx * xy + outer.xy * yy,
                outer.yx * xy + outer.yy * yy,
                outer.xx * x0 + outer.xy * y0 + outer.x0,
                outer.yx * x0 + outer.yy * y0 + outer.y0};
    }
    Point Apply(Point p) const { return {xx * p.x + xy * p.y + x0, yx * p.x + yy * p.y + y0}; }
    double Determinant() const { return xx * yy - xy * yx; }
    bool Finite() const {
        return std::isfinite(xx) && std::isfinite(yx) && std::isfinite(xy) && std::isfinite(yy) &&
               std::isfinite(x0) && std::isfinite(y0);
    }
    // Bounds of the rectangle (0, 0, width, height) after the transform.
    Rect MapBounds(double width, double height) const {
        const Point c[4] = {Apply({0, 0}), Apply({width, 0}), Apply({0, height}), Apply({width, height})};
        double left = c[0].x, right = c[0].x, top = c[0].y, bottom = c[0].y;
        for (const Point& p : c) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        return {left, top, right - left, bottom - top};
    }
    bool operator==(const Affine&) const = default;
};

}  // namespace render
