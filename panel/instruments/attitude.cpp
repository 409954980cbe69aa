// "Attitude": the artificial horizon. The horizon card moves with pitch (held at 43 either way) and
// turns with bank, the bank ring turns with bank in front of it, and the miniature-aircraft bar in
// front of both is raised and lowered with the knob.
//
// The knob is self-reversing: both halves step the bar the same way until a sweep runs one step past
// 1..12, and the next click on either half folds it back and reverses the direction. So after a
// reversal the left half raises the bar and the right half lowers it.
#include <cmath>

#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"
#include "resources/bitmap_ids.h"
#include "resources/face_geometry.h"

namespace {

constexpr int32_t kBackgroundBitmap = bitmaps::kAttitudeFrame;   // bezel and knob
constexpr int32_t kHorizonCardBitmap = bitmaps::kHorizonCard;    // its companion is the frame again
constexpr int32_t kBankRingBitmap = bitmaps::kBankRing;          // its companion is the frame again
constexpr int32_t kReferenceBarBitmap = bitmaps::kReferenceBar;  // its companion is the frame again

constexpr uint32_t kPitchToken = 78;
constexpr uint32_t kBankToken = 80;
constexpr uint32_t kAttitudeHelp = 43789;

constexpr double kPitchLimit = 43.0;
constexpr uint32_t kBarLowest = 1;
constexpr uint32_t kBarHighest = 12;

}  // namespace

uint32_t ReferenceBarPosition = 5;
int32_t ReferenceBarStep = +1;

// A NaN pitch has no place on the card: it is drawn level rather than handed on to the host.
double HorizonPitchValue(ElementHeader* element) {
    const double pitch = VariableNumber(ElementAs<SpriteElement>(element)->y_variable);
    if (pitch > kPitchLimit) return kPitchLimit;
    if (pitch < -kPitchLimit) return -kPitchLimit;
    if (std::isnan(pitch)) return 0.0;
    return pitch;
}

double ReferenceBarValue(ElementHeader*) { return static_cast<double>(ReferenceBarPosition); }

uint32_t FoldReferenceBar(uint32_t position) {
    if (position < kBarLowest) {
        position = kBarLowest;
        ReferenceBarStep = -ReferenceBarStep;
    }
    if (position > kBarHighest) {
        position = kBarHighest;
        ReferenceBarStep = -ReferenceBarStep;
    }
    return position;
}

// The fold comes before the move, so a sweep stores one step past 1..12 (0 or 13) before it turns.
uint32_t ReferenceBarDown(const MousePoint*, uint32_t) {
    ReferenceBarPosition = FoldReferenceBar(ReferenceBarPosition);
    ReferenceBarPosition -= static_cast<uint32_t>(ReferenceBarStep);
    return 0;
}

uint32_t ReferenceBarUp(const MousePoint*, uint32_t) {
    ReferenceBarPosition = FoldReferenceBar(ReferenceBarPosition);
    ReferenceBarPosition += static_cast<uint32_t>(ReferenceBarStep);
    return 0;
}

namespace {

// Background, horizon card and bank ring freeze with the attitude indicator or the vacuum; the bar
// has no failures and follows the knob regardless.
const FailureRecord attitude_failures[] = {
    Failure(kFailAttitude, kFailFreeze),
    Failure(kFailVacuum, kFailFreeze),
    kFailureEnd,
};

// Drawn in this order, each the only child of the one before.
extern SpriteElement horizon_card;
extern SpriteElement bank_ring;
extern SpriteElement reference_bar;

ElementHeader* background_children[] = {&horizon_card.header, nullptr};

StaticImageElement background = {
    .header = {.kind = kStaticImage, .bitmap_id = kBackgroundBitmap, .x = 0, .y = 0,
               .owner = &AttitudeGauge, .children = background_children,
               .failures = attitude_failures, .image_flags = 0x1},
};

ElementHeader* horizon_card_children[] = {&bank_ring.header, nullptr};

SpriteElement horizon_card = {
    .header = {.kind = kSprite, .bitmap_id = kHorizonCardBitmap, .x = 0, .y = 0,
               .offset_x = 133, .offset_y = 134, .owner = &AttitudeGauge,
               .children = horizon_card_children, .failures = attitude_failures,
               .image_flags = 0x81},
    .x_variable = Var(0),
    .x_scale = 0.0,
    .y_variable = Var(kPitchToken),
    .y_scale = 2.0,
    .rotation_variable = Var(kBankToken),
    .rotation_scale = -1.0,
    .texture_scale_x = 0.55f,
    .texture_scale_y = 0.55f,
    .y_callback = HorizonPitchValue,
};

ElementHeader* bank_ring_children[] = {&reference_bar.header, nullptr};

SpriteElement bank_ring = {
    .header = {.kind = kSprite, .bitmap_id = kBankRingBitmap, .x = 0, .y = 0,
               .offset_x = 134, .offset_y = 134, .owner = &AttitudeGauge,
               .children = bank_ring_children, .failures = attitude_failures,
               .image_flags = 0x81},
    .x_variable = Var(0),
    .x_scale = 0.0,
    .y_variable = Var(0),
    .y_scale = 0.0,
    .rotation_variable = Var(kBankToken),
    .rotation_scale = -1.0,
    .texture_scale_x = 1.05f,
    .texture_scale_y = 1.05f,
};

// A larger position draws the bar higher: y scale -3 with y growing downward.
SpriteElement reference_bar = {
    .header = {.kind = kSprite, .bitmap_id = kReferenceBarBitmap, .x = 0, .y = 0,
               .offset_x = 134, .offset_y = 170, .owner = &AttitudeGauge, .image_flags = 0x3},
    .x_variable = Var(0),
    .x_scale = 0.0,
    .y_variable = Var(0),
    .y_scale = -3.0,
    .rotation_variable = Var(0),
    .rotation_scale = 0.0,
    .texture_scale_x = 1.0f,
    .texture_scale_y = 1.0f,
    .y_callback = ReferenceBarValue,
};

ElementHeader* elements[] = {&background.header, nullptr};

// The knob's two halves; columns 135 to 137 between them belong to neither.
MouseArea mouse_areas[] = {
    MouseParentArea(kWholeGauge, kAttitudeHelp),
    MouseHandlerArea(face_geometry::kReferenceBarDownBox, kCursorDownArrow, kMouseLeftRepeat,
                     ReferenceBarDown),
    MouseHandlerArea(face_geometry::kReferenceBarUpBox, kCursorUpArrow, kMouseLeftRepeat,
                     ReferenceBarUp),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader AttitudeGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Attitude",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse_areas,
};
