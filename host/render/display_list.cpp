#include "display_list.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace render {

namespace {

// Anything farther than this from the gauge is off it anyway; keeping transforms within it keeps
// them finite and invertible whatever the host hands us.
constexpr double kMaxShift = 1.0e6;
constexpr double kMaxTextureFactor = 1.0e4;
constexpr double kMinTextureFactor = 1.0e-6;
constexpr double kMaxFontSize = 1024.0;

double FiniteOr0(double v) { return std::isfinite(v) ? v : 0.0; }
double Shift(double v) { return std::clamp(FiniteOr0(v), -kMaxShift, kMaxShift); }
// Degrees, reduced to one turn so that sin and cos stay exact for huge values.
double Degrees(double v) { return std::isfinite(v) ? std::fmod(v, 360.0) : 0.0; }

// Where v lies between lo and hi, 0 to 1. A range of no width, or a value that is not a number,
// gives 0: the strip's top-left part shows.
double Fraction(double v, double lo, double hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi != lo) || std::isnan(v)) return 0.0;
    const double f = (v - lo) / (hi - lo);
    if (std::isnan(f)) return 0.0;
    return std::clamp(f, 0.0, 1.0);
}

bool WholePixelShift(const Affine& t) {
    return t.xx == 1 && t.yy == 1 && t.xy == 0 && t.yx == 0 && t.x0 == std::floor(t.x0) &&
           t.y0 == std::floor(t.y0);
}

// 8-bit text (Latin-1) to UTF-8. Control codes show as spaces, as a single-line text box would
// leave them. Returns the number of characters.
size_t ToUtf8(const char* in, size_t in_max, char* out, size_t out_size) {
    size_t o = 0, chars = 0;
    for (size_t i = 0; i < in_max && in[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            if (o + 1 >= out_size) break;
            out[o++] = (c < 0x20 || c == 0x7F) ? ' ' : static_cast<char>(c);
        } else if (c < 0xA0) {
            if (o + 1 >= out_size) break;
            out[o++] = ' ';
        } else {
            if (o + 2 >= out_size) break;
            out[o++] = static_cast<char>(0xC0 | (c >> 6));
            out[o++] = static_cast<char>(0x80 | (c & 0x3F));
        }
        ++chars;
    }
    out[o] = '\0';
    return chars;
}

uint32_t BgrToRgb(uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

class Builder {
public:
    Builder(const Affine& to_panel, const ModuleBitmaps& bitmaps, DisplayList& out)
        : to_panel_(to_panel), bitmaps_(bitmaps), out_(out) {}

    const Bitmap* Lookup(int32_t id) {
        const Bitmap* b = bitmaps_.Find(id);
        if (b == nullptr && std::find(out_.missing_bitmaps.begin(), out_.missing_bitmaps.end(), id) ==
                                out_.missing_bitmaps.end())
            out_.missing_bitmaps.push_back(id);
        return b;
    }

    void AddBitmap(int32_t element, const ElementHeader& e, int32_t id, const Bitmap* b, const Affine& in_gauge,
                   int32_t companion_id = -1, const Bitmap* companion = nullptr, const Affine& companion_in_gauge = {}) {
        // Nothing outside the gauge is drawn, so a picture wholly outside it needs no command; this
        // also keeps far-off coordinates away from the rasteriser's fixed-point arithmetic.
        const Affine transform = in_gauge.Then(to_panel_);
        if (!transform.MapBounds(b->width, b->height).Intersects(out_.clip)) return;
        DrawCommand& c = out_.commands.emplace_back();
        c.kind = CommandKind::kBitmap;
        c.element = element;
        c.bitmap.bitmap_id = id;
        c.bitmap.bitmap = b;
        c.bitmap.transform = transform;
        c.bitmap.color_key = (e.image_flags & kImageColorKey) != 0;
        c.bitmap.smooth = !WholePixelShift(c.bitmap.transform);
        if (companion != nullptr) {
            c.bitmap.companion_id = companion_id;
            c.bitmap.companion = companion;
            c.bitmap.companion_transform = companion_in_gauge.Then(to_panel_);
        }
    }

    void Static(int32_t i, const ElementHeader& e) {
        if (const Bitmap* b = Lookup(e.bitmap_id)) AddBitmap(i, e, e.bitmap_id, b, Affine::Translate(e.x, e.y));
    }

    void Icon(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        const uint32_t count = std::max<uint32_t>(ElementAs<IconElement>(&e)->count, 1);
        const int64_t index = std::clamp<int64_t>(s.index, 0, static_cast<int64_t>(count) - 1);
        const int64_t id = static_cast<int64_t>(e.bitmap_id) + index;
        if (id > INT32_MAX) return;
        if (const Bitmap* b = Lookup(static_cast<int32_t>(id)))
            AddBitmap(i, e, static_cast<int32_t>(id), b, Affine::Translate(e.x, e.y));
    }

    // Sliders move with the products as they are: x right, y down.
    void Slider(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        if (const Bitmap* b = Lookup(e.bitmap_id))
            AddBitmap(i, e, e.bitmap_id, b, Affine::Translate(e.x + Shift(s.shift_x), e.y + Shift(s.shift_y)));
    }

    // The bitmap's rightward direction points along the needle's angle (clockwise from straight
    // up), the offset point of the bitmap on the pivot.
    void Needle(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        const Bitmap* b = Lookup(e.bitmap_id);
        if (b == nullptr) return;
        const Affine t = Affine::Translate(-static_cast<double>(e.offset_x), -static_cast<double>(e.offset_y))
                             .Then(Affine::Rotate(Degrees(s.angle) - 90.0))
                             .Then(Affine::Translate(e.x, e.y));
        AddBitmap(i, e, e.bitmap_id, b, t);
    }

    // The strip slides under a window the size of its companion, top-left at the position: the
    // minimum shows the strip's left (top) end in the window, the maximum its right (bottom) end.
    void Strip(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        const Bitmap* b = Lookup(e.bitmap_id);
        if (b == nullptr) return;
        const auto* m = ElementAs<MovingImageElement>(&e);
        const int32_t companion_id = e.bitmap_id == INT32_MAX ? -1 : e.bitmap_id + 1;
        const Bitmap* companion = companion_id >= 0 ? Lookup(companion_id) : nullptr;
        const double window_w = companion ? companion->width : b->width;
        const double window_h = companion ? companion->height : b->height;
        const double pan_x = Fraction(s.strip_x, m->x_min, m->x_max) * (b->width - window_w);
        const double pan_y = Fraction(s.strip_y, m->y_min, m->y_max) * (b->height - window_h);
        AddBitmap(i, e, e.bitmap_id, b, Affine::Translate(e.x - pan_x, e.y - pan_y), companion_id, companion,
                  Affine::Translate(e.x, e.y));
    }

    // A texture scale is texture pixels per gauge pixel: the texture is drawn at its size divided
    // by it. Only that reading makes the attitude indicator whole: its horizon card (256 pixels,
    // scale 0.55) then spans 465 pixels and fills the bank ring's see-through disc (radius 93 at
    // scale 1.05: 89 pixels) even at the full pitch shift of 86 pixels, its pitch lines 21 and 11
    // rows above the horizon stand at 19 and 10 degrees (2 pixels a degree), and the ring's marks
    // (radius 94 to 121: 90 to 115 pixels) just fit the frame's opening. Multiplying would leave
    // a 141-pixel card with black all round it.
    //
    // The scaled texture has its centre on the offset point; it is shifted in its own frame (a
    // positive y product moves it up) and then turned clockwise about that point. So the horizon
    // card moves along its own vertical and the bank turns the whole card about the dial centre,
    // as a real attitude indicator does.
    void Sprite(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        const auto* sp = ElementAs<SpriteElement>(&e);
        const double sx = 1.0 / static_cast<double>(sp->texture_scale_x);
        const double sy = 1.0 / static_cast<double>(sp->texture_scale_y);
        // A scale of 0 or one that is not a number has no size to draw at; one so small that the
        // picture would be enormous, or so large that it vanishes, draws nothing either.
        auto drawable = [](double f) { return std::isfinite(f) && std::fabs(f) >= kMinTextureFactor && std::fabs(f) <= kMaxTextureFactor; };
        if (!drawable(sx) || !drawable(sy)) return;
        const Bitmap* b = Lookup(e.bitmap_id);
        if (b == nullptr) return;
        const int32_t companion_id = e.bitmap_id == INT32_MAX ? -1 : e.bitmap_id + 1;
        const Bitmap* companion = companion_id >= 0 ? Lookup(companion_id) : nullptr;
        const double centre_x = static_cast<double>(e.x) + e.offset_x;
        const double centre_y = static_cast<double>(e.y) + e.offset_y;
        const Affine t = Affine::Translate(-b->width / 2.0, -b->height / 2.0)
                             .Then(Affine::Scale(sx, sy))
                             .Then(Affine::Translate(Shift(s.shift_x), -Shift(s.shift_y)))
                             .Then(Affine::Rotate(Degrees(s.rotation)))
                             .Then(Affine::Translate(centre_x, centre_y));
        AddBitmap(i, e, e.bitmap_id, b, t, companion_id, companion, Affine::Translate(e.x, e.y));
    }

    // The box filled with the back colour, the text in the fore colour at the largest size at
    // which the box's character count fits, placed by the format flags.
    void Text(int32_t i, const ElementHeader& e, const host::ElementState& s) {
        const auto* se = ElementAs<StringElement>(&e);
        const Rect box = Affine::Translate(e.x, e.y).Then(to_panel_).MapBounds(se->box_width, se->box_height);
        if (!box.Intersects(out_.clip)) return;
        DrawCommand& c = out_.commands.emplace_back();
        c.kind = CommandKind::kText;
        c.element = i;
        TextDraw& t = c.text;
        t.box = box;
        const size_t length = ToUtf8(s.text, sizeof s.text, t.text, sizeof t.text);
        ToUtf8(se->font_face, kFontFaceSize, t.font_face, sizeof t.font_face);
        t.font_weight = se->font_weight;
        t.fore_rgb = BgrToRgb(se->fore_color);
        t.back_rgb = BgrToRgb(se->back_color);
        t.format_flags = se->format_flags;

        const double cells = static_cast<double>(std::max<size_t>({se->char_count, length, 1}));
        // A glyph larger than any panel is a wild box, not a wish: keep the rasteriser's work bounded.
        t.font_size = std::min({box.height / (kFontAscent + kFontDescent), box.width / (cells * kFontAdvance), kMaxFontSize});
        const double text_width = static_cast<double>(length) * kFontAdvance * t.font_size;
        const double line = (kFontAscent + kFontDescent) * t.font_size;
        const uint32_t f = se->format_flags;
        if (f & kTextCenter) t.origin.x = box.x + (box.width - text_width) / 2;
        else if (f & 0x2) t.origin.x = box.x + box.width - text_width;  // right-aligned
        else t.origin.x = box.x;
        // Vertical placement applies to single-line boxes only, as with the platform's own texts.
        if ((f & kTextSingleLine) && (f & kTextVCenter)) t.origin.y = box.y + (box.height - line) / 2 + kFontAscent * t.font_size;
        else if ((f & kTextSingleLine) && (f & 0x8)) t.origin.y = box.y + box.height - kFontDescent * t.font_size;
        else t.origin.y = box.y + kFontAscent * t.font_size;
    }

private:
    Affine to_panel_;
    const ModuleBitmaps& bitmaps_;
    DisplayList& out_;
};

const ElementHeader* RootOf(const GaugeHeader& gauge) {
    return gauge.elements != nullptr ? gauge.elements[0] : nullptr;
}

}  // namespace

bool RootSize(const GaugeHeader& gauge, const ModuleBitmaps& bitmaps, int& width, int& height) {
    const ElementHeader* root = RootOf(gauge);
    if (root == nullptr) return false;
    const Bitmap* b = bitmaps.Find(root->bitmap_id);
    if (b == nullptr) return false;
    width = b->width;
    height = b->height;
    return true;
}

Affine PlacementTransform(double x, double y, double width, double height, int root_width, int root_height,
                          double scale) {
    const double sx = (width > 0 && root_width > 0) ? width / root_width : 1.0;
    const double sy = (height > 0 && root_height > 0) ? height / root_height : 1.0;
    return Affine::Scale(sx, sy).Then(Affine::Translate(x, y)).Then(Affine::Scale(scale, scale));
}

void BuildDisplayList(const GaugeHeader& gauge, std::span<const host::ElementState> states,
                      const Affine& gauge_to_panel, const ModuleBitmaps& bitmaps, DisplayList& out,
                      FreezeMemory* freeze) {
    out.Clear();
    // A transform that is not finite or that flattens everything draws nothing.
    if (!gauge_to_panel.Finite() || !(std::fabs(gauge_to_panel.Determinant()) > 0)) return;
    int root_w = 0, root_h = 0;
    if (RootSize(gauge, bitmaps, root_w, root_h)) {
        out.clip = gauge_to_panel.MapBounds(root_w, root_h);
    } else if (const ElementHeader* root = RootOf(gauge)) {
        out.missing_bitmaps.push_back(root->bitmap_id);
    }

    if (freeze != nullptr && freeze->last.size() != states.size()) {
        freeze->last.assign(states.size(), host::ElementState{});
        freeze->valid.assign(states.size(), 0);
    }

    Builder build(gauge_to_panel, bitmaps, out);
    for (size_t n = 0; n < states.size(); ++n) {
        const host::ElementState* s = &states[n];
        if (freeze != nullptr) {
            if (freeze->valid[n] && freeze->last[n].element != s->element) freeze->valid[n] = 0;
            if (s->frozen && freeze->valid[n]) {
                s = &freeze->last[n];
            } else {
                freeze->last[n] = *s;
                freeze->valid[n] = 1;
            }
        }
        // Visibility is always today's: a hidden element is not drawn, frozen or not. Its children
        // carry their own failure records and are drawn by their own state.
        if (!states[n].visible || s->element == nullptr) continue;
        const ElementHeader& e = *s->element;
        const auto i = static_cast<int32_t>(n);
        switch (e.kind) {
            case kStaticImage: build.Static(i, e); break;
            case kNeedle: build.Needle(i, e, *s); break;
            case kString: build.Text(i, e, *s); break;
            case kSlider: build.Slider(i, e, *s); break;
            case kIcon: build.Icon(i, e, *s); break;
            case kMovingImage: build.Strip(i, e, *s); break;
            case kSprite: build.Sprite(i, e, *s); break;
            default: break;  // a kind we do not know draws nothing
        }
    }
}

}  // namespace render
