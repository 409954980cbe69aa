// The Skelvan bitmaps' ids: the gauge records name them and the artwork draws a picture for each.
// An icon's pictures follow its id one by one (icon i is id + i). The companions, one past their
// element's id, are named by no record: the host takes them along with the element.
#pragma once

#include <cstdint>

namespace bitmaps {

// "Attitude"
inline constexpr int32_t kAttitudeFrame = 4096;           // 300 x 290, bezel and knob
inline constexpr int32_t kHorizonCard = 4352;             // 256 x 256
inline constexpr int32_t kHorizonCardCompanion = 4353;    // the frame again
inline constexpr int32_t kBankRing = 4608;                // 256 x 256
inline constexpr int32_t kBankRingCompanion = 4609;       // the frame again
inline constexpr int32_t kReferenceBar = 4864;            // 154 x 130
inline constexpr int32_t kReferenceBarCompanion = 4865;   // the frame again

// "Airspeed", "VSI", "Fuelpres"
inline constexpr int32_t kAirspeedDial = 9984;        // 300 x 300, km/h
inline constexpr int32_t kAirspeedNeedle = 10240;     // 165 x 30
inline constexpr int32_t kVsiDial = 10496;            // 300 x 300, m/s
inline constexpr int32_t kVsiNeedle = 12288;          // 122 x 7
inline constexpr int32_t kFuelPressureDial = 9472;    // 300 x 300, 0 to 1 bar
inline constexpr int32_t kFuelPressureNeedle = 9728;  // 153 x 38, 16 colours

// "Altimeter_mtr", "Altimeter_ft"
inline constexpr int32_t kMetricAltimeterDial = 16640;    // 300 x 300, km
inline constexpr int32_t kMetricAltimeterNeedle = 16896;  // 150 x 21
inline constexpr int32_t kFeetAltimeterDial = 17152;      // 300 x 312
inline constexpr int32_t kHundredsHand = 17153;           // 145 x 23
inline constexpr int32_t kThousandsHand = 17154;          // 86 x 31, 16 colours
inline constexpr int32_t kTenThousandsHand = 17155;       // 120 x 23

// "Slip", "Compass"
inline constexpr int32_t kSlipFace = 13824;              // 300 x 300
inline constexpr int32_t kSlipBall = 14080;              // 43 x 55
inline constexpr int32_t kCompassPlate = 12544;          // 300 x 296
inline constexpr int32_t kCompassCard = 12800;           // 1302 x 60, the heading strip
inline constexpr int32_t kCompassCardCompanion = 12801;  // 144 x 73, the strip's window mask

// "Flydat" and the warning lamps
inline constexpr int32_t kFlydatFace = 5120;  // 600 x 199
inline constexpr int32_t kRoundLamp = 5632;   // 49 x 49, icons dark and lit
inline constexpr int32_t kFuelLamp = 9216;    // 100 x 100, icons dark and lit; icon 0 is the root

// "Masterswitch", "Startbutton", "Switches", "Magnetos"
inline constexpr int32_t kMasterBezel = 13056;   // 127 x 127
inline constexpr int32_t kMasterGrip = 13057;    // icons off and on
inline constexpr int32_t kStartRing = 5376;      // 100 x 100
inline constexpr int32_t kStartButton = 5377;    // icons released and pressed
inline constexpr int32_t kSwitchNuts = 14336;    // 176 x 46
inline constexpr int32_t kSwitchLever = 14337;   // icons down (16 x 46) and up (16 x 25)
inline constexpr int32_t kMagnetoPlates = 13568; // 100 x 86
inline constexpr int32_t kMagnetoLever = 13569;  // icons down (16 x 46) and up (16 x 25)

// "Throttle", "Flap_trim_handle"
inline constexpr int32_t kThrottleCollar = 14592;          // 548 x 468
inline constexpr int32_t kThrottleKnob = 16384;            // 326 x 212, 24-bit colour
inline constexpr int32_t kFlapBase = 18176;                // 200 x 244
inline constexpr int32_t kFlapHandle = 18177;              // 100 x 255, icons up, mid and down
inline constexpr int32_t kTrimIndicator = 18432;           // 60 x 128
inline constexpr int32_t kTrimIndicatorCompanion = 18433;  // 60 x 128

// "Icom"
inline constexpr int32_t kRadioFace = 13312;  // 600 x 136

}  // namespace bitmaps
