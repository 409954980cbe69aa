#include "fake_host.h"

#include "gauges.h"
#include "module.h"

// The lifecycle routines read Linkage; these are the instruments in the module's order.
ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&AttitudeGauge, &SlipGauge, &AltimeterMtrGauge, &AltimeterFtGauge, &FuelpresGauge,
               &AirspeedGauge, &VsiGauge, &CompassGauge, nullptr},
};

void InstallInstrumentsFakeHost() {
    InstallFakeHost();
    static HostServiceTable lookup_only{};
    lookup_only.lookup_variable = FakeHostTable().lookup_variable;
    ImportTable.entries[0].pointer = &lookup_only;
}

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
