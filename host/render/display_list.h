// The display list: what one gauge instance draws, in draw order, in panel pixels.
//
// This is the one place where geometry is decided. Backends (Cairo here, a canvas in the browser)
// only rasterise the commands: a bitmap through an affine transform, optionally seen through a
// companion's window, or a text box. The structs are plain data, so a front end can turn them into
// JSON field by field; docs/rendering.md gives the meaning of every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "affine.h"
#include "bitmaps.h"
#include "element_state.h"
#include "gauge.h"

namespace render {

enum class CommandKind : uint8_t { kBitmap = 0, kText = 1 };

struct BitmapDraw {
    int32_t bitmap_id = -1;
    const Bitmap* bitmap = nullptr;  // decoded picture; never null in a built list
    Affine transform;                // bitmap pixels -> panel pixels
    bool color_key = false;          // image flag 0x1: draw the keyed picture, else the opaque one
    bool smooth = false;             // filtered sampling; false when the transform is a whole-pixel shift
    // Sprites and moving strips: the companion (bitmap id + 1). The picture is seen only through
    // the companion's (1,1,1) window, then the companion's overlay is drawn over it.
    int32_t companion_id = -1;
    const Bitmap* companion = nullptr;
    Affine companion_transform;  // companion pixels -> panel pixels
    bool operator==(const BitmapDraw&) const = default;
};

inline constexpr size_t kTextBytes = 2 * sizeof(host::ElementState::text) + 1;  // UTF-8 of 8-bit text
inline constexpr size_t kFaceBytes = 2 * kFontFaceSize + 1;

struct TextDraw {
    Rect box;                      // panel pixels; filled with back_rgb, the text clipped to it
    char text[kTextBytes] = {};    // UTF-8, zero-terminated
    char font_face[kFaceBytes] = {};
    uint32_t font_weight = 400;    // 100..900; 600 and above draw bold
    uint32_t fore_rgb = 0;         // 0xRRGGBB
    uint32_t back_rgb = 0;
    uint32_t format_flags = 0;     // as in the record
    double font_size = 0;          // em size in panel pixels
    Point origin;                  // start of the baseline, panel pixels
    bool operator==(const TextDraw&) const = default;
};

struct DrawCommand {
    CommandKind kind = CommandKind::kBitmap;
    int32_t element = -1;  // index of the element in the state array
    BitmapDraw bitmap;     // kind kBitmap
    TextDraw text;         // kind kText
    bool operator==(const DrawCommand&) const = default;
};

struct DisplayList {
    Rect clip;  // the gauge's root rectangle in panel pixels; nothing is drawn outside it
    std::vector<DrawCommand> commands;
    // Bitmap ids that an element (or a sprite's or strip's companion) named and the module lacks.
    std::vector<int32_t> missing_bitmaps;

    void Clear() {
        clip = {};
        commands.clear();
        missing_bitmaps.clear();
    }
    bool operator==(const DisplayList&) const = default;
};

// What a frozen element showed last: its state as last drawn. One per instance, kept by the
// caller between updates; BuildDisplayList reads and refreshes it.
struct FreezeMemory {
    std::vector<host::ElementState> last;
    std::vector<uint8_t> valid;
    void Clear() {
        last.clear();
        valid.clear();
    }
};

// The translation and scale from gauge pixels to panel pixels for a gauge whose root is
// root_width x root_height, placed at (x, y) with the given size (0 or less: the root size), the
// whole panel drawn at `scale`.
Affine PlacementTransform(double x, double y, double width, double height, int root_width, int root_height,
                          double scale);

// Builds the commands of one gauge instance into `out` (its storage is reused: steady-state updates
// allocate nothing). `states` are the runtime's element states in draw order, parents before their
// children. `freeze` may be null; with it, frozen elements keep the picture they showed last.
void BuildDisplayList(const GaugeHeader& gauge, std::span<const host::ElementState> states,
                      const Affine& gauge_to_panel, const ModuleBitmaps& bitmaps, DisplayList& out,
                      FreezeMemory* freeze = nullptr);

// Size of a gauge's root bitmap, or false if the gauge has no root or the module lacks its bitmap.
bool RootSize(const GaugeHeader& gauge, const ModuleBitmaps& bitmaps, int& width, int& height);

// Font metrics used to fit text: "Courier New" and its metric twin Liberation Mono.
inline constexpr double kFontAdvance = 1229.0 / 2048.0;  // advance of every glyph, in em
inline constexpr double kFontAscent = 1705.0 / 2048.0;
inline constexpr double kFontDescent = 615.0 / 2048.0;

}  // namespace render
