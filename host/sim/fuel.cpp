// Fuel system: one tank, an engine-driven pump and the electric pump of the left switch. The
// carburettors need about 0.3 bar; either pump gives it.
#include <algorithm>

#include "model.h"

namespace host::sim {

void StepFuel(Model& m, double dt) {
    Fuel& f = m.fuel;
    const Engine& e = m.engine;
    if (e.running) {
        const double litres_per_hour = 4 + 22 * e.power;
        f.litres = std::max(0.0, f.litres - litres_per_hour * dt / 3600);
    }
    double target = 0;
    if (f.litres > 0) {
        const double mechanical = 0.30 * std::min(1.0, e.rpm / 1200) + 0.04 * e.power;
        const double electric = (m.electrical.bus && m.panel.fuel_pump) ? 0.32 : 0;
        target = std::max(mechanical, electric);
    }
    f.pressure_bar += (target - f.pressure_bar) * dt / 0.5;
}

}  // namespace host::sim
