// "Switches": a row of three toggle switches. Data only: each lever follows its variable, and
// each switch's box carries the host's help text (a parent closed at once) and, on the same box,
// the child that sends the switch's event.
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kNutsBitmap = bitmaps::kSwitchNuts;    // three hexagonal nuts
constexpr int32_t kLeverBitmap = bitmaps::kSwitchLever;  // icon 0 down (off), icon 1 up (on)

constexpr uint32_t kLeftSwitchToken = 740;
constexpr uint32_t kMiddleSwitchToken = 11;
constexpr uint32_t kRightSwitchToken = 14;

constexpr uint32_t kLeftSwitchEvent = 0x102f5;
constexpr uint32_t kMiddleSwitchEvent = 0x10018;
constexpr uint32_t kRightSwitchEvent = 0x100d7;

constexpr uint32_t kLeftSwitchHelp = 43791;
constexpr uint32_t kMiddleSwitchHelp = 43842;
constexpr uint32_t kRightSwitchHelp = 43838;

constexpr MouseBox kLeftSwitchBox{2, 2, 34, 46};
constexpr MouseBox kMiddleSwitchBox{62, 2, 34, 46};
constexpr MouseBox kRightSwitchBox{142, 2, 34, 46};

constexpr IconElement Lever(face_geometry::Point at, uint32_t token) {
    return IconElement{
        .header = {.kind = kIcon, .bitmap_id = kLeverBitmap, .x = at.x, .y = at.y,
                   .owner = &SwitchesGauge, .image_flags = 0x3},
        .variable = Var(token),
        .switch_type = 0,
        .scale = 0.0,
        .offset_value = 0,
        .count = 2,
    };
}

IconElement left_lever = Lever(face_geometry::kLeftSwitchLever, kLeftSwitchToken);
IconElement middle_lever = Lever(face_geometry::kMiddleSwitchLever, kMiddleSwitchToken);
IconElement right_lever = Lever(face_geometry::kRightSwitchLever, kRightSwitchToken);

ElementHeader* nuts_children[] = {&left_lever.header, &middle_lever.header, &right_lever.header,
                                  nullptr};

StaticImageElement nuts = {
    .header = {.kind = kStaticImage, .bitmap_id = kNutsBitmap, .x = 0, .y = 0,
               .owner = &SwitchesGauge, .children = nuts_children, .image_flags = 0x1},
};

ElementHeader* elements[] = {&nuts.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseParentArea(kLeftSwitchBox, kLeftSwitchHelp),
    kMouseEndOfParent,
    MouseEventArea(kLeftSwitchBox, kCursorHand, kMouseLeftSingle, kLeftSwitchEvent),
    MouseParentArea(kMiddleSwitchBox, kMiddleSwitchHelp),
    kMouseEndOfParent,
    MouseEventArea(kMiddleSwitchBox, kCursorHand, kMouseLeftSingle, kMiddleSwitchEvent),
    MouseParentArea(kRightSwitchBox, kRightSwitchHelp),
    kMouseEndOfParent,
    MouseEventArea(kRightSwitchBox, kCursorHand, kMouseLeftSingle, kRightSwitchEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader SwitchesGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Switches",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
