// A module's bitmaps, decoded once into Cairo image surfaces ready to draw.
//
// Every bitmap gets its pictures at load time, so that drawing a frame never decodes or converts:
//   keyed    pure black (0,0,0) see-through (image flag 0x1); near-black such as (1,1,1) or
//            (8,8,8) stays opaque. Premultiplied ARGB, as Cairo wants it.
//   opaque   as decoded; the same surface as `keyed` when the picture has no pure black.
//   window   only for pictures that hold (1,1,1) pixels: an A8 mask, opaque exactly where the
//            picture is (1,1,1). A sprite or a moving strip shows through its companion's window.
//   overlay  with `window`: the keyed picture with (1,1,1) see-through as well; drawn over the
//            sprite or strip, so the frame around the window covers it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module.h"

typedef struct _cairo_surface cairo_surface_t;

namespace render {

struct Bitmap {
    int32_t id = 0;
    int width = 0;
    int height = 0;
    cairo_surface_t* keyed = nullptr;
    cairo_surface_t* opaque = nullptr;
    cairo_surface_t* window = nullptr;
    cairo_surface_t* overlay = nullptr;
    // The smallest pixel rectangle that holds the window, in bitmap pixels (0,0,0,0 without one).
    // Sprites are composited only there: rotated sampling is the costly part of a frame.
    int window_x = 0, window_y = 0, window_width = 0, window_height = 0;
    // Every pixel of every picture is either fully see-through or opaque (true of all but 32-bit
    // files with partial alpha): drawing such a picture twice in the same place changes nothing.
    bool all_or_nothing = false;
    // With a window: the id of the first bitmap of the module with the same overlay and window
    // (its own id if none). The attitude indicator's pictures each name their own copy of one bezel.
    int32_t overlay_twin = 0;
};

// Which of a bitmap's pictures, for export (the browser draws from these).
enum class BitmapVariant { kKeyed, kOpaque, kWindow, kOverlay };

class ModuleBitmaps {
public:
    ModuleBitmaps() = default;
    ~ModuleBitmaps();
    ModuleBitmaps(const ModuleBitmaps&) = delete;
    ModuleBitmaps& operator=(const ModuleBitmaps&) = delete;
    ModuleBitmaps(ModuleBitmaps&& other) noexcept;
    ModuleBitmaps& operator=(ModuleBitmaps&& other) noexcept;

    // Decodes every bitmap of the table (uncompressed BMP; the panels use 4, 8 and 24 bits per
    // pixel). A bitmap that does not decode is left out and named in the error, and the others
    // are kept: one bad picture does not blank a whole module. Returns false if any bitmap
    // failed. Replaces what was loaded.
    bool Load(const BitmapTable& table, std::string* error);
    // Decodes one BMP file's bytes and adds it under `id` (tests, tools). False with a message if
    // the bytes are not a picture we can use.
    bool Add(int32_t id, const unsigned char* bytes, size_t size, std::string* error);

    // The decoded bitmap, or nullptr if the module has none with that id.
    const Bitmap* Find(int32_t id) const;
    size_t Count() const { return bitmaps_.size(); }
    const std::vector<Bitmap>& All() const { return bitmaps_; }

    // PNG bytes of one picture of a bitmap (for the browser, which draws the same display list).
    // False if the bitmap or that picture does not exist.
    bool EncodePng(int32_t id, BitmapVariant variant, std::vector<unsigned char>& out) const;

    // Pictures larger than this on either side are refused: no panel picture comes near it, and
    // a corrupt header must not make us allocate gigabytes.
    static constexpr int kMaxSide = 8192;

private:
    void Clear();
    std::vector<Bitmap> bitmaps_;  // sorted by id
};

}  // namespace render
