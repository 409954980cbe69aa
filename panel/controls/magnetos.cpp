// "Magnetos": two ignition levers, one per magneto. The host has no event per magneto, only one
// four-position selector; so a click reads both magnetos as they are now and sends the one
// selector event that flips the clicked lever and keeps the other.
#include "controls.h"
#include "gauges.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kPlatesBitmap = bitmaps::kMagnetoPlates;  // two switch plates with hex nuts
constexpr int32_t kLeverBitmap = bitmaps::kMagnetoLever;    // icon 0 down (off), icon 1 up (on)

constexpr uint32_t kLeftMagnetoToken = 399;
constexpr uint32_t kRightMagnetoToken = 400;
constexpr uint32_t kMagnetosHelp = 41478;

constexpr uint32_t kMagnetosOff = 0x101e7;
constexpr uint32_t kMagnetosRight = 0x101e8;
constexpr uint32_t kMagnetosLeft = 0x101e9;
constexpr uint32_t kMagnetosBoth = 0x101ea;

// The selector event that leaves the magnetos as [left on][right on].
constexpr uint32_t kSelectorEvent[2][2] = {
    {kMagnetosOff, kMagnetosRight},
    {kMagnetosLeft, kMagnetosBoth},
};

// Both handlers look at both magnetos, left first, so that a change made since the host's last
// update is seen. Only exactly 1 counts as on: 2, -1 and the rest read as off.
void RefreshMagnetos() {
    HostServices()->lookup_variable(&MagnetosLeftVariable);
    MagnetosLeftState = TruncateToInt32(VariableNumber(MagnetosLeftVariable));
    HostServices()->lookup_variable(&MagnetosRightVariable);
    MagnetosRightState = TruncateToInt32(VariableNumber(MagnetosRightVariable));
}

}  // namespace

HostVariable MagnetosLeftVariable = Var(kLeftMagnetoToken);
HostVariable MagnetosRightVariable = Var(kRightMagnetoToken);
int32_t MagnetosLeftState = 0;
int32_t MagnetosRightState = 0;

uint32_t MagnetosLeftClick(const MousePoint*, uint32_t) {
    RefreshMagnetos();
    const bool left_on = MagnetosLeftState == 1;
    const bool right_on = MagnetosRightState == 1;
    HostServices()->trigger_event(kSelectorEvent[!left_on][right_on], 0);
    return 0;
}

uint32_t MagnetosRightClick(const MousePoint*, uint32_t) {
    RefreshMagnetos();
    const bool left_on = MagnetosLeftState == 1;
    const bool right_on = MagnetosRightState == 1;
    HostServices()->trigger_event(kSelectorEvent[left_on][!right_on], 0);
    return 0;
}

namespace {

IconElement left_lever = {
    .header = {.kind = kIcon, .bitmap_id = kLeverBitmap, .x = face_geometry::kLeftMagnetoLever.x,
               .y = face_geometry::kLeftMagnetoLever.y,
               .owner = &MagnetosGauge, .image_flags = 0x3},
    .variable = Var(kLeftMagnetoToken),
    .switch_type = 0,
    .scale = 0.0,
    .offset_value = 0,
    .count = 2,
};

IconElement right_lever = {
    .header = {.kind = kIcon, .bitmap_id = kLeverBitmap, .x = face_geometry::kRightMagnetoLever.x,
               .y = face_geometry::kRightMagnetoLever.y,
               .owner = &MagnetosGauge, .image_flags = 0x3},
    .variable = Var(kRightMagnetoToken),
    .switch_type = 0,
    .scale = 0.0,
    .offset_value = 0,
    .count = 2,
};

ElementHeader* plates_children[] = {&left_lever.header, &right_lever.header, nullptr};

StaticImageElement plates = {
    .header = {.kind = kStaticImage, .bitmap_id = kPlatesBitmap, .x = 0, .y = 0,
               .owner = &MagnetosGauge, .children = plates_children, .image_flags = 0x1},
};

ElementHeader* elements[] = {&plates.header, nullptr};

MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kMagnetosHelp),
    MouseHandlerArea({0, 0, 50, 100}, kCursorHand, kMouseLeftSingle, MagnetosLeftClick),
    MouseHandlerArea({50, 0, 50, 100}, kCursorHand, kMouseLeftSingle, MagnetosRightClick),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader MagnetosGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Magnetos",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
