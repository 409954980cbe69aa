// "Throttle": the push-pull throttle knob on its shaft. It only shows the host's throttle lever;
// the gauge has a help text and no clickable area.
//
// Both slider axes read the throttle lever: the knob slides up and to the left along the painted
// shaft, 70 pixels left and 130 up per unit, from (90, 180) at idle.
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kCollarBitmap = bitmaps::kThrottleCollar;  // friction-lock collar and shaft
constexpr int32_t kKnobBitmap = bitmaps::kThrottleKnob;      // the ribbed grip end-on, 24 bits

constexpr uint32_t kThrottleToken = 392;
constexpr uint32_t kThrottleHelp = 43884;

// The collar refers to a list of no failures: it is drawn whatever the host simulates.
const FailureRecord collar_failures[] = {kFailureEnd};

SliderElement knob = {
    .header = {.kind = kSlider, .bitmap_id = kKnobBitmap,
               .x = face_geometry::kThrottleKnobAtIdle.x, .y = face_geometry::kThrottleKnobAtIdle.y,
               .owner = &ThrottleGauge, .image_flags = 0x3},
    .x_variable = Var(kThrottleToken),
    .x_scale = face_geometry::kThrottleTravelX,
    .y_variable = Var(kThrottleToken),
    .y_scale = face_geometry::kThrottleTravelY,
};

ElementHeader* collar_children[] = {&knob.header, nullptr};

StaticImageElement collar = {
    .header = {.kind = kStaticImage, .bitmap_id = kCollarBitmap, .x = 0, .y = 0,
               .owner = &ThrottleGauge, .children = collar_children,
               .failures = collar_failures, .image_flags = 0x1},
};

ElementHeader* elements[] = {&collar.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kThrottleHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader ThrottleGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Throttle",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
