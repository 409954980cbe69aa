// Turned and scaled pictures composited straight into an ARGB32 image, bilinear, without Cairo.
//
// pixman samples a rotated picture bilinearly in generic C at 10 to 15 ns a pixel; the attitude
// indicator alone turns two 250-pixel-wide pictures every frame, which made it half the cost of a
// full redraw. This does the same sampling (each image pixel centre mapped back into the picture,
// the four nearest texels weighted, see-through outside the picture) and the OVER compositing in
// a few nanoseconds a pixel, and only over the pixels the picture can reach.
#pragma once

#include <cstdint>

#include "affine.h"

namespace render {

// A premultiplied ARGB32 picture or image, rows `stride` bytes apart.
struct PixelsArgb {
    uint32_t* data = nullptr;
    int width = 0, height = 0, stride = 0;
};
// An A8 mask placed with its top-left at (x, y) image pixels; only its `box` (mask pixels) counts,
// and outside that box nothing is drawn.
struct MaskA8 {
    const uint8_t* data = nullptr;
    int stride = 0;
    int x = 0, y = 0;
    int box_x = 0, box_y = 0, box_width = 0, box_height = 0;
};
struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// True if the sampler takes this transform (picture pixels -> image pixels): finite, invertible,
// and neither shrinking a picture below a 1/256 nor blowing it up beyond 256 times, where Cairo's
// own path stays in charge.
bool SamplerTakes(const Affine& picture_to_image);

// Draws `picture` through `transform` OVER `image`, only inside `area` (image pixels, within the
// image) and, with a mask, where the mask lets it through. Each image pixel's result depends only
// on its own position, never on the area: drawing a picture in pieces gives the same pixels as
// drawing it whole. Requires SamplerTakes(transform).
void DrawBilinear(const PixelsArgb& picture, const Affine& transform, const MaskA8* mask, PixelBox area,
                  const PixelsArgb& image);

}  // namespace render
