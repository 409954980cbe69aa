// Callbacks and module state of the control gauges, for the records and for tests.
#pragma once

#include <cstdint>

#include "gauge.h"

// "Magnetos": two levers on the host's one four-position magneto selector.
extern HostVariable MagnetosLeftVariable;   // token 399, refreshed by every click
extern HostVariable MagnetosRightVariable;  // token 400
extern int32_t MagnetosLeftState;           // last refresh, truncated; 1 means on
extern int32_t MagnetosRightState;
uint32_t MagnetosLeftClick(const MousePoint* point, uint32_t event_flags);
uint32_t MagnetosRightClick(const MousePoint* point, uint32_t event_flags);

// "Flap_trim_handle": the flap handle icon, 0 up, 1 mid, 2 down.
double FlapHandleValue(ElementHeader* element);

// "Icom": the text of both frequency windows, and the tuning knobs.
double ComFrequencyText(ElementHeader* element);
uint32_t ComLargeKnobDown(const MousePoint* point, uint32_t event_flags);
uint32_t ComLargeKnobUp(const MousePoint* point, uint32_t event_flags);
uint32_t ComSmallKnobDown(const MousePoint* point, uint32_t event_flags);
uint32_t ComSmallKnobUp(const MousePoint* point, uint32_t event_flags);

