#include "render.h"

#include "sampler.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace render {

namespace {

constexpr size_t kMaxDirtyRects = 16;

cairo_matrix_t ToCairo(const Affine& a) { return cairo_matrix_t{a.xx, a.yx, a.xy, a.yy, a.x0, a.y0}; }

void SetRgb(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// Text is laid out from the fonts' design metrics (display_list.cpp), so glyphs must advance by
// exactly those metrics: no hinting that rounds advances to whole pixels.
const cairo_font_options_t* TextOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return o;
    }();
    return options;
}

bool IntegerTranslation(const cairo_matrix_t& m) {
    return m.xx == 1 && m.yy == 1 && m.xy == 0 && m.yx == 0 && m.x0 == std::floor(m.x0) && m.y0 == std::floor(m.y0) &&
           std::fabs(m.x0) < 1e7 && std::fabs(m.y0) < 1e7;
}

PixelsArgb Pixels(cairo_surface_t* s) {
    return {reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s)), cairo_image_surface_get_width(s),
            cairo_image_surface_get_height(s), cairo_image_surface_get_stride(s)};
}

// The turned or scaled picture of a bitmap command drawn by our own sampler instead of pixman
// (sampler.h says why), where it can: an image target, the area known in whole pixels and a
// companion window that lies on whole pixels. False: Cairo must draw it.
bool DrawSmoothPicture(cairo_t* cr, const BitmapDraw& d, const PixelBox* area) {
    if (area == nullptr || !d.smooth || !SamplerTakes(d.transform)) return false;
    MaskA8 mask;
    if (d.companion != nullptr) {
        const cairo_matrix_t cm = ToCairo(d.companion_transform);
        if (d.companion->window == nullptr || !IntegerTranslation(cm)) return false;
        cairo_surface_t* w = d.companion->window;
        cairo_surface_flush(w);
        mask = {cairo_image_surface_get_data(w), cairo_image_surface_get_stride(w), static_cast<int>(cm.x0),
                static_cast<int>(cm.y0), d.companion->window_x, d.companion->window_y, d.companion->window_width,
                d.companion->window_height};
    }
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_t* picture = d.color_key ? d.bitmap->keyed : d.bitmap->opaque;
    cairo_surface_flush(target);
    DrawBilinear(Pixels(picture), d.transform, d.companion != nullptr ? &mask : nullptr, *area, Pixels(target));
    cairo_surface_mark_dirty_rectangle(target, area->x, area->y, area->width, area->height);
    return true;
}

// True if command `d`'s companion overlay may be left to `next`: both are seen through the same
// window at the same whole-pixel place. Each such picture changes only pixels of the window, where
// the overlay is see-through, so the overlay commutes with them; and an all-or-nothing overlay
// drawn twice in one place is the same as drawn once. (The attitude indicator turns two pictures
// and moves a third behind one bezel.) Only with the sampler: DrawDisplayList stays plain Cairo.
bool OverlayLeftToNext(const BitmapDraw& d, const DrawCommand* next) {
    if (next == nullptr || next->kind != CommandKind::kBitmap || d.companion == nullptr) return false;
    const BitmapDraw& n = next->bitmap;
    return n.bitmap != nullptr && n.companion != nullptr && d.companion->window != nullptr &&
           n.companion->window != nullptr && n.companion->overlay_twin == d.companion->overlay_twin &&
           n.companion_transform == d.companion_transform && d.companion->all_or_nothing &&
           IntegerTranslation(ToCairo(d.companion_transform));
}

// `area`, when given, is the whole-pixel rectangle the context is clipped to, on an ARGB32 image
// target in image pixels: then turned pictures may take the fast sampler. `overlay` false: the
// companion's overlay is left to the next command (OverlayLeftToNext).
void DrawBitmap(cairo_t* cr, const BitmapDraw& d, const PixelBox* area, bool overlay = true) {
    if (d.bitmap == nullptr) return;
    const cairo_filter_t filter = d.smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST;
    cairo_surface_t* picture = d.color_key ? d.bitmap->keyed : d.bitmap->opaque;
    const cairo_matrix_t m = ToCairo(d.transform);
    const bool drawn = DrawSmoothPicture(cr, d, area);
    cairo_save(cr);
    if (d.companion == nullptr) {
        if (!drawn) {
            cairo_set_matrix(cr, &m);
            cairo_set_source_surface(cr, picture, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), filter);
            cairo_paint(cr);
        }
        cairo_restore(cr);
        return;
    }
    // Seen only through the companion's (1,1,1) window; the rest of the companion covers it.
    const cairo_matrix_t cm = ToCairo(d.companion_transform);
    const cairo_filter_t companion_filter = IntegerTranslation(cm) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR;
    if (!drawn && d.companion->window != nullptr) {
        cairo_set_matrix(cr, &m);
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), filter);
        cairo_set_matrix(cr, &cm);
        cairo_save(cr);
        cairo_rectangle(cr, d.companion->window_x, d.companion->window_y, d.companion->window_width,
                        d.companion->window_height);
        cairo_clip(cr);
        cairo_pattern_t* mask = cairo_pattern_create_for_surface(d.companion->window);
        cairo_pattern_set_filter(mask, companion_filter);
        cairo_mask(cr, mask);
        cairo_pattern_destroy(mask);
        cairo_restore(cr);
    }
    if (!overlay) {
        cairo_restore(cr);
        return;
    }
    cairo_set_matrix(cr, &cm);
    cairo_set_source_surface(cr, d.companion->overlay != nullptr ? d.companion->overlay : d.companion->keyed, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), companion_filter);
    cairo_paint(cr);
    cairo_restore(cr);
}

// Coordinates beyond this are off any image we make; Cairo's fixed-point numbers would wrap.
constexpr double kFarAway = 1.0e6;

void DrawText(cairo_t* cr, const TextDraw& t, const Rect& clip) {
    // Only the part of the box on the gauge is filled (a box may be far larger than the gauge).
    const Rect visible = t.box.Intersection(clip);
    if (visible.Empty()) return;
    cairo_save(cr);
    cairo_rectangle(cr, visible.x, visible.y, visible.width, visible.height);
    SetRgb(cr, t.back_rgb);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    if (t.text[0] != '\0' && t.font_size > 0 && std::isfinite(t.font_size) && std::fabs(t.origin.x) < kFarAway &&
        std::fabs(t.origin.y) < kFarAway) {
        cairo_set_font_options(cr, TextOptions());
        cairo_select_font_face(cr, t.font_face[0] != '\0' ? t.font_face : "monospace", CAIRO_FONT_SLANT_NORMAL,
                               t.font_weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, t.font_size);
        SetRgb(cr, t.fore_rgb);
        cairo_move_to(cr, t.origin.x, t.origin.y);
        cairo_show_text(cr, t.text);
    }
    cairo_restore(cr);
}

bool CheckSpec(const WindowSpec& layout, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    if (!(layout.scale > 0 && layout.scale <= kMaxScale))
        return fail("scale must be above 0 and at most " + std::to_string(static_cast<int>(kMaxScale)));
    if (layout.width <= 0 || layout.height <= 0) return fail("window size must be positive");
    const double w = std::ceil(layout.width * layout.scale), h = std::ceil(layout.height * layout.scale);
    if (w > kMaxImageSide || h > kMaxImageSide)
        return fail("image would be larger than " + std::to_string(kMaxImageSide) + " pixels on a side");
    return true;
}

void ReadSurface(cairo_surface_t* s, Image& out) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    out.width = w;
    out.height = h;
    out.rgba.resize(static_cast<size_t>(w) * h * 4);
    uint8_t* o = out.rgba.data();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x, o += 4) {
            const uint32_t p = row[x], a = p >> 24;
            uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a != 0 && a != 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
            }
            o[0] = static_cast<uint8_t>(r > 255 ? 255 : r);
            o[1] = static_cast<uint8_t>(g > 255 ? 255 : g);
            o[2] = static_cast<uint8_t>(b > 255 ? 255 : b);
            o[3] = static_cast<uint8_t>(a);
        }
    }
}

bool WriteSurfacePng(cairo_surface_t* s, const std::string& path, std::string* error) {
    const cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

// The gauge-to-image transform of an instance, or false if the module lacks the root bitmap.
Affine InstanceTransform(const InstanceInput& in, double scale, bool at_origin) {
    int rw = 0, rh = 0;
    if (in.gauge == nullptr || in.bitmaps == nullptr || !RootSize(*in.gauge, *in.bitmaps, rw, rh)) rw = rh = 0;
    return PlacementTransform(at_origin ? 0 : in.placement.x, at_origin ? 0 : in.placement.y, in.placement.width,
                              in.placement.height, rw, rh, scale);
}

void Build(const InstanceInput& in, double scale, bool at_origin, DisplayList& out, FreezeMemory* freeze) {
    if (in.gauge == nullptr || in.bitmaps == nullptr) {
        out.Clear();
        return;
    }
    BuildDisplayList(*in.gauge, in.states, InstanceTransform(in, scale, at_origin), *in.bitmaps, out, freeze);
}

// Draws commands [from, to) of a list (to past the end: all the rest).
void DrawList(cairo_t* cr, const DisplayList& list, const PixelBox* area, size_t from = 0, size_t to = SIZE_MAX) {
    if (list.clip.Empty()) return;
    // The sampler takes whole pixels only: a gauge placed on fractional pixels is Cairo's.
    PixelBox box;
    const bool whole = list.clip.OutwardToPixels() == list.clip;
    if (area != nullptr && whole) {
        // Intersected in doubles first: a clip far off the image would not fit an int.
        const Rect on = list.clip.Intersection(
            {static_cast<double>(area->x), static_cast<double>(area->y), static_cast<double>(area->width),
             static_cast<double>(area->height)});
        if (on.Empty()) return;
        box = {static_cast<int>(on.x), static_cast<int>(on.y), static_cast<int>(on.width), static_cast<int>(on.height)};
    }
    const PixelBox* fast = area != nullptr && whole ? &box : nullptr;
    cairo_save(cr);
    cairo_rectangle(cr, list.clip.x, list.clip.y, list.clip.width, list.clip.height);
    cairo_clip(cr);
    to = std::min(to, list.commands.size());
    for (size_t i = from; i < to; ++i) {
        const DrawCommand& c = list.commands[i];
        if (c.kind == CommandKind::kBitmap)
            DrawBitmap(cr, c.bitmap, fast,
                       fast == nullptr || !OverlayLeftToNext(c.bitmap, i + 1 < to ? &list.commands[i + 1] : nullptr));
        else DrawText(cr, c.text, list.clip);
    }
    cairo_restore(cr);
}

// The list's first command, if it is its root picture drawn plainly (not through a companion).
const BitmapDraw* RootPicture(const DisplayList& list) {
    if (list.commands.empty() || list.clip.Empty()) return nullptr;
    const DrawCommand& c = list.commands.front();
    if (c.kind != CommandKind::kBitmap || c.element != 0 || c.bitmap.companion != nullptr) return nullptr;
    return &c.bitmap;
}

void Fill(cairo_t* cr, const WindowSpec& layout) {
    if (layout.transparent) {
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    } else {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        SetRgb(cr, layout.background_rgb);
    }
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

}  // namespace

void DrawDisplayList(cairo_t* cr, const DisplayList& list) { DrawList(cr, list, nullptr); }

WindowRenderer::WindowRenderer() { dirty_.reserve(kMaxDirtyRects + 1); }

WindowRenderer::~WindowRenderer() {
    if (cr_ != nullptr) cairo_destroy(cr_);
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    if (base_cr_ != nullptr) cairo_destroy(base_cr_);
    if (base_ != nullptr) cairo_surface_destroy(base_);
}

bool WindowRenderer::Configure(const WindowSpec& layout, std::string* error) {
    if (!CheckSpec(layout, error)) return false;
    const int w = static_cast<int>(std::ceil(layout.width * layout.scale));
    const int h = static_cast<int>(std::ceil(layout.height * layout.scale));
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        if (error) *error = "out of memory for a " + std::to_string(w) + "x" + std::to_string(h) + " image";
        return false;
    }
    if (cr_ != nullptr) cairo_destroy(cr_);
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = s;
    cr_ = cairo_create(s);
    if (base_cr_ != nullptr) cairo_destroy(base_cr_);
    if (base_ != nullptr) cairo_surface_destroy(base_);
    base_cr_ = nullptr;
    base_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(base_) == CAIRO_STATUS_SUCCESS) {
        base_cr_ = cairo_create(base_);
    } else {  // a window without a base only draws more each frame
        cairo_surface_destroy(base_);
        base_ = nullptr;
    }
    base_valid_ = false;
    spec_ = layout;
    for (Slot& slot : slots_) {
        slot.built = false;
        slot.in_base = false;
        slot.freeze.Clear();
    }
    full_redraw_ = true;
    return true;
}

int WindowRenderer::Width() const { return surface_ ? cairo_image_surface_get_width(surface_) : 0; }
int WindowRenderer::Height() const { return surface_ ? cairo_image_surface_get_height(surface_) : 0; }

void WindowRenderer::AddDirty(const Rect& r) {
    Rect grown = r.OutwardToPixels();
    if (grown.Empty()) return;
    // Merge with every rectangle it touches, so that no pixel is drawn twice in one update.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < dirty_.size(); ++i) {
            if (dirty_[i].Intersects(grown)) {
                grown = grown.Union(dirty_[i]);
                dirty_[i] = dirty_.back();
                dirty_.pop_back();
                merged = true;
                break;
            }
        }
    }
    if (dirty_.size() == kMaxDirtyRects) {
        for (const Rect& d : dirty_) grown = grown.Union(d);
        dirty_.clear();
    }
    dirty_.push_back(grown);
}

// A root goes into the base only if no earlier instance that it overlaps draws anything live: those
// parts would have to lie under it. (Later instances are drawn over it anyway.) The base is recomposed (and everything redrawn) when the
// set of such roots or any of their commands changed.
void WindowRenderer::RefreshBase() {
    if (base_ == nullptr) return;
    bool changed = !base_valid_;
    for (size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        const BitmapDraw* root = RootPicture(slot.current);
        slot.base_next = root != nullptr;
        for (size_t j = 0; j < i && slot.base_next; ++j)
            if (slots_[j].current.clip.Intersects(slot.current.clip) &&
                !(slots_[j].base_next && slots_[j].current.commands.size() == 1))
                slot.base_next = false;
        if (slot.base_next != slot.in_base || (slot.base_next && !(*root == slot.base_root))) changed = true;
    }
    if (!changed) return;
    const PixelBox whole{0, 0, Width(), Height()};
    Fill(base_cr_, spec_);
    for (Slot& slot : slots_) {
        slot.in_base = slot.base_next;
        if (!slot.in_base) continue;
        slot.base_root = *RootPicture(slot.current);
        DrawList(base_cr_, slot.current, &whole, 0, 1);
    }
    cairo_surface_flush(base_);
    base_valid_ = true;
    full_redraw_ = true;
}

size_t WindowRenderer::Update(std::span<const InstanceInput> instances) {
    if (cr_ == nullptr) return 0;
    if (slots_.size() != instances.size()) {
        slots_.resize(instances.size());
        full_redraw_ = true;
        base_valid_ = false;  // a root of a slot now gone may be in it
    }
    dirty_.clear();
    for (size_t i = 0; i < instances.size(); ++i) {
        Slot& slot = slots_[i];
        if (slot.gauge != instances[i].gauge) {
            slot.gauge = instances[i].gauge;
            slot.freeze.Clear();
            slot.built = false;
        }
        Build(instances[i], spec_.scale, false, slot.next, &slot.freeze);
        if (!slot.built || !(slot.next == slot.current)) {
            if (slot.built) AddDirty(slot.current.clip);
            AddDirty(slot.next.clip);
        }
        std::swap(slot.current, slot.next);
        slot.built = true;
    }
    RefreshBase();
    const Rect image{0, 0, static_cast<double>(Width()), static_cast<double>(Height())};
    if (full_redraw_) {
        dirty_.clear();
        dirty_.push_back(image);
        full_redraw_ = false;
    }
    size_t drawn = 0;
    for (const Rect& d : dirty_) {
        const Rect area = d.Intersection(image);
        if (area.Empty()) continue;
        cairo_save(cr_);
        cairo_rectangle(cr_, area.x, area.y, area.width, area.height);
        cairo_clip(cr_);
        if (base_valid_) {
            // A plain copy: Cairo's SOURCE paint of the same took half as long again.
            const PixelBox b{static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width),
                             static_cast<int>(area.height)};
            cairo_surface_flush(surface_);
            const PixelsArgb from = Pixels(base_), to = Pixels(surface_);
            if (b.x == 0 && b.width * 4 == to.stride && to.stride == from.stride)  // whole rows: one block
                std::memcpy(reinterpret_cast<uint8_t*>(to.data) + static_cast<ptrdiff_t>(b.y) * to.stride,
                            reinterpret_cast<const uint8_t*>(from.data) + static_cast<ptrdiff_t>(b.y) * from.stride,
                            static_cast<size_t>(b.height) * static_cast<size_t>(to.stride));
            else
                for (int y = b.y; y < b.y + b.height; ++y)
                    std::memcpy(reinterpret_cast<uint8_t*>(to.data) + static_cast<ptrdiff_t>(y) * to.stride + b.x * 4,
                                reinterpret_cast<const uint8_t*>(from.data) + static_cast<ptrdiff_t>(y) * from.stride +
                                    b.x * 4,
                                static_cast<size_t>(b.width) * 4);
            cairo_surface_mark_dirty_rectangle(surface_, b.x, b.y, b.width, b.height);
        } else {
            Fill(cr_, spec_);
        }
        const PixelBox box{static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width),
                           static_cast<int>(area.height)};
        for (const Slot& slot : slots_) {
            if (!slot.current.clip.Intersects(area)) continue;
            DrawList(cr_, slot.current, &box, base_valid_ && slot.in_base ? 1 : 0);
            ++drawn;
        }
        cairo_restore(cr_);
    }
    dirty_.clear();
    cairo_surface_flush(surface_);
    return drawn;
}

void WindowRenderer::ReadRgba(Image& out) const {
    if (surface_ == nullptr) {
        out = Image{};
        return;
    }
    ReadSurface(surface_, out);
}

bool WindowRenderer::WritePng(const std::string& path, std::string* error) const {
    if (surface_ == nullptr) {
        if (error) *error = "nothing rendered yet";
        return false;
    }
    return WriteSurfacePng(surface_, path, error);
}

bool RenderWindow(std::span<const InstanceInput> instances, const WindowSpec& layout, Image& out, std::string* error) {
    WindowRenderer r;
    if (!r.Configure(layout, error)) return false;
    r.Update(instances);
    r.ReadRgba(out);
    return true;
}

bool RenderInstance(const InstanceInput& instance, double scale, Image& out, std::string* error) {
    int rw = 0, rh = 0;
    if (instance.gauge == nullptr || instance.bitmaps == nullptr ||
        !RootSize(*instance.gauge, *instance.bitmaps, rw, rh)) {
        if (error) *error = "the gauge's root bitmap is missing";
        return false;
    }
    WindowSpec layout;
    layout.width = static_cast<int>(std::ceil(instance.placement.width > 0 ? instance.placement.width : rw));
    layout.height = static_cast<int>(std::ceil(instance.placement.height > 0 ? instance.placement.height : rh));
    layout.scale = scale;
    layout.transparent = true;
    if (!CheckSpec(layout, error)) return false;
    InstanceInput at_origin = instance;
    at_origin.placement.x = 0;
    at_origin.placement.y = 0;
    return RenderWindow(std::span<const InstanceInput>(&at_origin, 1), layout, out, error);
}

bool WritePng(const Image& image, const std::string& path, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        if (error) *error = "image is empty or its buffer does not match its size";
        return false;
    }
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        if (error) *error = "out of memory";
        return false;
    }
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* in = image.rgba.data();
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x, in += 4) {
            const uint32_t a = in[3];
            const uint32_t r = (in[0] * a + 127) / 255, g = (in[1] * a + 127) / 255, b = (in[2] * a + 127) / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(s);
    const bool ok = WriteSurfacePng(s, path, error);
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace render
