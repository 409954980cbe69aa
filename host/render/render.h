// The renderer's API for the host: gauge instances -> display lists -> pixels (Cairo) -> PNG or
// an RGBA buffer. docs/rendering.md describes it with examples.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "affine.h"
#include "bitmaps.h"
#include "display_list.h"
#include "element_state.h"
#include "gauge.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace render {

// One placed gauge instance, as the runtime holds it.
struct InstanceInput {
    const GaugeHeader* gauge = nullptr;
    std::span<const host::ElementState> states;  // draw order, the root first
    const ModuleBitmaps* bitmaps = nullptr;      // the bitmaps of the gauge's module
    Rect placement;  // window pixels; a width or height of 0 takes the root bitmap's
};

inline constexpr uint32_t kPanelBackground = 0x2E3134;  // the panel's dark grey, 0xRRGGBB

struct WindowSpec {
    int width = 0;   // window pixels
    int height = 0;
    double scale = 1.0;  // image pixels per window pixel, above 0 and at most kMaxScale
    uint32_t background_rgb = kPanelBackground;
    bool transparent = false;  // leave the background see-through instead of filling it
};

inline constexpr double kMaxScale = 16.0;
inline constexpr int kMaxImageSide = 16384;

// Straight (not premultiplied) RGBA, 4 bytes a pixel, rows top to bottom, no padding.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Rasterises a display list onto a context whose user space is image pixels, clipped to the
// list's gauge rectangle. The context's state is left as it was.
void DrawDisplayList(cairo_t* cr, const DisplayList& list);

// A window's picture, kept between updates: each update rebuilds every instance's display list and
// redraws only where a list changed (the background and every instance over that area). An update
// in which nothing changed draws nothing. Steady-state updates allocate nothing in our code.
//
// The background and the root pictures of instances (all but those over an earlier instance's
// moving parts) are kept composed in a second image, the base: a redraw copies the base and draws only the moving parts.
// The base is recomposed when such a root's command changes (hidden, shown, moved, another
// picture). Pictures are known by their decoded Bitmap, so a host that replaces a module's
// bitmaps configures its windows again.
class WindowRenderer {
public:
    WindowRenderer();
    ~WindowRenderer();
    WindowRenderer(const WindowRenderer&) = delete;
    WindowRenderer& operator=(const WindowRenderer&) = delete;

    // Sizes the image; the next update redraws everything. False with a message for a size or
    // scale out of range.
    bool Configure(const WindowSpec& layout, std::string* error);
    // Returns how many instance drawings the update made (0: nothing changed).
    size_t Update(std::span<const InstanceInput> instances);
    // The next update redraws everything (unchanged roots from the base).
    void Invalidate() { full_redraw_ = true; }

    // The display list of instance i as last built, or nullptr.
    const DisplayList* List(size_t i) const { return i < slots_.size() ? &slots_[i].current : nullptr; }
    int Width() const;
    int Height() const;
    cairo_surface_t* Surface() const { return surface_; }
    void ReadRgba(Image& out) const;
    bool WritePng(const std::string& path, std::string* error) const;

private:
    struct Slot {
        const GaugeHeader* gauge = nullptr;
        DisplayList current;
        DisplayList next;
        FreezeMemory freeze;
        bool built = false;
        bool in_base = false;     // its root is composed into the base
        bool base_next = false;   // its root may be (this update's lists)
        BitmapDraw base_root;     // the root command composed into the base
    };
    void AddDirty(const Rect& r);
    void RefreshBase();

    WindowSpec spec_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    cairo_surface_t* base_ = nullptr;  // null if there was no memory for it: then no base is used
    cairo_t* base_cr_ = nullptr;
    bool base_valid_ = false;
    std::vector<Slot> slots_;
    std::vector<Rect> dirty_;
    bool full_redraw_ = true;
};

// One-shot pictures. A window: the instances in order over the background. An instance: the gauge
// alone at its placement size times `scale`, on a see-through background.
bool RenderWindow(std::span<const InstanceInput> instances, const WindowSpec& layout, Image& out, std::string* error);
bool RenderInstance(const InstanceInput& instance, double scale, Image& out, std::string* error);
bool WritePng(const Image& image, const std::string& path, std::string* error);

}  // namespace render
