// Hit-testing of a gauge's MouseArea list: which child takes a press, which parent gives the
// tooltip. Boxes include their left and top edge and exclude their right and bottom edge; where
// child boxes overlap, the first in list order wins.
#pragma once

#include <cstdint>

#include "gauge.h"

namespace host {

// A list is read to this many records at most, end record or not.
inline constexpr size_t kMaxMouseRecords = 256;

struct MouseHit {
    const MouseArea* child = nullptr;    // takes a press at the point
    const MouseArea* parent = nullptr;   // gives the tooltip at the point (help id or record)
    const MouseArea* tooltip = nullptr;  // the tooltip record inside that parent, if any
};

// `width` and `height` are the gauge's pixel size: a parent box of (0, 0, 0, 0) stands for the
// box that encloses it, the whole gauge for the top parent.
MouseHit HitTest(const MouseArea* list, int32_t x, int32_t y, int32_t width, int32_t height);

// The host's mouse repeat for children with the repeat flag, counted in host updates so that it is
// the same in every run: first repeat 300 ms after the press, then every 100 ms (10 per second).
inline constexpr int64_t kRepeatDelayMs = 300;
inline constexpr int64_t kRepeatIntervalMs = 100;

}  // namespace host
