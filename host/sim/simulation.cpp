// The simulation's face to the host: fixed steps, pause, events, failures, controls, the demo.
#include "simulation.h"

#include <cmath>

#include "controls.h"
#include "model.h"
#include "radio.h"

namespace host {

using namespace sim;

namespace {

constexpr double kMaxAdvanceSeconds = 3600;  // per call; a wild or stalled host cannot hang us
constexpr ComFrequency kStartComActive{.mhz = 122, .channel = 32};   // 122.800
constexpr ComFrequency kStartComStandby{.mhz = 118, .channel = 4};   // 118.100

}  // namespace

namespace sim {

void OutputTokens(Model& m) {
    TokenStore& t = m.tokens;
    const Engine& e = m.engine;
    const Flight& f = m.flight;
    t.Set(kTokenTickCounter, static_cast<double>(m.steps / 4));  // 18 per second
    t.Set(kTokenEngineElapsed, e.elapsed);
    t.Set(kTokenEngineSpeed, e.rpm * kEngineSpeedPerRpm);
    t.Set(kTokenExhaustGas, TemperatureToken(e.egt));
    t.Set(kTokenCylinderHead, TemperatureToken(e.cht));
    t.Set(kTokenOilTemperature, TemperatureToken(e.oil_temp));
    t.Set(kTokenOilPressure, e.oil_pressure_bar * kOilPressurePerBar);
    t.Set(kTokenFuelPressure, m.fuel.pressure_bar * kFuelPressurePerBar);
    t.Set(kTokenFuelWarning, m.fuel.litres / kFuelReserveLitres);
    t.Set(kTokenCharging, m.electrical.charge_amps);

    t.Set(kTokenAirspeed, f.tas * std::sqrt(DensityRatio(f.height)) * kKnotsPerMps);
    t.Set(kTokenVerticalSpeed, f.tas * std::sin(f.gamma) * kVerticalSpeedPerMps);
    // The altimeter reads pressure: each millibar of setting above standard adds about 8.3 m.
    const double indicated = f.height + (m.panel.kollsman - kKollsmanStandard) * 8.3;
    t.Set(kTokenAltitude, m.panel.units == 2 ? indicated : indicated * kFeetPerMetre);
    // The attitude token reads nose-down positive: the horizon card moves up on the dial for a
    // positive pitch product, so a climb must show it moving down (more sky).
    t.Set(kTokenPitch, -(f.gamma / kRad + f.alpha));
    t.Set(kTokenBank, f.bank);
    double heading = std::fmod(f.track + f.skid, 360.0);
    if (heading < 0) heading += 360;
    t.Set(kTokenHeading, heading);
    t.Set(kTokenSlipBall, f.ball);
}

}  // namespace sim

struct Simulation::Impl {
    explicit Impl(TokenStore& tokens) : model(tokens) {}
    Model model;
    bool running = true;
    double carry = 0;  // fixed steps owed, below one
};

Simulation::Simulation(TokenStore& tokens) : impl_(new Impl(tokens)) { Reset(true); }
Simulation::~Simulation() { delete impl_; }

void Simulation::Reset(bool demo) {
    Model& m = impl_->model;
    const double units = m.tokens.Get(kTokenUnits);  // a setting of the user's, kept
    m.panel = {};
    m.pilot = {};
    m.electrical = {};
    m.fuel = {};
    const double ambient = AmbientC(kFieldElevationM);
    m.engine = {.egt = ambient, .cht = ambient, .oil_temp = ambient};
    m.flight = {.track = kRunwayHeading};
    m.demo = {.active = demo, .target_heading = kRunwayHeading};
    m.failures = 0;
    m.steps = 0;
    impl_->carry = 0;

    TokenStore& t = m.tokens;
    SetMaster(m, false);
    SetMagnetos(m, false, false);
    for (const SwitchRole& role : kSwitchRoles) SetSwitch(m, role.token, false);
    SetThrottle(m, 0);
    SetFlapNotch(m, 0);
    SetTrim(m, 0);
    t.Set(kTokenStarter, 0);
    t.Set(kTokenKollsman, kKollsmanStandard);
    t.Set(kTokenUnits, units == 2 ? 2 : units == 1 ? 1 : 0);
    t.SetBcd(kTokenComActive, EncodeCom(kStartComActive));
    t.SetBcd(kTokenComStandby, EncodeCom(kStartComStandby));
    ReadPanel(m);
    OutputTokens(m);
}

void Simulation::Advance(double seconds) {
    if (!impl_->running || !(seconds > 0) || std::isinf(seconds)) return;
    if (seconds > kMaxAdvanceSeconds) {
        seconds = kMaxAdvanceSeconds;
        impl_->carry = 0;
    }
    // Counted in steps, with a little slack so that 1.0 s gives exactly 72 steps although
    // 1/72 is not exact in binary.
    impl_->carry += seconds / kStepSeconds;
    const double whole = std::floor(impl_->carry + 1e-9);
    impl_->carry = std::max(0.0, impl_->carry - whole);
    for (double i = 0; i < whole; ++i) Step();
}

void Simulation::Step() {
    Model& m = impl_->model;
    const double dt = kStepSeconds;
    if (m.demo.active) StepDemo(m, dt);
    ReadPanel(m);
    StepElectrical(m);
    StepFuel(m, dt);
    StepEngine(m, dt);
    StepFlight(m, dt);
    ++m.steps;
    OutputTokens(m);
}

void Simulation::Event(uint32_t event_id, uint32_t) { PanelEvent(impl_->model, event_id); }

bool Simulation::HandlesEvent(uint32_t event_id) { return IsKnownEvent(event_id); }

void Simulation::SetFailure(uint32_t key, bool active) {
    if (key >= 64) return;  // no failure the model knows lies there
    const uint64_t bit = uint64_t{1} << key;
    impl_->model.failures = active ? (impl_->model.failures | bit) : (impl_->model.failures & ~bit);
}

bool Simulation::FailureActive(uint32_t key) const { return impl_->model.Failed(key); }

void Simulation::SetRunning(bool running) { impl_->running = running; }
bool Simulation::Running() const { return impl_->running; }

bool Simulation::SetControl(std::string_view name, double value) {
    bool takes_over = false;
    if (!ApplyControl(impl_->model, name, value, &takes_over)) return false;
    if (takes_over) impl_->model.demo.active = false;
    return true;
}

std::vector<std::string> Simulation::ControlNames() const {
    std::vector<std::string> names;
    for (const ControlInfo& info : ControlTable()) names.emplace_back(info.name);
    return names;
}

std::string Simulation::ControlHelp(std::string_view name) {
    for (const ControlInfo& info : ControlTable())
        if (info.name == name) return info.help;
    return {};
}

void Simulation::SetDemo(bool on) {
    Demo& d = impl_->model.demo;
    if (on && !d.active) {
        d = {.active = true, .phase = DemoPhaseFor(impl_->model), .target_heading = impl_->model.flight.track};
    }
    d.active = on;
}

bool Simulation::DemoActive() const { return impl_->model.demo.active; }

std::string Simulation::DemoPhase() const {
    return impl_->model.demo.active ? DemoPhaseName(impl_->model.demo.phase) : "manual";
}

double Simulation::Time() const { return static_cast<double>(impl_->model.steps) * kStepSeconds; }

}  // namespace host
