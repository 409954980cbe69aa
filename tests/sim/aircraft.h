// A simulation over its own token store, with the pilot's usual moves.
#pragma once

#include "sim/sim_tokens.h"
#include "sim/simulation.h"

namespace host::sim {

struct Aircraft {
    explicit Aircraft(bool demo = false) { sim.Reset(demo); }

    double Get(uint32_t token) const { return tokens.Get(token); }
    double Rpm() const { return tokens.Get(kTokenEngineSpeed) * 1.9; }  // as the monitor shows it
    double OilPressureBar() const { return tokens.Get(kTokenOilPressure) / kOilPressurePerBar; }
    double Celsius(uint32_t token) const { return (tokens.Get(token) - 428) * 5 / 9; }

    // The start button held: the host repeats its event while the mouse button is down.
    void HoldStarter(double seconds) {
        for (double t = 0; t < seconds; t += 0.1) {
            sim.Event(kEventStarter, 0);
            sim.Advance(0.1);
        }
    }
    void StartEngine() {
        sim.Event(kEventMasterToggle, 0);
        sim.Event(kEventMagnetosBoth, 0);
        HoldStarter(2);
        sim.Advance(2);
    }

    TokenStore tokens;
    Simulation sim{tokens};
};

}  // namespace host::sim
