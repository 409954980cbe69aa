#include "controls.h"

#include <algorithm>
#include <cmath>

#include "radio.h"

namespace host::sim {
namespace {

constexpr ControlInfo kControlTable[] = {
    {"throttle", 0, 1, false, true, "throttle lever, 0 idle to 1 full"},
    {"pitch", -1, 1, false, true, "elevator, -1 full forward (nose down) to 1 full back (nose up)"},
    {"roll", -1, 1, false, true, "ailerons, -1 full left to 1 full right"},
    {"yaw", -1, 1, false, true, "rudder, -1 full left to 1 full right"},
    {"brakes", 0, 1, false, true, "wheel brakes, 0 off to 1 full"},
    {"flaps", 0, 2, true, true, "flap handle notch: 0 up, 1 take-off, 2 landing"},
    {"trim", -1, 1, false, true, "elevator trim, -1 nose down to 1 nose up"},
    {"fuel", 0, kFuelCapacityLitres, false, false, "fuel in the tank, litres"},
    {"units", 0, 2, true, false, "units setting: 0 or 1 altitude in feet, 2 in metres"},
};

double Clamp(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

std::span<const ControlInfo> ControlTable() { return kControlTable; }

bool SwitchOn(double v) { return v >= 0.5; }

int FlapNotchOf(double handle) {
    if (handle > 12000) return 2;
    if (handle > 4000) return 1;
    return 0;  // NaN too
}

double TrimOf(double v) { return std::isnan(v) ? 0.0 : Clamp(v, -1, 1); }

double KollsmanOf(double v) { return std::isnan(v) ? kKollsmanStandard : Clamp(v, kKollsmanMin, kKollsmanMax); }

void SetMaster(Model& m, bool on) { m.tokens.Set(kTokenMaster, on ? 1 : 0); }

void SetMagnetos(Model& m, bool left, bool right) {
    m.tokens.Set(kTokenMagnetoLeft, left ? 1 : 0);
    m.tokens.Set(kTokenMagnetoRight, right ? 1 : 0);
}

void SetSwitch(Model& m, uint32_t token, bool on) { m.tokens.Set(token, on ? 1 : 0); }

void SetThrottle(Model& m, double throttle) {
    m.tokens.Set(kTokenThrottle, std::isnan(throttle) ? 0.0 : Clamp(throttle, 0, 1));
}

void SetFlapNotch(Model& m, int notch) { m.tokens.Set(kTokenFlapHandle, kFlapHandleNotch[std::clamp(notch, 0, 2)]); }

void SetTrim(Model& m, double trim) { m.tokens.Set(kTokenTrim, TrimOf(trim)); }

void SetStarter(Model& m) {
    m.engine.starter_hold = kStarterHoldSeconds;
    m.tokens.Set(kTokenStarter, 1);
}

bool IsKnownEvent(uint32_t event) {
    switch (event) {
    case kEventMasterToggle: case kEventStarter: case kEventFuelPump: case kEventStrobe:
    case kEventLandingLight: case kEventMagnetosOff: case kEventMagnetosRight:
    case kEventMagnetosLeft: case kEventMagnetosBoth: case kEventKollsmanDown:
    case kEventKollsmanUp: case kEventTrimDown: case kEventTrimUp: case kEventFlapsDown:
    case kEventFlapsUp: case kEventComSwap: case kEventComWholeDown: case kEventComWholeUp:
    case kEventComFractionDown: case kEventComFractionUp:
        return true;
    default:
        return false;
    }
}

bool PanelEvent(Model& m, uint32_t event) {
    TokenStore& t = m.tokens;
    for (const SwitchRole& role : kSwitchRoles) {
        if (event == role.event) {
            SetSwitch(m, role.token, !SwitchOn(t.Get(role.token)));
            return true;
        }
    }
    switch (event) {
    case kEventMasterToggle: SetMaster(m, !SwitchOn(t.Get(kTokenMaster))); return true;
    case kEventStarter: SetStarter(m); return true;
    case kEventMagnetosOff: SetMagnetos(m, false, false); return true;
    case kEventMagnetosRight: SetMagnetos(m, false, true); return true;
    case kEventMagnetosLeft: SetMagnetos(m, true, false); return true;
    case kEventMagnetosBoth: SetMagnetos(m, true, true); return true;
    case kEventKollsmanDown:
        t.Set(kTokenKollsman, KollsmanOf(KollsmanOf(t.Get(kTokenKollsman)) - kKollsmanStep));
        return true;
    case kEventKollsmanUp:
        t.Set(kTokenKollsman, KollsmanOf(KollsmanOf(t.Get(kTokenKollsman)) + kKollsmanStep));
        return true;
    case kEventTrimDown: SetTrim(m, TrimOf(t.Get(kTokenTrim)) - kTrimStep); return true;
    case kEventTrimUp: SetTrim(m, TrimOf(t.Get(kTokenTrim)) + kTrimStep); return true;
    case kEventFlapsDown: SetFlapNotch(m, FlapNotchOf(t.Get(kTokenFlapHandle)) + 1); return true;
    case kEventFlapsUp: SetFlapNotch(m, FlapNotchOf(t.Get(kTokenFlapHandle)) - 1); return true;
    default: return ComEvent(t, event);
    }
}

bool ApplyControl(Model& m, std::string_view name, double value, bool* takes_over) {
    const ControlInfo* info = nullptr;
    for (const ControlInfo& s : kControlTable)
        if (s.name == name) info = &s;
    if (info == nullptr || !(value >= info->min && value <= info->max)) return false;
    if (info->whole && value != std::floor(value)) return false;
    if (takes_over) *takes_over = info->takes_over;

    if (name == "throttle") SetThrottle(m, value);
    else if (name == "pitch") m.pilot.pitch = value;
    else if (name == "roll") m.pilot.roll = value;
    else if (name == "yaw") m.pilot.yaw = value;
    else if (name == "brakes") m.pilot.brakes = value;
    else if (name == "flaps") SetFlapNotch(m, value >= 2 ? 2 : value >= 1 ? 1 : 0);
    else if (name == "trim") SetTrim(m, value);
    else if (name == "fuel") m.fuel.litres = value;
    else if (name == "units") m.tokens.Set(kTokenUnits, value);
    return true;
}

void ReadPanel(Model& m) {
    TokenStore& t = m.tokens;
    Panel& p = m.panel;
    // Each control is read and written back sane, so the gauges show what the model uses.
    p.master = SwitchOn(t.Get(kTokenMaster));
    p.magneto_left = SwitchOn(t.Get(kTokenMagnetoLeft));
    p.magneto_right = SwitchOn(t.Get(kTokenMagnetoRight));
    p.fuel_pump = SwitchOn(t.Get(kTokenFuelPump));
    p.strobe = SwitchOn(t.Get(kTokenStrobe));
    p.landing_light = SwitchOn(t.Get(kTokenLandingLight));
    SetMaster(m, p.master);
    SetMagnetos(m, p.magneto_left, p.magneto_right);
    SetSwitch(m, kTokenFuelPump, p.fuel_pump);
    SetSwitch(m, kTokenStrobe, p.strobe);
    SetSwitch(m, kTokenLandingLight, p.landing_light);

    SetThrottle(m, t.Get(kTokenThrottle));
    p.throttle = t.Get(kTokenThrottle);
    p.flap_notch = FlapNotchOf(t.Get(kTokenFlapHandle));
    SetFlapNotch(m, p.flap_notch);
    p.trim = TrimOf(t.Get(kTokenTrim));
    t.Set(kTokenTrim, p.trim);
    p.kollsman = KollsmanOf(t.Get(kTokenKollsman));
    t.Set(kTokenKollsman, p.kollsman);
    const double units = t.Get(kTokenUnits);
    p.units = units == 2 ? 2 : units == 1 ? 1 : 0;
    t.Set(kTokenUnits, p.units);
}

}  // namespace host::sim
