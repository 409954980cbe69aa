// The gauge headers of the Skelvan module, in Linkage order.
#pragma once

#include "gauge.h"

extern GaugeHeader MasterswitchGauge;
extern GaugeHeader AttitudeGauge;
extern GaugeHeader FlydatGauge;
extern GaugeHeader SlipGauge;
extern GaugeHeader StartbuttonGauge;
extern GaugeHeader AltimeterMtrGauge;
extern GaugeHeader AltimeterFtGauge;
extern GaugeHeader FuelpresGauge;
extern GaugeHeader FuelwarningGauge;
extern GaugeHeader ChargewarningGauge;
extern GaugeHeader FlydatwarningGauge;
extern GaugeHeader AirspeedGauge;
extern GaugeHeader VsiGauge;
extern GaugeHeader CompassGauge;
extern GaugeHeader IcomGauge;
extern GaugeHeader MagnetosGauge;
extern GaugeHeader SwitchesGauge;
extern GaugeHeader ThrottleGauge;
extern GaugeHeader FlapTrimHandleGauge;
