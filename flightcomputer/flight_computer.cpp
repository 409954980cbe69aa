// "Q4D", the circular slide-rule flight computer, and "ICON_Q4D", the 12 mm icon that shows and
// hides its panel window.
//
// The disc is a needle without a variable: its callback hands the host DiscPosition, and the
// two-entry table puts 0.0 straight above the pivot and 1799 straight below it. Rising values turn
// the disc clockwise, and the host carries on at the table's one rate past both ends, so one full
// turn is 3598 units. The module reads and changes nothing in the simulation.
#include "gauges.h"
#include "geometry.h"
#include "module.h"

using namespace q4d;

// ---------------------------------------------------------------------------------------------
// State and callbacks

double DiscPosition = 0.0;

double DiscPositionValue(ElementHeader*) { return DiscPosition; }

// Every step is a whole number, so any run of clicks leaves DiscPosition whole (exactly, up to
// 2^53, far beyond any pilot's patience).
uint32_t DiscIncreaseLarge(const MousePoint*, uint32_t) {
    DiscPosition += kLargeStep;
    return 0;
}
uint32_t DiscIncreaseSmall(const MousePoint*, uint32_t) {
    DiscPosition += kSmallStep;
    return 0;
}
uint32_t DiscDecreaseLarge(const MousePoint*, uint32_t) {
    DiscPosition -= kLargeStep;
    return 0;
}
uint32_t DiscDecreaseSmall(const MousePoint*, uint32_t) {
    DiscPosition -= kSmallStep;
    return 0;
}

// The only handler whose result means something: the host's answer to the toggle goes back to it.
uint32_t FlightComputerToggle(const MousePoint*, uint32_t) {
    return HostServices()->toggle_panel_window(kFlightComputerWindow);
}

namespace {

// Neither gauge fails with the aircraft: every element points at an empty list.
const FailureRecord no_failures[] = {kFailureEnd};

// ---------------------------------------------------------------------------------------------
// "Q4D"

NonlinearityTable disc_table[] = {
    {.x = kPivotX, .y = kMarkAboveY, .value = 0.0},
    {.x = kPivotX, .y = kMarkBelowY, .value = kUnitsPerHalfTurn},
};

NeedleElement disc = {
    .header = {.kind = kNeedle, .bitmap_id = kDiscBitmap, .x = kPivotX, .y = kPivotY,
               .offset_x = kDiscCentre, .offset_y = kDiscCentre, .owner = &Q4dGauge,
               .failures = no_failures, .image_flags = 0x3},
    .variable = Var(0),
    .table = disc_table,
    .entries = 2,
    .turn_limit = 6,
    .callback = DiscPositionValue,
};

ElementHeader* body_children[] = {&disc.header, nullptr};

StaticImageElement body = {
    .header = {.kind = kStaticImage, .bitmap_id = kBodyBitmap, .x = 0, .y = 0, .owner = &Q4dGauge,
               .children = body_children, .failures = no_failures, .image_flags = 0x3},
};

ElementHeader* q4d_elements[] = {&body.header, nullptr};

// The arrows repeat while held; the painted arrows lie under these boxes.
MouseArea q4d_mouse[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseHandlerArea(kDecreaseLargeBox, kCursorDownArrow, kMouseLeftRepeat, DiscDecreaseLarge),
    MouseHandlerArea(kIncreaseLargeBox, kCursorUpArrow, kMouseLeftRepeat, DiscIncreaseLarge),
    MouseHandlerArea(kDecreaseSmallBox, kCursorDownArrow, kMouseLeftRepeat, DiscDecreaseSmall),
    MouseHandlerArea(kIncreaseSmallBox, kCursorUpArrow, kMouseLeftRepeat, DiscIncreaseSmall),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---------------------------------------------------------------------------------------------
// "ICON_Q4D"

StaticImageElement icon = {
    .header = {.kind = kStaticImage, .bitmap_id = kIconBitmap, .x = 0, .y = 0,
               .owner = &IconQ4dGauge, .failures = no_failures, .image_flags = 0x1},
};

ElementHeader* icon_elements[] = {&icon.header, nullptr};

// The text has no insert, so its argument record stays all zero.
TooltipArgs icon_tooltip_args = {.variable = Var(0)};

MouseArea icon_mouse[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseTooltipArea("Display/Hide Q4D Flightcomputer", &icon_tooltip_args),
    MouseHandlerArea({0, 0, kIconSize, kIconSize}, kCursorHand, kMouseLeftSingle, FlightComputerToggle),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader Q4dGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Q4D",
    .elements = q4d_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = q4d_mouse,
};

GaugeHeader IconQ4dGauge = {
    .version = kGaugeHeaderVersion,
    .name = "ICON_Q4D",
    .elements = icon_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 12,
    .mouse_areas = icon_mouse,
};
