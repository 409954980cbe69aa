// The aircraft model's state and its units. Each unit reads the controls and what the units
// before it computed, and writes its own part of the state; OutputTokens() publishes the lot.
// Order of one step: demo (acts like a pilot), panel controls, electrical, fuel, engine, flight.
//
// The panel's controls (master, magnetos, switches, throttle, flap handle, trim, Kollsman, units,
// COM frequencies) live in their tokens: events and SetControl change the token, every step reads
// it back. A test that pauses the model and sets such a token is therefore obeyed once the model
// runs again, and a gauge that reads a control right after sending an event sees the change.
#pragma once

#include <cstdint>

#include "../core/token_store.h"
#include "sim_tokens.h"

namespace host::sim {

// Controls as a step uses them, read back from their tokens and made sane (ReadPanel).
struct Panel {
    bool master = false;
    bool magneto_left = false;
    bool magneto_right = false;
    bool fuel_pump = false;      // switch 740
    bool strobe = false;         // switch 11
    bool landing_light = false;  // switch 14
    double throttle = 0;         // 0 to 1
    int flap_notch = 0;          // 0, 1, 2
    double trim = 0;             // -1 (nose down) to 1 (nose up)
    double kollsman = kKollsmanStandard;  // millibars
    int units = 0;               // 0, 1 or 2 (2: altitude in metres)
};

// The pilot's hands and feet; the panel has no stick, so these come from SetControl or the demo.
struct Pilot {
    double pitch = 0;   // elevator, -1 (push) to 1 (pull)
    double roll = 0;    // aileron, -1 (left) to 1 (right)
    double yaw = 0;     // rudder, -1 (left) to 1 (right)
    double brakes = 0;  // 0 to 1
};

struct Electrical {
    bool bus = false;         // master on and no electrical failure
    double charge_amps = 0;   // alternator current into the battery; token 762
};

struct Fuel {
    double litres = kFuelStartLitres;
    double pressure_bar = 0;  // at the carburettors
};

struct Engine {
    bool running = false;
    bool cranking = false;
    double starter_hold = 0;  // seconds the starter stays engaged after the last starter event
    double power = 0;         // 0 to 1, lags the throttle while running
    double rpm = 0;           // crankshaft speed as the monitor shows it (token 390 x 1.9)
    double egt = kAmbientSeaLevelC;  // degrees Celsius
    double cht = kAmbientSeaLevelC;
    double oil_temp = kAmbientSeaLevelC;
    double oil_pressure_bar = 0;
    double heat_soak = 0;     // extra exhaust heat after long full power, degrees Celsius
    double elapsed = 0;       // seconds run this flight; token 607
};

struct Flight {
    bool on_ground = true;
    double tas = 0;        // true airspeed, m/s
    double gamma = 0;      // flight path angle, radians
    double alpha = 0;      // angle of attack, degrees
    double bank = 0;       // degrees, right wing down positive
    double track = 0;      // degrees 0 to 360, direction of flight over the ground
    double skid = 0;       // degrees the nose points right of the track
    double height = kFieldElevationM;  // metres above sea level
    double flaps = 0;      // flap deflection in notches, lags the handle
    double track_rate = 0; // radians per second
    double thrust = 0;     // newtons, for the demo's speed hold
    double drag = 0;       // newtons
    double ball = 0;       // slip ball, token 69
};

enum class DemoPhase : uint8_t { kStartUp, kWarmUp, kTakeOff, kClimb, kCruise, kDescent, kGlide };

struct Demo {
    bool active = true;
    DemoPhase phase = DemoPhase::kStartUp;
    double phase_time = 0;     // seconds in the current phase
    double target_heading = kRunwayHeading;
    int turns = 0;             // turns flown in the current phase
    uint32_t done = 0;         // one-off actions taken in the current phase, a bit each
};

struct Model {
    explicit Model(TokenStore& store) : tokens(store) {}

    TokenStore& tokens;
    Panel panel;
    Pilot pilot;
    Electrical electrical;
    Fuel fuel;
    Engine engine;
    Flight flight;
    Demo demo;
    uint64_t failures = 0;  // bit k: failure key k active (keys 0 to 63)
    uint64_t steps = 0;     // since Reset

    bool Failed(uint32_t key) const { return key < 64 && ((failures >> key) & 1u) != 0; }
};

// Units. dt is the fixed step in seconds.
void ReadPanel(Model& m);  // controls.cpp
void StepElectrical(Model& m);
void StepFuel(Model& m, double dt);
void StepEngine(Model& m, double dt);
void StepFlight(Model& m, double dt);
void StepDemo(Model& m, double dt);
void OutputTokens(Model& m);  // simulation.cpp

// The airframe, shared by the flight model and the demo's autopilot.
inline constexpr double kMass = 450;            // kg
inline constexpr double kGravity = 9.81;
inline constexpr double kWeight = kMass * kGravity;
inline constexpr double kWingArea = 15;         // m^2
inline constexpr double kSeaLevelDensity = 1.225;
inline constexpr double kLiftSlope = 0.09;      // per degree of angle of attack
inline constexpr double kStallAlpha = 14;       // degrees
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kRad = kPi / 180;
inline double ZeroLift(double flaps) { return 0.2 + 0.25 * flaps; }
// The angle of attack, in degrees, that the elevator and trim ask for.
inline double CommandedAlpha(double pitch, double trim) {
    const double a = 1 + 10 * pitch + 5 * trim;
    return a < -10 ? -10 : a > 20 ? 20 : a;
}

// Environment shared by the units.
double AmbientC(double height_m);
double DensityRatio(double height_m);  // air density over sea-level density

// Where the demo picks up when it is switched on with the aircraft in any state.
DemoPhase DemoPhaseFor(const Model& m);
const char* DemoPhaseName(DemoPhase phase);

}  // namespace host::sim
