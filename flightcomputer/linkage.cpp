// The Q4d module's Linkage: the flight computer, then its toggle icon.
// Every lifecycle routine of the module acts on the root of "Q4D".
#include "gauges.h"
#include "module.h"

ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {
        &Q4dGauge,
        &IconQ4dGauge,
        nullptr,
    },
};
