// "Icom": the COM radio face. Two text windows show the active (left) and standby (right)
// frequencies; the transfer button swaps them; the dual knob tunes the standby frequency.
//
// The host's tuning events act on the active frequency only. Each knob handler therefore swaps,
// tunes and swaps back, so the click lands on the frequency in the standby window.
#include "controls.h"
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"
#include "text_format.h"

namespace {

using namespace face_geometry;

constexpr int32_t kFaceBitmap = bitmaps::kRadioFace;  // radio face with the liquid-crystal window

constexpr uint32_t kComActiveToken = 23;    // BCD, four digits after the leading 1
constexpr uint32_t kComStandbyToken = 617;  // BCD

constexpr uint32_t kComSwapEvent = 0x10344;
constexpr uint32_t kComLargeDownEvent = 0x10064;
constexpr uint32_t kComLargeUpEvent = 0x10065;
constexpr uint32_t kComSmallDownEvent = 0x10066;
constexpr uint32_t kComSmallUpEvent = 0x10067;

constexpr uint32_t kRadioHelp = 42766;
constexpr uint32_t kTransferHelp = 42765;
constexpr uint32_t kActiveWindowHelp = 43611;
constexpr uint32_t kStandbyWindowHelp = 43612;

constexpr uint32_t kLcdInk = 0x010101;    // black that is not see-through
constexpr uint32_t kFrequencyChars = 6;   // "118.00"

uint32_t Tune(uint32_t tuning_event) {
    HostServices()->trigger_event(kComSwapEvent, 0);
    HostServices()->trigger_event(tuning_event, 0);
    HostServices()->trigger_event(kComSwapEvent, 0);
    return 0;
}

}  // namespace

// Prints the four low BCD nibbles as "1dd.dd". The host only delivers decimal digits, but a
// nibble of 10 to 15 must not widen the text past the window's six characters, so each digit is
// printed as one hex digit: 0-9 print as usual and 10-15 as A-F, one character each.
// The result is the whole 32-bit value, bits above the four digits included.
double ComFrequencyText(ElementHeader* element) {
    StringElement* box = ElementAs<StringElement>(element);
    const uint32_t f = VariableBcd(box->variables[0]);
    if (box->text != nullptr) {
        text_format::Format(box->text, box->char_count, "1%X%X.%X%X", (f >> 12) & 0xF,
                            (f >> 8) & 0xF, (f >> 4) & 0xF, f & 0xF);
    }
    return static_cast<double>(f);
}

uint32_t ComLargeKnobDown(const MousePoint*, uint32_t) { return Tune(kComLargeDownEvent); }
uint32_t ComLargeKnobUp(const MousePoint*, uint32_t) { return Tune(kComLargeUpEvent); }
uint32_t ComSmallKnobDown(const MousePoint*, uint32_t) { return Tune(kComSmallDownEvent); }
uint32_t ComSmallKnobUp(const MousePoint*, uint32_t) { return Tune(kComSmallUpEvent); }

namespace {

// Panel power, avionics power or a radio failure blanks both windows; the face stays.
const FailureRecord frequency_failures[] = {
    Failure(kFailElectrical, kFailHide),
    Failure(kFailAvionics, kFailHide),
    Failure(kFailComRadio, kFailHide),
    kFailureEnd,
};

StringElement active_frequency = {
    .header = {.kind = kString, .bitmap_id = -1, .x = kActiveFrequencyBox.x,
               .y = kActiveFrequencyBox.y, .owner = &IcomGauge,
               .failures = frequency_failures, .image_flags = 0x2},
    .variables = {Var(kComActiveToken), Var(0), Var(0)},
    .box_width = kActiveFrequencyBox.width,
    .box_height = kActiveFrequencyBox.height,
    .fore_color = kLcdInk,
    .back_color = kRadioWindowColour,
    .highlight_color = kLcdInk,
    .font_face = "Courier New",
    .font_weight = 400,
    .charset = 1,
    .format_flags = kTextCenter | kTextVCenter | kTextSingleLine,
    .char_count = kFrequencyChars,
    .callback = ComFrequencyText,
};

StringElement standby_frequency = {
    .header = {.kind = kString, .bitmap_id = -1, .x = kStandbyFrequencyBox.x,
               .y = kStandbyFrequencyBox.y, .owner = &IcomGauge,
               .failures = frequency_failures, .image_flags = 0x2},
    .variables = {Var(kComStandbyToken), Var(0), Var(0)},
    .box_width = kStandbyFrequencyBox.width,
    .box_height = kStandbyFrequencyBox.height,
    .fore_color = kLcdInk,
    .back_color = kRadioWindowColour,
    .highlight_color = kLcdInk,
    .font_face = "Courier New",
    .font_weight = 400,
    .charset = 1,
    .format_flags = kTextCenter | kTextVCenter | kTextSingleLine,
    .char_count = kFrequencyChars,
    .callback = ComFrequencyText,
};

ElementHeader* face_children[] = {&active_frequency.header, &standby_frequency.header, nullptr};

StaticImageElement face = {
    .header = {.kind = kStaticImage, .bitmap_id = kFaceBitmap, .x = 0, .y = 0,
               .owner = &IcomGauge, .children = face_children, .image_flags = 0x1},
};

ElementHeader* elements[] = {&face.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kRadioHelp),
    MouseParentArea(kTransferButtonBox, kTransferHelp),
    kMouseEndOfParent,
    MouseParentArea(kActiveFrequencyBox, kActiveWindowHelp),
    kMouseEndOfParent,
    MouseParentArea(kStandbyFrequencyBox, kStandbyWindowHelp),
    kMouseEndOfParent,
    MouseEventArea(kTransferButtonBox, kCursorHand, kMouseLeftSingle, kComSwapEvent),
    MouseHandlerArea({505, 25, 40, 55}, kCursorDownArrow, kMouseLeftSingle, ComLargeKnobDown),
    MouseHandlerArea({545, 25, 45, 55}, kCursorUpArrow, kMouseLeftSingle, ComLargeKnobUp),
    MouseHandlerArea({550, 85, 25, 40}, kCursorDownArrow, kMouseLeftSingle, ComSmallKnobDown),
    MouseHandlerArea({575, 85, 25, 40}, kCursorUpArrow, kMouseLeftSingle, ComSmallKnobUp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader IcomGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Icom",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
