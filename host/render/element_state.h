// The state of one element after a gauge update: what the runtime computed and what the display
// list draws. Plain data, no allocation; one per element of an installed gauge instance, in draw
// order (depth first, parent before its children).
#pragma once

#include <cstdint>

#include "gauge.h"

namespace host {

struct ElementState {
    ElementHeader* element = nullptr;  // the record
    int32_t parent = -1;               // index of the parent's state, -1 for the root
    double value = 0;                  // after the callback (first axis for sliders, sprites, strips)
    bool visible = true;               // false: a failure hides it (action 3)
    bool frozen = false;               // a failure freezes it (action 1): shows what it showed
    // Needles: degrees clockwise from straight up, as shown (after the turn limit), and where
    // the value points.
    double angle = 0;
    double target_angle = 0;
    // Icons: the index within the run, clamped to it.
    int32_t index = 0;
    // Sliders and sprites: the channel products, value x scale per axis, in gauge pixels, and
    // for sprites rotation value x rotation scale, in degrees. Stored as computed: which way a
    // product moves or turns the picture on screen is the display list's decision (sliders: x
    // right, y down; sprites: x right, y up, turn clockwise; see docs/rendering.md).
    double shift_x = 0;
    double shift_y = 0;
    double rotation = 0;
    // Moving images: the axis values, clamped to their minimum and maximum.
    double strip_x = 0;
    double strip_y = 0;
    // Text boxes: the text as drawn (the host's buffer, always terminated).
    char text[64] = {};
    // The other axes' values after their callbacks: y of sliders, strips and sprites, and the
    // sprite's rotation value (before its scale).
    double value_y = 0;
    double value_rotation = 0;
};

}  // namespace host
