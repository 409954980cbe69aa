// "Flap_trim_handle": the flap handle in three positions and the elevator trim indicator.
// The left half steps the trim while the button is held; the right half steps the flaps once per
// click. Each half has a help text on a parent closed at once.
#include "controls.h"
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kBaseBitmap = bitmaps::kFlapBase;       // the dark base strip at the lower right
constexpr int32_t kHandleBitmap = bitmaps::kFlapHandle;   // icons up, mid and down
constexpr int32_t kTrimBitmap = bitmaps::kTrimIndicator;  // block on a rod

constexpr uint32_t kFlapHandleToken = 328;
constexpr uint32_t kTrimIndicatorToken = 783;

// Named by the box that sends them: upper boxes carry the down-arrow cursor, lower boxes the up.
constexpr uint32_t kTrimUpperBoxEvent = 0x10047;
constexpr uint32_t kTrimLowerBoxEvent = 0x1004f;
constexpr uint32_t kFlapsUpperBoxEvent = 0x100df;
constexpr uint32_t kFlapsLowerBoxEvent = 0x100de;

constexpr uint32_t kTrimHelp = 43859;
constexpr uint32_t kFlapHelp = 43902;

constexpr double kFlapMidAbove = 4000.0;
constexpr double kFlapDownAbove = 12000.0;

}  // namespace

// Compares the host's value as delivered, with no rounding first. NaN fails both comparisons and
// shows the handle up.
double FlapHandleValue(ElementHeader* element) {
    const double v = VariableNumber(ElementAs<IconElement>(element)->variable);
    if (v > kFlapMidAbove && v <= kFlapDownAbove) return 1.0;
    if (v > kFlapDownAbove) return 2.0;
    return 0.0;
}

namespace {

// The trim indicator refers to a list of no failures.
const FailureRecord trim_failures[] = {kFailureEnd};

IconElement flap_handle = {
    .header = {.kind = kIcon, .bitmap_id = kHandleBitmap, .x = face_geometry::kFlapHandleIcon.x,
               .y = face_geometry::kFlapHandleIcon.y,
               .owner = &FlapTrimHandleGauge, .image_flags = 0x3},
    .variable = Var(kFlapHandleToken),
    .switch_type = 3,
    .scale = 0.0,
    .offset_value = 0,
    .count = 3,
    .callback = FlapHandleValue,
};

SliderElement trim_indicator = {
    .header = {.kind = kSlider, .bitmap_id = kTrimBitmap, .x = 40, .y = 170,
               .owner = &FlapTrimHandleGauge, .failures = trim_failures, .image_flags = 0x3},
    .x_variable = Var(0),
    .x_scale = 0.0,
    .y_variable = Var(kTrimIndicatorToken),
    .y_scale = 75.0,
};

ElementHeader* base_children[] = {&flap_handle.header, &trim_indicator.header, nullptr};

StaticImageElement base = {
    .header = {.kind = kStaticImage, .bitmap_id = kBaseBitmap, .x = 0, .y = 0,
               .owner = &FlapTrimHandleGauge, .children = base_children, .image_flags = 0x11},
};

ElementHeader* elements[] = {&base.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseParentArea({0, 0, 100, 244}, kTrimHelp),
    kMouseEndOfParent,
    MouseEventArea({0, 0, 75, 120}, kCursorDownArrow, kMouseLeftRepeat, kTrimUpperBoxEvent),
    MouseEventArea({0, 121, 75, 120}, kCursorUpArrow, kMouseLeftRepeat, kTrimLowerBoxEvent),
    MouseParentArea({100, 0, 100, 244}, kFlapHelp),
    kMouseEndOfParent,
    MouseEventArea({125, 0, 75, 120}, kCursorDownArrow, kMouseLeftSingle, kFlapsUpperBoxEvent),
    MouseEventArea({125, 121, 75, 120}, kCursorUpArrow, kMouseLeftSingle, kFlapsLowerBoxEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader FlapTrimHandleGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Flap_trim_handle",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
