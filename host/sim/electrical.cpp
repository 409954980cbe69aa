// Electrical system: the master switch powers the bus (starter, fuel pump, lights); the
// alternator charges once the engine turns faster than a fast idle.
#include <algorithm>

#include "model.h"

namespace host::sim {

void StepElectrical(Model& m) {
    Electrical& e = m.electrical;
    e.bus = m.panel.master && !m.Failed(kFailureElectrical);
    // Charge current grows over the first 1000 rpm above the charging speed. The engine speed is
    // last step's: one step of lag is far below what a pilot sees.
    const double ramp = std::clamp((m.engine.rpm - kChargingRpm) / 1000, 0.0, 1.0);
    e.charge_amps = e.bus ? 8 * ramp : 0;
}

}  // namespace host::sim
