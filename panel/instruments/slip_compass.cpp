// "Slip" and "Compass": the two instruments whose moving part slides instead of turning. The slip
// ball is pure data; the compass card is a strip whose headings fall from left to right, so the
// strip is driven by 360 minus the heading.
#include <cmath>

#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kSlipFaceBitmap = bitmaps::kSlipFace;          // tube between the centre lines
constexpr int32_t kSlipBallBitmap = bitmaps::kSlipBall;
constexpr int32_t kCompassPlateBitmap = bitmaps::kCompassPlate;  // window and lubber line
constexpr int32_t kCompassCardBitmap = bitmaps::kCompassCard;    // its companion masks the window

constexpr uint32_t kSlipBallToken = 69;
constexpr uint32_t kHeadingToken = 83;  // degrees

constexpr uint32_t kSlipHelp = 43873;
constexpr uint32_t kCompassHelp = 43895;

}  // namespace

// A heading outside 0..360 shows N (value 0); NaN and infinities included.
double CompassStripXValue(ElementHeader* element) {
    const double d = 360.0 - VariableNumber(ElementAs<MovingImageElement>(element)->x_variable);
    if (d < 0.0) return 0.0;
    if (d > 360.0) return 0.0;
    if (std::isnan(d)) return 0.0;
    return d;
}

double CompassStripYValue(ElementHeader*) { return 1.0; }

namespace {

// ---- Slip ---------------------------------------------------------------------------------------

// The ball has no failure of its own: only the face freezes with the turn coordinator.
const FailureRecord slip_failures[] = {
    Failure(kFailTurnCoordinator, kFailFreeze),
    kFailureEnd,
};

extern SliderElement slip_ball;

ElementHeader* slip_face_children[] = {&slip_ball.header, nullptr};

StaticImageElement slip_face = {
    .header = {.kind = kStaticImage, .bitmap_id = kSlipFaceBitmap, .x = 0, .y = 0,
               .owner = &SlipGauge, .children = slip_face_children, .failures = slip_failures,
               .image_flags = 0x1},
};

// Left edge at 127 + 0.72 x value: at 0 the ball fills the space between the centre lines.
SliderElement slip_ball = {
    .header = {.kind = kSlider, .bitmap_id = kSlipBallBitmap, .x = face_geometry::kSlipBallAtZero.x,
               .y = face_geometry::kSlipBallAtZero.y,
               .owner = &SlipGauge, .image_flags = 0x3},
    .x_variable = Var(kSlipBallToken),
    .x_scale = 0.72,
    .y_variable = Var(0),
    .y_scale = 0.0,
};

ElementHeader* slip_elements[] = {&slip_face.header, nullptr};

MouseArea slip_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kSlipHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---- Compass ------------------------------------------------------------------------------------

// Only the card freezes with the compass.
const FailureRecord compass_failures[] = {
    Failure(kFailCompass, kFailFreeze),
    kFailureEnd,
};

extern MovingImageElement compass_card;

ElementHeader* compass_plate_children[] = {&compass_card.header, nullptr};

StaticImageElement compass_plate = {
    .header = {.kind = kStaticImage, .bitmap_id = kCompassPlateBitmap, .x = 0, .y = 0,
               .owner = &CompassGauge, .children = compass_plate_children, .image_flags = 0x1},
};

// The position puts the companion's lubber line over the plate's.
MovingImageElement compass_card = {
    .header = {.kind = kMovingImage, .bitmap_id = kCompassCardBitmap,
               .x = face_geometry::kCompassCard.x, .y = face_geometry::kCompassCard.y,
               .owner = &CompassGauge, .failures = compass_failures, .image_flags = 0x3},
    .x_variable = Var(kHeadingToken),
    .x_min = 0.0,
    .x_max = 360.0,
    .y_variable = Var(0),
    .y_min = 0.0,
    .y_max = 0.0,
    .x_callback = CompassStripXValue,
    .y_callback = CompassStripYValue,
};

ElementHeader* compass_elements[] = {&compass_plate.header, nullptr};

MouseArea compass_mouse_areas[] = {
    MouseParentArea(kWholeGauge, kCompassHelp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader SlipGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Slip",
    .elements = slip_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = slip_mouse_areas,
};

GaugeHeader CompassGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Compass",
    .elements = compass_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = compass_mouse_areas,
};
