// The aircraft model: engine, electrical, fuel, flight, radio and controls. It reads the
// controls and the events that the panel sends, and writes the tokens that the gauges read.
// Runs at a fixed step, deterministic for a given start and input sequence.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../core/token_store.h"

namespace host {

class Simulation {
public:
    static constexpr double kStepSeconds = 1.0 / 72.0;  // fixed model step

    explicit Simulation(TokenStore& tokens);
    ~Simulation();
    Simulation(const Simulation&) = delete;  // owns its model
    Simulation& operator=(const Simulation&) = delete;

    // Cold and dark on the ground; the demo flight armed if demo is true.
    void Reset(bool demo = true);

    // Runs as many fixed steps as fit in the time (the remainder carries over). Does nothing
    // while paused.
    void Advance(double seconds);
    // Exactly one fixed step, paused or not.
    void Step();

    // A simulator event sent by a gauge or the host. Unknown events are ignored.
    void Event(uint32_t event_id, uint32_t argument);
    // Whether Event knows the event (for the host's reports of clicks that do nothing).
    static bool HandlesEvent(uint32_t event_id);

    // Active simulator failures, by key.
    void SetFailure(uint32_t key, bool active);
    // Keys 0 to 63 are kept; any other key is never active.
    bool FailureActive(uint32_t key) const;

    // Paused: the model does not run, tokens stay as set.
    void SetRunning(bool running);
    bool Running() const;

    // Flight controls for the pilot (pitch, roll, yaw, throttle, ...): false for an unknown name
    // or a value out of range.
    bool SetControl(std::string_view name, double value);
    std::vector<std::string> ControlNames() const;
    // One line on the control's meaning and range; empty for an unknown name.
    static std::string ControlHelp(std::string_view name);

    // The built-in demo flight: flies the aircraft until the pilot takes a control.
    void SetDemo(bool on);
    bool DemoActive() const;
    // A short text of the demo's current phase, for status lines.
    std::string DemoPhase() const;

    // Simulated seconds since Reset.
    double Time() const;

    struct Impl;

private:
    Impl* impl_;
};

}  // namespace host
