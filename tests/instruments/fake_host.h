// The shared fake host, set up for the instruments, and helpers to reach the gauges' records the
// way the host does, through their GaugeHeaders.
#pragma once

#include <cstdint>
#include <vector>

#include "gauge.h"
#include "gauge_fake_host.h"

// Installs the shared fake host with only its LookupVariable in the table: the instruments call
// nothing else, and a call of anything else crashes the test.
void InstallInstrumentsFakeHost();

// The elements of a gauge in draw order: parent first, then each child with everything below it.
std::vector<ElementHeader*> DrawOrder(const GaugeHeader& gauge);

// The first element of a kind in draw order; fails the test when there is none.
template <typename Kind>
Kind* First(const GaugeHeader& gauge) {
    for (ElementHeader* e : DrawOrder(gauge))
        if (e->kind == kKindOf<Kind>) return ElementAs<Kind>(e);
    return nullptr;
}
