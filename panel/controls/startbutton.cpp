// "Startbutton": the starter push button. Data only: the button face follows the starter
// variable, and holding the left button on it sends the starter event again and again.
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"

namespace {

constexpr int32_t kRingBitmap = bitmaps::kStartRing;      // metal ring with a see-through centre
constexpr int32_t kButtonBitmap = bitmaps::kStartButton;  // icon 0 released, icon 1 pressed in

constexpr uint32_t kStarterToken = 401;
constexpr uint32_t kStarterEvent = 0x102fc;
constexpr uint32_t kStarterHelp = 43877;

IconElement button = {
    .header = {.kind = kIcon, .bitmap_id = kButtonBitmap, .x = 0, .y = 0,
               .owner = &StartbuttonGauge, .image_flags = 0x3},
    .variable = Var(kStarterToken),
    .switch_type = 0,
    .scale = 0.0,
    .offset_value = 0,
    .count = 2,
};

ElementHeader* ring_children[] = {&button.header, nullptr};

StaticImageElement ring = {
    .header = {.kind = kStaticImage, .bitmap_id = kRingBitmap, .x = 0, .y = 0,
               .owner = &StartbuttonGauge, .children = ring_children, .image_flags = 0x11},
};

ElementHeader* elements[] = {&ring.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kStarterHelp),
    MouseEventArea({0, 0, 100, 100}, kCursorHand, kMouseLeftRepeat, kStarterEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader StartbuttonGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Startbutton",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
