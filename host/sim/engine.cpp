// A two-stroke twin on a fixed-pitch propeller. It fires when it turns fast enough with fuel and
// a magneto, and stops when both magnetos are off, the tank is dry or the engine failure is
// active. Its speed follows the throttle with a lag and rises with airspeed as the propeller
// unloads, so a full-power dive over-speeds it. Temperatures and pressures follow targets that
// depend on power, each with its own lag.
#include <algorithm>

#include "controls.h"
#include "model.h"

namespace host::sim {
namespace {

void Lag(double& value, double target, double tau, double dt) { value += (target - value) * dt / tau; }

}  // namespace

void StepEngine(Model& m, double dt) {
    Engine& e = m.engine;
    const Panel& p = m.panel;

    if (e.starter_hold > 0) {
        e.starter_hold -= dt;
        if (e.starter_hold <= 0) {
            e.starter_hold = 0;
            m.tokens.Set(kTokenStarter, 0);
        }
    }
    e.cranking = e.starter_hold > 0 && m.electrical.bus;

    const bool ignition = p.magneto_left || p.magneto_right;
    const bool can_fire = ignition && m.fuel.litres > 0 && !m.Failed(kFailureEngine);
    if (!can_fire) e.running = false;
    else if (e.rpm >= kFiringRpm) e.running = true;

    const double knots = m.flight.tas * kKnotsPerMps;
    Lag(e.power, e.running ? p.throttle : 0, e.running ? 0.5 : 0.2, dt);
    double rpm_target;
    double tau;
    if (e.running) {
        rpm_target = kIdleRpm + (kFullStaticRpm - kIdleRpm) * e.power + 0.1 * (0.3 + 0.7 * e.power) * knots * knots;
        if (!(p.magneto_left && p.magneto_right)) rpm_target *= 0.97;  // the magneto drop
        tau = 0.4;
    } else if (e.cranking) {
        rpm_target = kCrankingRpm;
        tau = 0.3;
    } else {
        rpm_target = m.flight.on_ground ? 0 : 0.05 * knots * knots;  // windmilling
        tau = 1.2;
    }
    Lag(e.rpm, std::min(rpm_target, 7500.0), tau, dt);
    if (e.running) e.elapsed += dt;

    const double ambient = AmbientC(m.flight.height);
    // Long running above 85 % power soaks the exhaust with heat: after about two minutes of full
    // power the exhaust gas temperature passes the monitor's alarm.
    const double soak_target = e.running ? 60 * std::max(0.0, e.power - 0.85) / 0.15 : 0;
    Lag(e.heat_soak, soak_target, soak_target > e.heat_soak ? 300 : 120, dt);
    if (e.running) {
        Lag(e.egt, 380 + 240 * e.power + e.heat_soak, 3, dt);
        Lag(e.cht, ambient + 60 + 75 * e.power - 0.15 * (knots - 60), 60, dt);
        Lag(e.oil_temp, ambient + 50 + 35 * e.power, 90, dt);
    } else {
        Lag(e.egt, ambient, 20, dt);
        Lag(e.cht, ambient, 300, dt);
        Lag(e.oil_temp, ambient, 600, dt);
    }
    // Cold oil is thick: revving a cold engine passes the high-pressure alarm, while hot oil at
    // idle falls below the low one. The relief valve caps the pressure.
    const double viscosity = std::clamp(1 + 0.7 * (90 - e.oil_temp) / 75, 0.7, 1.8);
    const double pump = 0.9 * std::min(1.0, e.rpm / 1000) + 2.4 * e.rpm / 5500;
    Lag(e.oil_pressure_bar, std::min(pump * viscosity, 6.5), 0.15, dt);
}

}  // namespace host::sim
