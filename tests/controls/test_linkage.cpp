// The tests' own Linkage: the control gauges alone, "Masterswitch" first as in the module.
#include "gauges.h"
#include "module.h"

ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&MasterswitchGauge, &StartbuttonGauge, &IcomGauge, &MagnetosGauge, &SwitchesGauge,
               &ThrottleGauge, &FlapTrimHandleGauge, nullptr},
};
