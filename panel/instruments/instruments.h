// Callbacks and module state of the flight instruments: "Attitude", "Airspeed", "VSI",
// "Fuelpres", "Altimeter_mtr", "Altimeter_ft", "Slip" and "Compass". The gauge records themselves
// are declared in gauges.h; everything here is reached by the host through those records and is
// declared only so that tests can call it directly.
#pragma once

#include <cstdint>

#include "gauge.h"

// ---- Attitude -----------------------------------------------------------------------------------

// Position of the miniature-aircraft bar and the direction of the next knob step. One pair for the
// loaded module: every instance of the gauge shows and moves the same bar, and nothing resets it.
extern uint32_t ReferenceBarPosition;  // 5 at load; stored values run 0 to 13
extern int32_t ReferenceBarStep;       // +1 at load; +1 or -1

double HorizonPitchValue(ElementHeader* element);
double ReferenceBarValue(ElementHeader* element);
uint32_t FoldReferenceBar(uint32_t position);
uint32_t ReferenceBarDown(const MousePoint* point, uint32_t event_flags);
uint32_t ReferenceBarUp(const MousePoint* point, uint32_t event_flags);

// ---- Airspeed, VSI, Fuelpres --------------------------------------------------------------------

double VerticalSpeedValue(ElementHeader* element);
double FuelPressureValue(ElementHeader* element);

// ---- Altimeters ---------------------------------------------------------------------------------

// Variables that the altimeter callbacks refresh themselves, and the tooltip argument record that
// both altimeters share.
extern HostVariable KollsmanSetting;
extern HostVariable UnitsSetting;
extern TooltipArgs KollsmanTooltipArgs;

// What a Kollsman window shows when the setting needs more than its 4 characters or is not a
// number at all.
inline constexpr char kKollsmanOverflowText[] = "****";

double MetricAltitudeValue(ElementHeader* element);
double KollsmanWindowText(ElementHeader* element);
double KollsmanTooltipValue(TooltipArgs* args);

// ---- Compass ------------------------------------------------------------------------------------

double CompassStripXValue(ElementHeader* element);
double CompassStripYValue(ElementHeader* element);
