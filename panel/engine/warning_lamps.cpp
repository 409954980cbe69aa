// The three warning lamps: "Fuelwarning" with its latching test button, "Chargewarning" for the
// alternator, and "Flydatwarning", which repeats the Flydat monitor's "flydat.warning".
// Each is a background and a two-state icon: 0 dark, 1 lit.
#include <cstdint>

#include "engine.h"
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"

namespace engine {

// ---- Constants ------------------------------------------------------------------------------------

constexpr int32_t kFuelLampBitmap = bitmaps::kFuelLamp;    // lamp and test button; icon 1 lit
constexpr int32_t kRoundLampBitmap = bitmaps::kRoundLamp;  // round red lamp; icon 1 lit

constexpr uint32_t kTokenFuelWarning = 386;
constexpr uint32_t kTokenCharging = 762;

constexpr uint32_t kHelpFuelLamp = 43170;
constexpr uint32_t kHelpTestButton = 43608;

constexpr MouseBox kTestButton = {7, 58, 40, 40};

constexpr double kDark = 0.0;
constexpr double kLit = 1.0;

// ---- Module state ---------------------------------------------------------------------------------

int32_t LampTestLatch = 0;
HostVariable WarningBinding = {};

namespace {

double OwnValue(const ElementHeader* element) {
    return VariableNumber(ElementAs<IconElement>(element)->variable);
}

}  // namespace

// ---- Callbacks ------------------------------------------------------------------------------------

// The lamps light unless their source reads as sound: a NaN source lights the lamp like a bad one.
double FuelLampValue(ElementHeader* element) {
    return !(OwnValue(element) >= 1.0) || LampTestLatch == 1 ? kLit : kDark;
}

// Every delivery toggles: held down, the repeating click flips the latch again and again.
uint32_t LampTestToggle(const MousePoint*, uint32_t) {
    LampTestLatch = LampTestLatch == 0 ? 1 : 0;
    return 0;
}

double ChargeLampValue(ElementHeader* element) {
    return !(OwnValue(element) > 0) ? kLit : kDark;
}

void FlydatLampService(uint32_t, uint32_t service_code, uint32_t) {
    if (service_code != kServiceInstall) return;
    // The host may leave the record as it was when nothing is published under the name: clear the
    // address first so that the lamp never reads through one that this binding did not give.
    WarningBinding.pointer = nullptr;
    HostServices()->bind_named_variable(&WarningBinding, kWarningName);
}

// With no binding the lamp stays dark.
double FlydatLampValue(ElementHeader*) {
    const auto* warning = static_cast<const int32_t*>(WarningBinding.pointer);
    return warning != nullptr && *warning > 0 ? kLit : kDark;
}

// ---- Records ----------------------------------------------------------------------------------------

namespace {

const FailureRecord fuel_lamp_failures[] = {
    Failure(kFailElectrical, kFailHide),
    Failure(kFailFuelIndicators, kFailHide),
    kFailureEnd,
};

// Shared by the Chargewarning and Flydatwarning lamps.
const FailureRecord electrical_failures[] = {
    Failure(kFailElectrical, kFailHide),
    kFailureEnd,
};

// No insert in either lamp's tooltip: one all-zero record serves both.
TooltipArgs plain_tooltip = {};

// Fuelwarning --------------------------------------------------------------------------------------

IconElement fuel_lamp = {
    .header = {.kind = kIcon, .bitmap_id = kFuelLampBitmap, .x = 0, .y = 0,
               .owner = &FuelwarningGauge, .failures = fuel_lamp_failures, .image_flags = 0x3},
    .variable = Var(kTokenFuelWarning),
    .switch_type = 0,
    .scale = 0,
    .offset_value = 0,
    .count = 2,
    .callback = FuelLampValue,
};

ElementHeader* fuel_children[] = {&fuel_lamp.header, nullptr};

StaticImageElement fuel_root = {
    .header = {.kind = kStaticImage, .bitmap_id = kFuelLampBitmap, .x = 0, .y = 0,
               .owner = &FuelwarningGauge, .children = fuel_children, .image_flags = 0x11},
};

ElementHeader* fuel_elements[] = {&fuel_root.header};

MouseArea fuel_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kHelpFuelLamp),
    MouseParentArea(kTestButton, kHelpTestButton),
    kMouseEndOfParent,
    MouseHandlerArea(kTestButton, kCursorHand, kMouseLeftRepeat, LampTestToggle),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// Chargewarning ------------------------------------------------------------------------------------

IconElement charge_lamp = {
    .header = {.kind = kIcon, .bitmap_id = kRoundLampBitmap, .x = 0, .y = 0,
               .owner = &ChargewarningGauge, .failures = electrical_failures, .image_flags = 0x3},
    .variable = Var(kTokenCharging),
    .switch_type = 0,
    .scale = 0,
    .offset_value = 0,
    .count = 2,
    .callback = ChargeLampValue,
};

ElementHeader* charge_children[] = {&charge_lamp.header, nullptr};

StaticImageElement charge_root = {
    .header = {.kind = kStaticImage, .bitmap_id = kRoundLampBitmap, .x = 0, .y = 0,
               .owner = &ChargewarningGauge, .children = charge_children, .image_flags = 0x11},
};

ElementHeader* charge_elements[] = {&charge_root.header};

MouseArea charge_mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseTooltipArea("Alternator warning light", &plain_tooltip),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// Flydatwarning ------------------------------------------------------------------------------------

IconElement flydat_lamp = {
    .header = {.kind = kIcon, .bitmap_id = kRoundLampBitmap, .x = 0, .y = 0,
               .owner = &FlydatwarningGauge, .failures = electrical_failures, .image_flags = 0x3},
    .variable = Var(0),
    .switch_type = 0,
    .scale = 0,
    .offset_value = 0,
    .count = 2,
    .callback = FlydatLampValue,
};

ElementHeader* flydat_lamp_children[] = {&flydat_lamp.header, nullptr};

StaticImageElement flydat_lamp_root = {
    .header = {.kind = kStaticImage, .bitmap_id = kRoundLampBitmap, .x = 0, .y = 0,
               .owner = &FlydatwarningGauge, .children = flydat_lamp_children,
               .image_flags = 0x11},
};

ElementHeader* flydat_lamp_elements[] = {&flydat_lamp_root.header};

MouseArea flydat_lamp_mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseTooltipArea("Flydat warning light", &plain_tooltip),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace
}  // namespace engine

GaugeHeader FuelwarningGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Fuelwarning",
    .elements = engine::fuel_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = engine::fuel_mouse_areas,
};

GaugeHeader ChargewarningGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Chargewarning",
    .elements = engine::charge_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = engine::charge_mouse_areas,
};

GaugeHeader FlydatwarningGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Flydatwarning",
    .elements = engine::flydat_lamp_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = engine::flydat_lamp_mouse_areas,
    .service = engine::FlydatLampService,
};
