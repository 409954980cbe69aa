// Point-mass flight model of a 450 kg high-wing ultralight: lift and drag from the angle of
// attack, propeller thrust that falls off with speed, turns from bank, sideslip from the rudder.
// The elevator and trim command the angle of attack, so the aircraft settles at a trimmed
// airspeed and climbs or descends with power, as a real one does. On the ground it rolls on its
// wheels until the wing lifts it off, and it stops on the runway when it comes down.
#include <algorithm>
#include <cmath>

#include "model.h"

namespace host::sim {
namespace {

constexpr double kInducedDrag = 0.045;
constexpr double kStaticThrust = 1500;  // N at full power
constexpr double kZeroThrustSpeed = 90; // m/s

double LiftCoefficient(double alpha, double flaps) {
    const double zero_lift = ZeroLift(flaps);
    if (alpha <= kStallAlpha) return zero_lift + kLiftSlope * alpha;
    return zero_lift + kLiftSlope * kStallAlpha - 0.06 * (alpha - kStallAlpha);  // stalled
}

double WrapDegrees(double d) {
    d = std::fmod(d, 360.0);
    return d < 0 ? d + 360 : d;
}

}  // namespace

double AmbientC(double height_m) { return kAmbientSeaLevelC - 0.0065 * std::clamp(height_m, -500.0, 11000.0); }

double DensityRatio(double height_m) {
    return std::pow(1 - 2.25577e-5 * std::clamp(height_m, -500.0, 11000.0), 4.2559);
}

void StepFlight(Model& m, double dt) {
    Flight& f = m.flight;
    const Pilot& pilot = m.pilot;
    f.flaps += std::clamp(m.panel.flap_notch - f.flaps, -0.5 * dt, 0.5 * dt);

    const double density = kSeaLevelDensity * DensityRatio(f.height);
    const double q = 0.5 * density * f.tas * f.tas;
    const double ias_knots = f.tas * std::sqrt(density / kSeaLevelDensity) * kKnotsPerMps;
    const double commanded = CommandedAlpha(pilot.pitch, m.panel.trim);
    f.thrust = m.engine.running ? kStaticThrust * m.engine.power * (1 - f.tas / kZeroThrustSpeed) : -20;

    if (f.on_ground) {
        // The nose wheel holds the wing at zero incidence until the elevator has the speed to
        // raise it; the tail strikes at 12 degrees.
        const double alpha_target = ias_knots > 35 ? std::clamp(commanded, 0.0, 12.0) : 0.0;
        f.alpha += (alpha_target - f.alpha) * dt / 0.5;
        const double cl = LiftCoefficient(f.alpha, f.flaps);
        const double lift = q * kWingArea * cl;
        f.drag = q * kWingArea * (0.04 + 0.02 * f.flaps + kInducedDrag * cl * cl);
        const double friction = (0.04 + 0.4 * pilot.brakes) * std::max(0.0, kWeight - lift);
        f.tas = std::max(0.0, f.tas + (f.thrust - f.drag - friction) / kMass * dt);
        f.track_rate = pilot.yaw * 25 * kRad * std::min(1.0, f.tas / 3);  // nose-wheel steering
        f.gamma = 0;
        f.bank = 0;
        f.skid = 0;
        f.height = kFieldElevationM;
        if (lift > kWeight) f.on_ground = false;
    } else {
        f.alpha += (commanded - f.alpha) * dt / 0.3;
        const double cl = LiftCoefficient(f.alpha, f.flaps);
        const double lift = q * kWingArea * cl;
        f.drag = q * kWingArea * (0.04 + 0.02 * f.flaps + kInducedDrag * cl * cl);
        const double bank = f.bank * kRad;
        const double speed = std::max(f.tas, 3.0);  // the equations need some speed
        f.tas = f.tas + ((f.thrust - f.drag) / kMass - kGravity * std::sin(f.gamma)) * dt;
        f.tas = std::max(f.tas, 1.0);
        f.gamma += (lift * std::cos(bank) - kWeight * std::cos(f.gamma)) / (kMass * speed) * dt;
        f.gamma = std::clamp(f.gamma, -80 * kRad, 80 * kRad);
        // The side force of a skid turns the flight path toward the nose.
        f.track_rate = lift * std::sin(bank) / (kMass * speed * std::cos(f.gamma)) + 0.3 * (speed / 40) * f.skid * kRad;
        // Ailerons roll, the rudder rolls a little through dihedral and a banked wing slowly
        // levels itself. Adverse yaw swings the nose against the ailerons.
        f.bank += (60 * pilot.roll + 10 * pilot.yaw - 0.03 * f.bank) * dt;
        f.bank = std::clamp(f.bank, -85.0, 85.0);
        f.skid += (12 * pilot.yaw - 3 * pilot.roll - f.skid) * dt / 1.0;
        f.height += f.tas * std::sin(f.gamma) * dt;
        if (f.height <= kFieldElevationM) {
            f.on_ground = true;
            f.height = kFieldElevationM;
            f.tas *= std::cos(f.gamma);
            f.gamma = 0;
            f.bank = 0;
            f.skid = 0;
        }
    }
    f.track = WrapDegrees(f.track + f.track_rate / kRad * dt);

    // The ball feels the side force: none in a turn whose bank matches its rate, toward the low
    // wing in a slip, out of the turn in a skid.
    const double bank = f.bank * kRad;
    const double side = (kGravity * std::sin(bank) - f.tas * f.track_rate * std::cos(bank)) / kGravity;
    f.ball += (std::clamp(side * 250, -127.0, 127.0) - f.ball) * dt / 0.3;
}

}  // namespace host::sim
