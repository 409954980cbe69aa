// "Altimeter_mtr" and "Altimeter_ft": the metric one-needle altimeter and the three-hand feet
// altimeter. Both show the Kollsman setting in a 4-character window and in a tooltip, and both have
// a setting knob whose halves send the host's Kollsman events by themselves. The knobs differ in
// one thing only: the metric one repeats while the button is held, the feet one steps per click.
#include <array>

#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/dial_marks.h"
#include "resources/face_geometry.h"
#include "text_format.h"

namespace {

using namespace dial_marks;
using namespace face_geometry;

constexpr int32_t kMetricDialBitmap = bitmaps::kMetricAltimeterDial;  // km
constexpr int32_t kMetricNeedleBitmap = bitmaps::kMetricAltimeterNeedle;
constexpr int32_t kFeetDialBitmap = bitmaps::kFeetAltimeterDial;
constexpr int32_t kHundredsHandBitmap = bitmaps::kHundredsHand;
constexpr int32_t kThousandsHandBitmap = bitmaps::kThousandsHand;     // 16 colours
constexpr int32_t kTenThousandsHandBitmap = bitmaps::kTenThousandsHand;

constexpr uint32_t kAltitudeToken = 74;
constexpr uint32_t kKollsmanToken = 75;  // millibars
constexpr uint32_t kUnitsToken = 335;    // units of measure; 2 means metres

constexpr uint32_t kKollsmanDownEvent = 0x1015c;
constexpr uint32_t kKollsmanUpEvent = 0x1015b;

constexpr double kMetricUnits = 2.0;
constexpr double kFeetPerMetre = 3.28;

// The window holds 4 characters: "%4d" fits every setting from -999 to 9999.
constexpr double kWindowLowestPastFit = -1000.0;
constexpr double kWindowHighestPastFit = 10000.0;

}  // namespace

HostVariable KollsmanSetting = Var(kKollsmanToken);
HostVariable UnitsSetting = Var(kUnitsToken);
TooltipArgs KollsmanTooltipArgs = {.variable = Var(0), .callback = KollsmanTooltipValue};

// The host hands over the altitude in metres only under units setting 2; any other setting, 0 and
// 1 included, means feet.
double MetricAltitudeValue(ElementHeader* element) {
    const double altitude = VariableNumber(ElementAs<NeedleElement>(element)->variable);
    HostServices()->lookup_variable(&UnitsSetting);
    if (VariableNumber(UnitsSetting) == kMetricUnits) return altitude;
    return altitude / kFeetPerMetre;
}

// Truncated, not rounded: 999.9 shows " 999". A setting that does not fit 4 characters, or is not a
// number, shows the overflow mark instead; the range test comes before the conversion, which would
// be undefined for NaN and for anything beyond 32 bits.
double KollsmanWindowText(ElementHeader* element) {
    auto* window = ElementAs<StringElement>(element);
    const double setting = VariableNumber(window->variables[0]);
    if (window->text == nullptr) return setting;
    if (setting > kWindowLowestPastFit && setting < kWindowHighestPastFit) {
        text_format::Format(window->text, window->char_count, "%4d", static_cast<int32_t>(setting));
    } else {
        text_format::Format(window->text, window->char_count, kKollsmanOverflowText);
    }
    return setting;
}

double KollsmanTooltipValue(TooltipArgs*) {
    HostServices()->lookup_variable(&KollsmanSetting);
    return VariableNumber(KollsmanSetting);
}

namespace {

// Backgrounds and hands freeze with the altimeter or the pitot-static system; the Kollsman windows
// have no failures and go on showing the setting.
const FailureRecord altimeter_failures[] = {
    Failure(kFailAltimeter, kFailFreeze),
    Failure(kFailPitotStatic, kFailFreeze),
    kFailureEnd,
};

// The two windows differ only in position and owner.
constexpr StringElement KollsmanWindow(Point at, GaugeHeader* owner, ElementHeader** children) {
    return StringElement{
        .header = {.kind = kString, .bitmap_id = -1, .x = at.x, .y = at.y, .owner = owner,
                   .children = children, .image_flags = 0x2},
        .variables = {Var(kKollsmanToken), Var(0), Var(0)},
        .box_width = kKollsmanWindowWidth,
        .box_height = kKollsmanWindowHeight,
        .fore_color = 0xFFFFFF,
        .back_color = 0x010101,
        .highlight_color = 0x010101,
        .font_face = "Courier New",
        .font_weight = 100,
        .charset = 1,
        .format_flags = kTextCenter | kTextVCenter | kTextSingleLine,
        .char_count = 4,
        .callback = KollsmanWindowText,
    };
}

// ---- Altimeter_mtr ------------------------------------------------------------------------------

// 120 degrees per 1000 m, clockwise from 0 at the bottom.
auto metric_table = std::to_array(kMetricAltimeter);

extern StringElement metric_window;
extern NeedleElement metric_needle;

ElementHeader* metric_dial_children[] = {&metric_window.header, &metric_needle.header, nullptr};

StaticImageElement metric_dial = {
    .header = {.kind = kStaticImage, .bitmap_id = kMetricDialBitmap, .x = 0, .y = 0,
               .owner = &AltimeterMtrGauge, .children = metric_dial_children,
               .failures = altimeter_failures, .image_flags = 0x1},
};

StringElement metric_window = KollsmanWindow(kMetricKollsmanWindow, &AltimeterMtrGauge, nullptr);

NeedleElement metric_needle = {
    .header = {.kind = kNeedle, .bitmap_id = kMetricNeedleBitmap, .x = kMetricAltimeterPivot.x,
               .y = kMetricAltimeterPivot.y, .offset_x = kMetricAltimeterNeedlePivot.x,
               .offset_y = kMetricAltimeterNeedlePivot.y, .owner = &AltimeterMtrGauge,
               .failures = altimeter_failures, .image_flags = 0x3},
    .variable = Var(kAltitudeToken),
    .table = metric_table.data(),
    .entries = metric_table.size(),
    .turn_limit = 6,
    .callback = MetricAltitudeValue,
};

ElementHeader* metric_elements[] = {&metric_dial.header, nullptr};

const char metric_tooltip[] = "Altimeter setting: %1!d! Mbar";

MouseArea metric_mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseTooltipArea(metric_tooltip, &KollsmanTooltipArgs),
    MouseEventArea(kKollsmanDownBox, kCursorDownArrow, kMouseLeftRepeat, kKollsmanDownEvent),
    MouseEventArea(kKollsmanUpBox, kCursorUpArrow, kMouseLeftRepeat, kKollsmanUpEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---- Altimeter_ft -------------------------------------------------------------------------------

// Four marks a quarter turn apart, clockwise from the top; the host carries each hand on past its
// last mark.
auto ten_thousands_table = std::to_array(kFeetAltimeter10000);
auto thousands_table = std::to_array(kFeetAltimeter1000);
auto hundreds_table = std::to_array(kFeetAltimeter100);

// Drawn in this order, each the only child of the one before.
extern StringElement feet_window;
extern NeedleElement ten_thousands_hand;
extern NeedleElement thousands_hand;
extern NeedleElement hundreds_hand;

ElementHeader* feet_dial_children[] = {&feet_window.header, nullptr};

StaticImageElement feet_dial = {
    .header = {.kind = kStaticImage, .bitmap_id = kFeetDialBitmap, .x = 0, .y = 0,
               .owner = &AltimeterFtGauge, .children = feet_dial_children,
               .failures = altimeter_failures, .image_flags = 0x3},
};

ElementHeader* feet_window_children[] = {&ten_thousands_hand.header, nullptr};

StringElement feet_window =
    KollsmanWindow(kFeetKollsmanWindow, &AltimeterFtGauge, feet_window_children);

ElementHeader* ten_thousands_hand_children[] = {&thousands_hand.header, nullptr};

NeedleElement ten_thousands_hand = {
    .header = {.kind = kNeedle, .bitmap_id = kTenThousandsHandBitmap, .x = kFeetAltimeterPivot.x,
               .y = kFeetAltimeterPivot.y, .offset_x = kTenThousandsHandPivot.x,
               .offset_y = kTenThousandsHandPivot.y, .owner = &AltimeterFtGauge,
               .children = ten_thousands_hand_children, .failures = altimeter_failures,
               .image_flags = 0x3},
    .variable = Var(kAltitudeToken),
    .table = ten_thousands_table.data(),
    .entries = ten_thousands_table.size(),
    .turn_limit = 6,
};

ElementHeader* thousands_hand_children[] = {&hundreds_hand.header, nullptr};

NeedleElement thousands_hand = {
    .header = {.kind = kNeedle, .bitmap_id = kThousandsHandBitmap, .x = kFeetAltimeterPivot.x,
               .y = kFeetAltimeterPivot.y, .offset_x = kThousandsHandPivot.x,
               .offset_y = kThousandsHandPivot.y, .owner = &AltimeterFtGauge,
               .children = thousands_hand_children, .failures = altimeter_failures,
               .image_flags = 0x3},
    .variable = Var(kAltitudeToken),
    .table = thousands_table.data(),
    .entries = thousands_table.size(),
    .turn_limit = 6,
};

NeedleElement hundreds_hand = {
    .header = {.kind = kNeedle, .bitmap_id = kHundredsHandBitmap, .x = kFeetAltimeterPivot.x,
               .y = kFeetAltimeterPivot.y, .offset_x = kHundredsHandPivot.x,
               .offset_y = kHundredsHandPivot.y, .owner = &AltimeterFtGauge,
               .failures = altimeter_failures, .image_flags = 0x3},
    .variable = Var(kAltitudeToken),
    .table = hundreds_table.data(),
    .entries = hundreds_table.size(),
    .turn_limit = 6,
};

ElementHeader* feet_elements[] = {&feet_dial.header, nullptr};

// Each gauge has its own copy of the text.
const char feet_tooltip[] = "Altimeter setting: %1!d! Mbar";

MouseArea feet_mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseTooltipArea(feet_tooltip, &KollsmanTooltipArgs),
    MouseEventArea(kKollsmanDownBox, kCursorDownArrow, kMouseLeftSingle, kKollsmanDownEvent),
    MouseEventArea(kKollsmanUpBox, kCursorUpArrow, kMouseLeftSingle, kKollsmanUpEvent),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader AltimeterMtrGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Altimeter_mtr",
    .elements = metric_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = metric_mouse_areas,
};

GaugeHeader AltimeterFtGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Altimeter_ft",
    .elements = feet_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = feet_mouse_areas,
};
