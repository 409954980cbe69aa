// "Airspeed", "VSI" and "Fuelpres": one needle each over a dial. Airspeed takes knots straight onto
// a km/h dial (the table's marks do the conversion); VSI is held to its table's ends; Fuelpres
// squeezes the middle of its range so that the needle sits near 0.3 bar in normal running.
#include <array>
#include <cmath>

#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/dial_marks.h"

namespace {

using namespace dial_marks;

constexpr int32_t kAirspeedDialBitmap = bitmaps::kAirspeedDial;      // km/h
constexpr int32_t kAirspeedNeedleBitmap = bitmaps::kAirspeedNeedle;
constexpr int32_t kVsiDialBitmap = bitmaps::kVsiDial;                // m/s
constexpr int32_t kVsiNeedleBitmap = bitmaps::kVsiNeedle;
constexpr int32_t kFuelDialBitmap = bitmaps::kFuelPressureDial;      // 0 to 1 bar
constexpr int32_t kFuelNeedleBitmap = bitmaps::kFuelPressureNeedle;  // 16 colours

constexpr uint32_t kAirspeedToken = 61;       // knots
constexpr uint32_t kVerticalSpeedToken = 65;  // 256 units per m/s
constexpr uint32_t kFuelPressureToken = 425;  // 5200 units to the dial's full scale

constexpr uint32_t kAirspeedHelp = 43778;
constexpr uint32_t kVsiHelp = 43894;
constexpr uint32_t kFuelpresHelp = 43820;

constexpr double kVerticalSpeedLimit = 1792.0;  // 7 m/s, the table's last point either way
constexpr double kFuelPressureFullScale = 5200.0;

}  // namespace

// NaN leaves the needle at 0 m/s instead of passing an unplaceable value to the host.
double VerticalSpeedValue(ElementHeader* element) {
    const double v = VariableNumber(ElementAs<NeedleElement>(element)->variable);
    if (v > kVerticalSpeedLimit) return kVerticalSpeedLimit;
    if (v < -kVerticalSpeedLimit) return -kVerticalSpeedLimit;
    if (std::isnan(v)) return 0.0;
    return v;
}

// The open band 0.1..0.6 is mapped onto 0.26..0.36, so the needle jumps at both of its ends:
// exactly 0.1 and 0.6 are drawn as they are. NaN reads as no pressure.
double FuelPressureValue(ElementHeader* element) {
    double x = VariableNumber(ElementAs<NeedleElement>(element)->variable) / kFuelPressureFullScale;
    if (x > 1.0) x = 1.0;
    else if (x < 0.0) x = 0.0;
    else if (std::isnan(x)) x = 0.0;
    if (x > 0.1 && x < 0.6) x = (x - 0.3) / 5.0 + 0.3;
    return x;
}

namespace {

// ---- Airspeed -----------------------------------------------------------------------------------

const FailureRecord airspeed_failures[] = {
    Failure(kFailAirspeed, kFailZero),
    Failure(kFailPitotStatic, kFailFreeze),
    kFailureEnd,
};

// Values in knots on marks of the km/h dial.
auto airspeed_table = std::to_array(kAirspeed);

extern NeedleElement airspeed_needle;

ElementHeader* airspeed_dial_children[] = {&airspeed_needle.header, nullptr};

StaticImageElement airspeed_dial = {
    .header = {.kind = kStaticImage, .bitmap_id = kAirspeedDialBitmap, .x = 0, .y = 0,
               .owner = &AirspeedGauge, .children = airspeed_dial_children,
               .failures = airspeed_failures, .image_flags = 0x1},
};

NeedleElement airspeed_needle = {
    .header = {.kind = kNeedle, .bitmap_id = kAirspeedNeedleBitmap, .x = kAirspeedPivot.x,
               .y = kAirspeedPivot.y, .offset_x = kAirspeedNeedlePivot.x,
               .offset_y = kAirspeedNeedlePivot.y, .owner = &AirspeedGauge,
               .failures = airspeed_failures, .image_flags = 0x3},
    .variable = Var(kAirspeedToken),
    .table = airspeed_table.data(),
    .entries = airspeed_table.size(),
    .turn_limit = 6,
};

ElementHeader* airspeed_elements[] = {&airspeed_dial.header, nullptr};

MouseArea airspeed_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kAirspeedHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---- VSI ----------------------------------------------------------------------------------------

const FailureRecord vsi_failures[] = {
    Failure(kFailVerticalSpeed, kFailZero),
    Failure(kFailPitotStatic, kFailFreeze),
    kFailureEnd,
};

// 0 at the left; climb clockwise over the top, descent counter-clockwise under the bottom.
auto vsi_table = std::to_array(kVsi);

extern NeedleElement vsi_needle;

ElementHeader* vsi_dial_children[] = {&vsi_needle.header, nullptr};

StaticImageElement vsi_dial = {
    .header = {.kind = kStaticImage, .bitmap_id = kVsiDialBitmap, .x = 0, .y = 0,
               .owner = &VsiGauge, .children = vsi_dial_children, .failures = vsi_failures,
               .image_flags = 0x1},
};

NeedleElement vsi_needle = {
    .header = {.kind = kNeedle, .bitmap_id = kVsiNeedleBitmap, .x = kVsiPivot.x,
               .y = kVsiPivot.y, .offset_x = 5, .offset_y = 3, .owner = &VsiGauge,
               .failures = vsi_failures, .image_flags = 0x3},
    .variable = Var(kVerticalSpeedToken),
    .table = vsi_table.data(),
    .entries = vsi_table.size(),
    .turn_limit = 6,
    .callback = VerticalSpeedValue,
};

ElementHeader* vsi_elements[] = {&vsi_dial.header, nullptr};

MouseArea vsi_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kVsiHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---- Fuelpres -----------------------------------------------------------------------------------

const FailureRecord fuelpres_failures[] = {
    Failure(kFailEngine, kFailZero),
    kFailureEnd,
};

auto fuelpres_table = std::to_array(kFuelPressure);

extern NeedleElement fuelpres_needle;

ElementHeader* fuelpres_dial_children[] = {&fuelpres_needle.header, nullptr};

StaticImageElement fuelpres_dial = {
    .header = {.kind = kStaticImage, .bitmap_id = kFuelDialBitmap, .x = 0, .y = 0,
               .owner = &FuelpresGauge, .children = fuelpres_dial_children,
               .failures = fuelpres_failures, .image_flags = 0x1},
};

NeedleElement fuelpres_needle = {
    .header = {.kind = kNeedle, .bitmap_id = kFuelNeedleBitmap, .x = kFuelPressurePivot.x,
               .y = kFuelPressurePivot.y, .offset_x = kFuelPressureNeedlePivot.x,
               .offset_y = kFuelPressureNeedlePivot.y, .owner = &FuelpresGauge,
               .failures = fuelpres_failures, .image_flags = 0x3},
    .variable = Var(kFuelPressureToken),
    .table = fuelpres_table.data(),
    .entries = fuelpres_table.size(),
    .turn_limit = 6,
    .callback = FuelPressureValue,
};

ElementHeader* fuelpres_elements[] = {&fuelpres_dial.header, nullptr};

MouseArea fuelpres_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kFuelpresHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader AirspeedGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Airspeed",
    .elements = airspeed_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = airspeed_mouse_areas,
};

GaugeHeader VsiGauge = {
    .version = kGaugeHeaderVersion,
    .name = "VSI",
    .elements = vsi_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = vsi_mouse_areas,
};

GaugeHeader FuelpresGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Fuelpres",
    .elements = fuelpres_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = fuelpres_mouse_areas,
};
