// Numbers that the gauge records and the pictures share. The records place the disc and the
// arrow buttons by these; the artwork paints the disc's centre, the scales and the arrows by the
// same numbers, so the two cannot drift apart.
#pragma once

#include <cstdint>

#include "gauge.h"

namespace q4d {

// Bitmap ids and sizes.
inline constexpr int32_t kBodyBitmap = 4096;   // 0x1000: the computer's body
inline constexpr int32_t kBodyWidth = 714;
inline constexpr int32_t kBodyHeight = 814;
inline constexpr int32_t kDiscBitmap = 4352;   // 0x1100: the turning disc
inline constexpr int32_t kDiscSize = 560;
inline constexpr int32_t kIconBitmap = 8192;   // 0x2000: the 12 mm toggle icon
inline constexpr int32_t kIconSize = 12;

// The pivot on the body and on the disc picture (its centre).
inline constexpr int32_t kPivotX = 364;
inline constexpr int32_t kPivotY = 410;
inline constexpr int32_t kDiscCentre = kDiscSize / 2;

// The disc's two table marks: straight above and straight below the pivot, opposite each other.
// A half turn is kUnitsPerHalfTurn units, so a full turn is twice that.
inline constexpr int32_t kMarkAboveY = 20;    // 390 above the pivot
inline constexpr int32_t kMarkBelowY = 600;   // 190 below the pivot
inline constexpr double kUnitsPerHalfTurn = 1799.0;

// Steps of the four arrow buttons, in disc units.
inline constexpr double kLargeStep = 100.0;
inline constexpr double kSmallStep = 1.0;

// The arrow buttons, (x, y, width, height) on the body.
inline constexpr MouseBox kDecreaseLargeBox{26, 698, 60, 60};
inline constexpr MouseBox kIncreaseLargeBox{640, 698, 60, 60};
inline constexpr MouseBox kDecreaseSmallBox{42, 768, 30, 30};
inline constexpr MouseBox kIncreaseSmallBox{654, 768, 30, 30};

// The host panel window that holds "Q4D"; the icon shows and hides it.
inline constexpr uint32_t kFlightComputerWindow = 10101;

}  // namespace q4d
