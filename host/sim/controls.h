// The panel's controls and the pilot's: events from the gauges, named controls from the control
// API, and the reading back of control tokens at each step.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model.h"

namespace host::sim {

// The three toggle switches of the "Switches" gauge, left to right.
struct SwitchRole {
    uint32_t token;
    uint32_t event;
    const char* name;
    const char* help;  // tooltip text for the switch
};
inline constexpr SwitchRole kSwitchRoles[] = {
    {kTokenFuelPump, kEventFuelPump, "fuel pump", "Electric fuel pump: on for start, take-off and landing"},
    {kTokenStrobe, kEventStrobe, "strobe", "Strobe light"},
    {kTokenLandingLight, kEventLandingLight, "landing light", "Landing light"},
};

// Named controls of SetControl, with their accepted ranges (inclusive). `takes_over` marks the
// flight controls: setting one ends the demo flight, since the pilot now flies.
struct ControlInfo {
    std::string_view name;
    double min;
    double max;
    bool whole;       // only whole numbers
    bool takes_over;
    const char* help;
};
std::span<const ControlInfo> ControlTable();

// Performs a gauge event; false (and nothing changes) for an event the model does not know.
bool PanelEvent(Model& m, uint32_t event);
bool IsKnownEvent(uint32_t event);

// Sets a named control; false for an unknown name or a value outside its range (NaN included).
// *takes_over tells whether the control ends the demo.
bool ApplyControl(Model& m, std::string_view name, double value, bool* takes_over);

// Writers used by the events, SetControl and the demo: each sets the control's token.
void SetMaster(Model& m, bool on);
void SetMagnetos(Model& m, bool left, bool right);
void SetSwitch(Model& m, uint32_t token, bool on);
void SetThrottle(Model& m, double throttle);
void SetFlapNotch(Model& m, int notch);
void SetTrim(Model& m, double trim);
void SetStarter(Model& m);  // one starter event: engaged for kStarterHoldSeconds more

// Control token readers; each turns a wild token value into a sane control position.
bool SwitchOn(double token_value);  // on at 0.5 and above; NaN is off
int FlapNotchOf(double handle);     // the flap handle gauge's bands: <= 4000, <= 12000, above
double TrimOf(double token_value);
double KollsmanOf(double token_value);

}  // namespace host::sim
