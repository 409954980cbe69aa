// Tokens, events and fixed numbers of the aircraft model. docs/tokens.md lists every token's unit
// and range; keep the two in step.
#pragma once

#include <cstdint>

#include "../core/token_store.h"

namespace host::sim {

// Tokens the model writes (and, for the panel's controls, reads back).
inline constexpr uint32_t kTokenTickCounter = 1;
inline constexpr uint32_t kTokenStrobe = 11;
inline constexpr uint32_t kTokenLandingLight = 14;
using host::kTokenComActive;  // 23, BCD
inline constexpr uint32_t kTokenAirspeed = 61;
inline constexpr uint32_t kTokenVerticalSpeed = 65;
inline constexpr uint32_t kTokenSlipBall = 69;
inline constexpr uint32_t kTokenAltitude = 74;
inline constexpr uint32_t kTokenKollsman = 75;
inline constexpr uint32_t kTokenPitch = 78;
inline constexpr uint32_t kTokenBank = 80;
inline constexpr uint32_t kTokenHeading = 83;
inline constexpr uint32_t kTokenFlapHandle = 328;
inline constexpr uint32_t kTokenUnits = 335;
inline constexpr uint32_t kTokenMaster = 364;
inline constexpr uint32_t kTokenFuelWarning = 386;
inline constexpr uint32_t kTokenEngineSpeed = 390;
inline constexpr uint32_t kTokenThrottle = 392;
inline constexpr uint32_t kTokenMagnetoLeft = 399;
inline constexpr uint32_t kTokenMagnetoRight = 400;
inline constexpr uint32_t kTokenStarter = 401;
inline constexpr uint32_t kTokenExhaustGas = 413;
inline constexpr uint32_t kTokenCylinderHead = 415;
inline constexpr uint32_t kTokenOilTemperature = 416;
inline constexpr uint32_t kTokenOilPressure = 418;
inline constexpr uint32_t kTokenFuelPressure = 425;
inline constexpr uint32_t kTokenEngineElapsed = 607;
using host::kTokenComStandby;  // 617, BCD
inline constexpr uint32_t kTokenFuelPump = 740;
inline constexpr uint32_t kTokenCharging = 762;
inline constexpr uint32_t kTokenTrim = 783;

// Events the model performs.
inline constexpr uint32_t kEventComWholeDown = 0x10064;
inline constexpr uint32_t kEventComWholeUp = 0x10065;
inline constexpr uint32_t kEventComFractionDown = 0x10066;
inline constexpr uint32_t kEventComFractionUp = 0x10067;
inline constexpr uint32_t kEventStrobe = 0x10018;
inline constexpr uint32_t kEventTrimDown = 0x10047;  // nose down
inline constexpr uint32_t kEventTrimUp = 0x1004f;    // nose up
inline constexpr uint32_t kEventLandingLight = 0x100d7;
inline constexpr uint32_t kEventFlapsUp = 0x100de;    // one notch up (retract)
inline constexpr uint32_t kEventFlapsDown = 0x100df;  // one notch down (extend)
inline constexpr uint32_t kEventKollsmanUp = 0x1015b;
inline constexpr uint32_t kEventKollsmanDown = 0x1015c;
inline constexpr uint32_t kEventMagnetosOff = 0x101e7;
inline constexpr uint32_t kEventMagnetosRight = 0x101e8;
inline constexpr uint32_t kEventMagnetosLeft = 0x101e9;
inline constexpr uint32_t kEventMagnetosBoth = 0x101ea;
inline constexpr uint32_t kEventFuelPump = 0x102f5;
inline constexpr uint32_t kEventStarter = 0x102fc;
inline constexpr uint32_t kEventComSwap = 0x10344;
inline constexpr uint32_t kEventMasterToggle = 0x10346;

// Failure keys the model itself obeys; the others only act on the gauges, through the host.
inline constexpr uint32_t kFailureEngine = 2;
inline constexpr uint32_t kFailureElectrical = 20;

// Conversions into the units the gauges read.
inline constexpr double kEngineSpeedPerRpm = 1 / 1.9;  // the monitor shows 1.9 x token 390
inline constexpr double kOilPressurePerBar = 2080;     // token / 208 = tenths of a bar
inline constexpr double kFuelPressurePerBar = 5200;    // 5200 = the dial's 1 bar
inline constexpr double kVerticalSpeedPerMps = 256;
inline constexpr double kFeetPerMetre = 1 / 0.3048;
inline constexpr double kKnotsPerMps = 3600 / 1852.0;
inline double TemperatureToken(double celsius) { return celsius * 9 / 5 + 428; }

// Panel control ranges.
inline constexpr double kFlapHandleNotch[3] = {0, 8192, 16383};
inline constexpr double kTrimStep = 1 / 32.0;  // per trim event; 32 events from neutral to a stop
inline constexpr double kKollsmanStandard = 1013.25;
inline constexpr double kKollsmanMin = 948;
inline constexpr double kKollsmanMax = 1084;
inline constexpr double kKollsmanStep = 1;
inline constexpr double kStarterHoldSeconds = 0.4;  // a held button repeats faster than this

// The aircraft and its airfield.
inline constexpr double kFieldElevationM = 150;
inline constexpr double kRunwayHeading = 270;
inline constexpr double kAmbientSeaLevelC = 15;
inline constexpr double kFuelCapacityLitres = 50;
inline constexpr double kFuelStartLitres = 40;
inline constexpr double kFuelReserveLitres = 5;  // token 386 counts in reserves: lamp below 1
inline constexpr double kIdleRpm = 1450;
inline constexpr double kFullStaticRpm = 5200;
inline constexpr double kFiringRpm = 250;
inline constexpr double kCrankingRpm = 300;
inline constexpr double kChargingRpm = 1800;

}  // namespace host::sim
