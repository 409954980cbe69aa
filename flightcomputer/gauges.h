// The Q4d module's gauges and the flight computer's state and callbacks.
#pragma once

#include <cstdint>

#include "gauge.h"

extern GaugeHeader Q4dGauge;
extern GaugeHeader IconQ4dGauge;

// The disc's position in needle units: 0.0 at load, changed only by the four step handlers,
// never bounded, wrapped or reset. One value for every instance of "Q4D".
extern double DiscPosition;

double DiscPositionValue(ElementHeader* element);
uint32_t DiscIncreaseLarge(const MousePoint* point, uint32_t event_flags);
uint32_t DiscIncreaseSmall(const MousePoint* point, uint32_t event_flags);
uint32_t DiscDecreaseLarge(const MousePoint* point, uint32_t event_flags);
uint32_t DiscDecreaseSmall(const MousePoint* point, uint32_t event_flags);
uint32_t FlightComputerToggle(const MousePoint* point, uint32_t event_flags);
