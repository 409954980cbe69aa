// A stand-in for the host: a service table whose LookupVariable serves values set by the test, and
// helpers to reach the gauges' records the way the host does, through their GaugeHeaders.
#pragma once

#include <cstdint>
#include <vector>

#include "gauge.h"

namespace fake_host {

// Installs the fake table in ImportTable and forgets every served value and every lookup.
void Reset();
// The value that LookupVariable will deliver for a token.
void Serve(uint32_t token, double value);
// Tokens looked up since Reset, in call order.
const std::vector<uint32_t>& Lookups();

}  // namespace fake_host

// The elements of a gauge in draw order: parent first, then each child with everything below it.
std::vector<ElementHeader*> DrawOrder(const GaugeHeader& gauge);

// The first element of a kind in draw order; fails the test when there is none.
template <typename Kind>
Kind* First(const GaugeHeader& gauge) {
    for (ElementHeader* e : DrawOrder(gauge))
        if (e->kind == kKindOf<Kind>) return ElementAs<Kind>(e);
    return nullptr;
}
