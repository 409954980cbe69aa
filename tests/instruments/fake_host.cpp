#include "fake_host.h"

#include <map>

#include "gauges.h"
#include "module.h"

// The lifecycle routines read Linkage; these are the instruments in the module's order.
ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&AttitudeGauge, &SlipGauge, &AltimeterMtrGauge, &AltimeterFtGauge, &FuelpresGauge,
               &AirspeedGauge, &VsiGauge, &CompassGauge, nullptr},
};

namespace fake_host {
namespace {

std::map<uint32_t, double> served;
std::vector<uint32_t> lookups;

uint32_t Lookup(HostVariable* variable) {
    lookups.push_back(variable->token);
    auto it = served.find(variable->token);
    SetVariableNumber(*variable, it == served.end() ? 0.0 : it->second);
    return 0;
}

// Only LookupVariable is ever called by the instruments; a call of anything else crashes the test.
HostServiceTable MakeTable() {
    HostServiceTable t{};
    t.lookup_variable = Lookup;
    return t;
}
HostServiceTable table = MakeTable();

}  // namespace

void Reset() {
    served.clear();
    lookups.clear();
    ImportTable.entries[0].pointer = &table;
}

void Serve(uint32_t token, double value) { served[token] = value; }

const std::vector<uint32_t>& Lookups() { return lookups; }

}  // namespace fake_host

namespace {

void Walk(ElementHeader* element, std::vector<ElementHeader*>& out) {
    out.push_back(element);
    if (element->children == nullptr) return;
    for (ElementHeader** child = element->children; *child != nullptr; ++child) Walk(*child, out);
}

}  // namespace

std::vector<ElementHeader*> DrawOrder(const GaugeHeader& gauge) {
    std::vector<ElementHeader*> out;
    Walk(gauge.elements[0], out);
    return out;
}
