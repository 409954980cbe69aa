// "Flydat": the digital engine monitor. Eight text boxes in a green display window show engine
// speed, the two exhaust-gas temperatures, cylinder-head and oil temperature, oil pressure, engine
// hours and the side (left or right) that the exhaust-gas readings belong to. The display is live
// only with the engine turning at 500/min or more and a magneto on; any alarm then raises
// "flydat.warning", which the Flydatwarning lamp repeats.
#include <cstdint>

#include "engine.h"
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"
#include "text_format.h"

namespace engine {

// ---- Constants ------------------------------------------------------------------------------------

constexpr int32_t kFlydatBitmap = bitmaps::kFlydatFace;  // the monitor's face

constexpr uint32_t kTokenTicks = 1;
constexpr uint32_t kTokenEngineSpeed = 390;
constexpr uint32_t kTokenLeftMagneto = 399;
constexpr uint32_t kTokenRightMagneto = 400;
constexpr uint32_t kTokenExhaustGas = 413;
constexpr uint32_t kTokenCylinderHead = 415;
constexpr uint32_t kTokenOilTemperature = 416;
constexpr uint32_t kTokenOilPressure = 418;
constexpr uint32_t kTokenEngineSeconds = 607;

constexpr int32_t kDisplayMinimumSpeed = 500;
constexpr int32_t kSideUnits = 5;  // 5 x 72 = a period of 360 ticks, half of it per side

enum TemperatureKind : int32_t { kExhaustGas = 1, kCylinderHead = 2, kOil = 3 };

constexpr uint32_t kHelpExhaustGas = 43805;
constexpr uint32_t kHelpCylinderHead = 43797;
constexpr uint32_t kHelpOilTemperature = 43855;
constexpr uint32_t kHelpOilPressure = 43854;

// ---- Module state ---------------------------------------------------------------------------------

int32_t FlydatWarning = 0;
int32_t RpmAlarm = 0;
int32_t EgtPtoAlarm = 0;
int32_t ChtAlarm = 0;
int32_t OilTemperatureAlarm = 0;
int32_t EgtMagAlarm = 0;
int32_t OilPressureAlarm = 0;
int32_t HoursBase = 0;
int32_t HoursValue = 0;

namespace {

// The gauge's own records, outside the element tree: the host never refreshes them, each is
// looked up at the moment it is read.
HostVariable tick_counter = Var(kTokenTicks);
HostVariable left_magneto = Var(kTokenLeftMagneto);
HostVariable right_magneto = Var(kTokenRightMagneto);
HostVariable engine_speed = Var(kTokenEngineSpeed);

double Refreshed(HostVariable& variable) {
    HostServices()->lookup_variable(&variable);
    return VariableNumber(variable);
}

double OwnValue(const ElementHeader* element) {
    return VariableNumber(ElementAs<StringElement>(element)->variables[0]);
}

// Outside a band, or not a number at all: a reading that is NaN sets its alarm rather than
// slipping through both comparisons.
int32_t OutsideBand(double v, double low, double high) { return v >= low && v <= high ? 0 : 1; }

// Writes the box's text. A number that needs more characters than the box holds shows as a row of
// dashes: cutting it to the box would show another, plausible number.
void WriteBoxText(StringElement* box, const char* format, int32_t argument) {
    if (box->text == nullptr) return;
    char full[32];
    const uint32_t length = text_format::Format(full, sizeof full - 1, format, argument);
    if (length <= box->char_count) {
        for (uint32_t i = 0; i <= length; ++i) box->text[i] = full[i];
        return;
    }
    for (uint32_t i = 0; i < box->char_count; ++i) box->text[i] = '-';
    box->text[box->char_count] = '\0';
}

bool AnyAlarm() {
    return RpmAlarm != 0 || EgtPtoAlarm != 0 || ChtAlarm != 0 || OilTemperatureAlarm != 0 ||
           EgtMagAlarm != 0 || OilPressureAlarm != 0;
}

}  // namespace

// ---- Operations -----------------------------------------------------------------------------------

double ConvertTemperature(double x) { return (x - 428) * 5 / 9; }

double CompressTemperature(int32_t kind, double v) {
    const int32_t r = TruncateToInt32(Refreshed(engine_speed));
    if (r < kDisplayMinimumSpeed) return v;
    switch (kind) {
        case kExhaustGas:
            // Two bands that meet at 1500/min; 1500 itself takes the upper one, so that no single
            // engine speed shows the unmapped temperature.
            v = r < 1500 ? v / 10 + 500 : v / 10 + 790;
            break;
        case kCylinderHead:
            if (v > 100) v = v / 10 + 100;
            break;
        case kOil:
            if (v > 95) v = v / 10 + 95;
            break;
        default:
            break;
    }
    return v;
}

Side CurrentSide(int32_t units) {
    const int32_t period = WrappingMultiply(units, 72);
    const int32_t t = TruncateToInt32(Refreshed(tick_counter));
    if (period <= 0) return Side::kLeft;  // no caller passes such units; keeps % defined
    const int32_t rem = t % period;
    return rem < period / 2 ? Side::kLeft : Side::kRight;
}

double DisplayGate(ElementHeader* element, const char* format, int32_t argument) {
    const double left = Refreshed(left_magneto);
    const double right = Refreshed(right_magneto);
    const double speed = Refreshed(engine_speed);
    const int32_t r = TruncateToInt32(speed);
    const int32_t g = r < kDisplayMinimumSpeed ? 0 : TruncateToInt32(left + right);
    StringElement* box = ElementAs<StringElement>(element);
    if (g == 0) {
        if (box->text != nullptr) box->text[0] = '\0';
        FlydatWarning = 0;
    } else {
        FlydatWarning = AnyAlarm() ? 1 : 0;
        WriteBoxText(box, format, argument);
    }
    return g;
}

// ---- Value callbacks, in draw order ------------------------------------------------------------------

double RpmChannel(ElementHeader* element) {
    const double x = OwnValue(element);
    const int32_t a = TruncateToInt32(x * 0.19);
    RpmAlarm = a < 0 || a > 600 ? 1 : 0;
    DisplayGate(element, "%4d", WrappingMultiply(a, 10));
    return x;
}

double EgtPtoChannel(ElementHeader* element) {
    double v = CompressTemperature(kExhaustGas, ConvertTemperature(OwnValue(element)));
    if (CurrentSide(kSideUnits) == Side::kLeft) v = v * 1.03;
    EgtPtoAlarm = OutsideBand(v, 0, 880);
    DisplayGate(element, "%4d", TruncateToInt32(v));
    return v;
}

double ChtChannel(ElementHeader* element) {
    const double v = CompressTemperature(kCylinderHead, ConvertTemperature(OwnValue(element)));
    ChtAlarm = OutsideBand(v, 0, 150);
    DisplayGate(element, "%4d", TruncateToInt32(v));
    return v;
}

double OilTemperatureChannel(ElementHeader* element) {
    const double v = CompressTemperature(kOil, ConvertTemperature(OwnValue(element)));
    OilTemperatureAlarm = OutsideBand(v, 0, 140);
    DisplayGate(element, "%4d", TruncateToInt32(v));
    return v;
}

double HoursChannel(ElementHeader* element) {
    const double x = OwnValue(element);
    const uint32_t s = static_cast<uint32_t>(TruncateToInt32(x));
    // Whole tenths of an hour, rounded down; the sum wraps as 32-bit arithmetic does.
    const int32_t h = static_cast<int32_t>(static_cast<uint32_t>(HoursBase) + s / 360);
    HoursValue = h;
    DisplayGate(element, "%4d", h);
    return x;
}

double EgtMagChannel(ElementHeader* element) {
    double v = CompressTemperature(kExhaustGas, ConvertTemperature(OwnValue(element))) * 1.02;
    if (CurrentSide(kSideUnits) == Side::kRight) v = v * 1.01;
    EgtMagAlarm = OutsideBand(v, 0, 880);
    DisplayGate(element, "%4d", TruncateToInt32(v));
    return v;
}

double SideChannel(ElementHeader* element) {
    const double x = OwnValue(element);
    DisplayGate(element, CurrentSide(kSideUnits) == Side::kLeft ? " <--" : " -->", 0);
    return x;
}

double OilPressureChannel(ElementHeader* element) {
    const double v = OwnValue(element) / 208;
    OilPressureAlarm = OutsideBand(v, 15, 50);
    DisplayGate(element, "%4d", TruncateToInt32(v));
    return v;
}

// ---- Service callback --------------------------------------------------------------------------------

void FlydatService(uint32_t, uint32_t service_code, uint32_t) {
    if (service_code == kServiceInstall) {
        HostServices()->register_named_variable(&FlydatWarning, kNamedVariableInt32, kWarningName);
        LoadEngineHours();
    } else if (service_code == kServiceKill) {
        SaveEngineHours();
        HostServices()->unregister_named_variable(kWarningName);
    }
}

// ---- Records, in draw order ----------------------------------------------------------------------------

namespace {

using namespace face_geometry;

// On the electrical failure the host does not draw the boxes.
const FailureRecord box_failures[] = {
    Failure(kFailElectrical, kFailHide),
    kFailureEnd,
};

// The eight boxes differ only in position, first variable and callback.
constexpr StringElement Box(MouseBox at, uint32_t token, ValueCallback callback) {
    return StringElement{
        .header = {.kind = kString, .bitmap_id = -1, .x = at.x, .y = at.y, .owner = &FlydatGauge,
                   .failures = box_failures, .image_flags = 0x2},
        .variables = {Var(token), Var(0), Var(0)},
        .text = nullptr,
        .box_width = static_cast<uint32_t>(at.width),
        .box_height = static_cast<uint32_t>(at.height),
        .fore_color = 0x010101,
        .back_color = kFlydatWindowColour,
        .highlight_color = 0x010101,
        .font_face = "Courier New",
        .font_weight = 400,
        .charset = 1,
        .format_flags = kTextCenter | kTextVCenter | kTextSingleLine,
        .char_count = 5,
        .callback = callback,
    };
}

StringElement rpm_box = Box(kRpmBox, kTokenEngineSpeed, RpmChannel);
StringElement egt_pto_box = Box(kEgtPtoBox, kTokenExhaustGas, EgtPtoChannel);
StringElement cht_box = Box(kChtBox, kTokenCylinderHead, ChtChannel);
StringElement oil_temperature_box =
    Box(kOilTemperatureBox, kTokenOilTemperature, OilTemperatureChannel);
StringElement hours_box = Box(kHoursBox, kTokenEngineSeconds, HoursChannel);
StringElement egt_mag_box = Box(kEgtMagBox, kTokenExhaustGas, EgtMagChannel);
StringElement side_box = Box(kSideBox, 0, SideChannel);
StringElement oil_pressure_box = Box(kOilPressureBox, kTokenOilPressure, OilPressureChannel);

ElementHeader* root_children[] = {
    &rpm_box.header,   &egt_pto_box.header, &cht_box.header,  &oil_temperature_box.header,
    &hours_box.header, &egt_mag_box.header, &side_box.header, &oil_pressure_box.header,
    nullptr,
};

StaticImageElement root = {
    .header = {.kind = kStaticImage, .bitmap_id = kFlydatBitmap, .x = 0, .y = 0,
               .owner = &FlydatGauge, .children = root_children, .image_flags = kImageColorKey},
};

ElementHeader* elements[] = {&root.header};

// No click: the areas only place the host's tooltips over the boxes.
MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, 0),
    MouseParentArea(kRpmBox, 0),
    kMouseEndOfParent,
    MouseParentArea(kHoursBox, 0),
    kMouseEndOfParent,
    MouseParentArea({200, 65, 75, 60}, kHelpExhaustGas),  // both EGT boxes
    kMouseEndOfParent,
    MouseParentArea(kChtBox, kHelpCylinderHead),
    kMouseEndOfParent,
    MouseParentArea(kSideBox, 0),  // LEFT-RIGHT
    kMouseEndOfParent,
    MouseParentArea(kOilTemperatureBox, kHelpOilTemperature),
    kMouseEndOfParent,
    MouseParentArea(kOilPressureBox, kHelpOilPressure),
    kMouseEndOfParent,
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace
}  // namespace engine

GaugeHeader FlydatGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Flydat",
    .elements = engine::elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = engine::mouse_areas,
    .service = engine::FlydatService,
};
