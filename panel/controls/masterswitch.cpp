// "Masterswitch": the master switch. Data only: the grip icon follows the master switch variable,
// and a click anywhere on the switch sends the toggle event, whatever the switch shows.
//
// This is the first gauge of the module's Linkage, so its root is the element that every
// lifecycle routine hands to the host.
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"

namespace {

constexpr int32_t kBezelBitmap = bitmaps::kMasterBezel;  // circular bezel and switch base
constexpr int32_t kGripBitmap = bitmaps::kMasterGrip;    // icons horizontal (off) and upright (on)

constexpr uint32_t kMasterSwitchToken = 364;
constexpr uint32_t kMasterSwitchToggleEvent = 0x10346;
constexpr uint32_t kMasterSwitchHelp = 43850;

IconElement grip = {
    .header = {.kind = kIcon, .bitmap_id = kGripBitmap, .x = 0, .y = 0,
               .owner = &MasterswitchGauge, .image_flags = 0x3},
    .variable = Var(kMasterSwitchToken),
    .switch_type = 0,
    .scale = 0.0,
    .offset_value = 0,
    .count = 2,
};

ElementHeader* bezel_children[] = {&grip.header, nullptr};

StaticImageElement bezel = {
    .header = {.kind = kStaticImage, .bitmap_id = kBezelBitmap, .x = 0, .y = 0,
               .owner = &MasterswitchGauge, .children = bezel_children, .image_flags = 0x1},
};

ElementHeader* elements[] = {&bezel.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kMasterSwitchHelp),
    MouseEventArea({0, 0, 100, 100}, kCursorHand, kMouseLeftSingle, kMasterSwitchToggleEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader MasterswitchGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Masterswitch",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
