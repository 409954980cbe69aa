// The Skelvan module's Linkage: its gauges in the order the panel system knows them.
// "Masterswitch" comes first: every lifecycle routine of the module acts on its root.
#include "gauges.h"
#include "module.h"

ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {
        // Each gauge is listed here as it is built; keep the order below.
        &MasterswitchGauge,
        &AttitudeGauge,
        &FlydatGauge,
        &SlipGauge,
        &StartbuttonGauge,
        &AltimeterMtrGauge,
        &AltimeterFtGauge,
        &FuelpresGauge,
        &FuelwarningGauge,
        &ChargewarningGauge,
        &FlydatwarningGauge,
        &AirspeedGauge,
        &VsiGauge,
        &CompassGauge,
        &IcomGauge,
        &MagnetosGauge,
        &SwitchesGauge,
        &ThrottleGauge,
        &FlapTrimHandleGauge,
        nullptr,
    },
};
