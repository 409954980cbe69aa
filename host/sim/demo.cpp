// The demo flight: a pilot that starts the engine from cold and dark, warms it up, takes off,
// climbs with a turn, cruises around a box of turns, descends and climbs again, for ever. It
// works the same controls as a user (the panel's tokens and the pilot's stick), and a user's
// flight control ends it. Each phase decides from the aircraft's state, so the demo can take
// over whatever the aircraft is doing.
#include <algorithm>
#include <cmath>

#include "controls.h"
#include "model.h"

namespace host::sim {
namespace {

constexpr double kCruiseHeight = kFieldElevationM + 700;  // about 2300 ft above the field
constexpr double kClimbKnots = 55;
constexpr double kDescentKnots = 75;

double HeadingError(double target, double heading) {
    double d = std::fmod(target - heading + 540.0, 360.0) - 180;
    return d < -180 ? d + 360 : d;
}

double IasKnots(const Flight& f) { return f.tas * std::sqrt(DensityRatio(f.height)) * kKnotsPerMps; }

// Sets the elevator so that the flight path angle moves toward gamma_target within about two
// seconds, from the lift that this needs.
void FlyPathAngle(Model& m, double gamma_target) {
    const Flight& f = m.flight;
    const double speed = std::max(f.tas, 15.0);
    const double q = 0.5 * kSeaLevelDensity * DensityRatio(f.height) * speed * speed;
    const double lift = (kMass * speed * (gamma_target - f.gamma) / 2 + kWeight * std::cos(f.gamma)) /
                        std::cos(f.bank * kRad);
    const double alpha = std::clamp((lift / (q * kWingArea) - ZeroLift(f.flaps)) / kLiftSlope, -5.0, 11.0);
    m.pilot.pitch = std::clamp((alpha - 1 - 5 * m.panel.trim) / 10, -1.0, 1.0);
}

// Holds an airspeed with the elevator: the path angle at which the speed stays as it is, raised
// when too fast and lowered when too slow.
void HoldSpeed(Model& m, double knots) {
    const Flight& f = m.flight;
    const double steady = std::asin(std::clamp((f.thrust - f.drag) / kWeight, -0.5, 0.5));
    FlyPathAngle(m, std::clamp(steady + 0.01 * (IasKnots(f) - knots), -0.35, 0.35));
}

void HoldHeight(Model& m, double height) {
    const double climb = std::clamp(0.05 * (height - m.flight.height), -3.0, 3.0);
    FlyPathAngle(m, std::asin(std::clamp(climb / std::max(m.flight.tas, 15.0), -0.3, 0.3)));
}

void HoldHeading(Model& m, double heading) {
    const Flight& f = m.flight;
    const double error = HeadingError(heading, f.track);
    if (f.on_ground) {
        m.pilot.roll = 0;
        m.pilot.yaw = std::clamp(0.1 * error, -1.0, 1.0);
        return;
    }
    const double bank = std::clamp(1.5 * error, -20.0, 20.0);
    m.pilot.roll = std::clamp(0.08 * (bank - f.bank), -1.0, 1.0);
    m.pilot.yaw = 0.25 * m.pilot.roll;  // against adverse yaw: keeps the ball centred
}

// Winds the trim slowly toward the elevator's position, as a pilot does to rest the arm.
void Trim(Model& m, double dt) {
    m.panel.trim = TrimOf(m.panel.trim + 0.1 * m.pilot.pitch * dt);
    SetTrim(m, m.panel.trim);
}

void Enter(Demo& d, DemoPhase phase) {
    d.phase = phase;
    d.phase_time = 0;
    d.turns = 0;
    d.done = 0;
}

// True the first time an action comes due in a phase. Switches, flaps and the like are set once,
// as a pilot does, so that a user's click on the panel stands.
bool Once(Demo& d, int action) {
    const uint32_t bit = uint32_t{1} << action;
    if ((d.done & bit) != 0) return false;
    d.done |= bit;
    return true;
}

}  // namespace

const char* DemoPhaseName(DemoPhase phase) {
    switch (phase) {
    case DemoPhase::kStartUp: return "engine start";
    case DemoPhase::kWarmUp: return "warm-up";
    case DemoPhase::kTakeOff: return "take-off";
    case DemoPhase::kClimb: return "climb";
    case DemoPhase::kCruise: return "cruise";
    case DemoPhase::kDescent: return "descent";
    case DemoPhase::kGlide: return "glide";
    }
    return "demo";
}

DemoPhase DemoPhaseFor(const Model& m) {
    if (m.flight.on_ground) return m.engine.running ? DemoPhase::kWarmUp : DemoPhase::kStartUp;
    if (!m.engine.running) return DemoPhase::kGlide;
    return m.flight.height < kCruiseHeight - 50 ? DemoPhase::kClimb : DemoPhase::kCruise;
}

void StepDemo(Model& m, double dt) {
    Demo& d = m.demo;
    const Flight& f = m.flight;
    const Engine& e = m.engine;
    // The panel as the tokens hold it now: the user may have clicked since the last step.
    ReadPanel(m);
    d.phase_time += dt;
    const double t = d.phase_time;
    const double above_field = f.height - kFieldElevationM;
    const bool airborne_phase = d.phase == DemoPhase::kClimb || d.phase == DemoPhase::kCruise ||
                                d.phase == DemoPhase::kDescent;
    if (airborne_phase && !e.running) Enter(d, DemoPhase::kGlide);

    switch (d.phase) {
    case DemoPhase::kStartUp:
        m.pilot = Pilot{.brakes = 1};
        if (t >= 1 && Once(d, 0)) SetMaster(m, true);
        if (t >= 2 && Once(d, 1)) SetSwitch(m, kTokenFuelPump, true);
        if (t >= 3 && Once(d, 2)) SetSwitch(m, kTokenStrobe, true);
        if (t >= 4 && Once(d, 3)) SetMagnetos(m, true, true);
        if (t >= 5) {
            if (Once(d, 4)) SetThrottle(m, 0.1);
            if (!e.running) SetStarter(m);  // held until the engine runs
            else Enter(d, DemoPhase::kWarmUp);
        }
        break;
    case DemoPhase::kWarmUp:
        m.pilot = Pilot{.brakes = 1};
        SetThrottle(m, t < 3 ? 0.1 : 0.35);
        if (t >= 35) Enter(d, DemoPhase::kTakeOff);
        break;
    case DemoPhase::kTakeOff:
        if (Once(d, 0)) {
            SetSwitch(m, kTokenLandingLight, true);
            SetFlapNotch(m, 1);
        }
        SetThrottle(m, 1);
        m.pilot.brakes = 0;
        HoldHeading(m, d.target_heading);
        m.pilot.pitch = IasKnots(f) >= 40 ? 0.5 : 0;
        if (!f.on_ground) HoldSpeed(m, kClimbKnots);
        if (!f.on_ground && above_field > 15) Enter(d, DemoPhase::kClimb);
        break;
    case DemoPhase::kClimb:
        SetThrottle(m, above_field > 100 ? 0.85 : 1);
        if (above_field > 100 && Once(d, 0)) SetFlapNotch(m, 0);
        if (above_field > 250 && Once(d, 1))  // crosswind turn
            d.target_heading = std::fmod(d.target_heading + 90, 360.0);
        HoldSpeed(m, kClimbKnots);
        HoldHeading(m, d.target_heading);
        Trim(m, dt);
        if (f.height >= kCruiseHeight) Enter(d, DemoPhase::kCruise);
        break;
    case DemoPhase::kCruise:
        if (Once(d, 0)) {
            SetSwitch(m, kTokenLandingLight, false);
            SetFlapNotch(m, 0);
        }
        SetThrottle(m, 0.72);
        if (t >= 20 + 45 * d.turns && d.turns < 3) {
            d.target_heading = std::fmod(d.target_heading + 90, 360.0);
            ++d.turns;
        }
        HoldHeight(m, kCruiseHeight);
        HoldHeading(m, d.target_heading);
        Trim(m, dt);
        if (t >= 150) Enter(d, DemoPhase::kDescent);
        break;
    case DemoPhase::kDescent:
        SetThrottle(m, 0.3);
        HoldSpeed(m, kDescentKnots);
        HoldHeading(m, d.target_heading);
        Trim(m, dt);
        if (above_field < 300) Enter(d, DemoPhase::kClimb);
        break;
    case DemoPhase::kGlide:
        if (Once(d, 0)) SetFlapNotch(m, 0);
        SetThrottle(m, 0);
        if (f.on_ground) {
            m.pilot = Pilot{.brakes = 1};
            if (f.tas < 0.5) Enter(d, DemoPhase::kStartUp);
        } else {
            HoldSpeed(m, kClimbKnots);
            HoldHeading(m, d.target_heading);
        }
        if (e.running && !f.on_ground) Enter(d, DemoPhase::kClimb);
        break;
    }
}

}  // namespace host::sim
