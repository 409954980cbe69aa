// The simulation's variables by token, as the gauges read them. Most tokens hold a 64-bit float;
// the radio frequency tokens hold a 32-bit BCD integer (four digits). Unknown tokens read as 0.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace host {

inline constexpr uint32_t kTokenComActive = 23;
inline constexpr uint32_t kTokenComStandby = 617;

inline bool IsBcdToken(uint32_t token) { return token == kTokenComActive || token == kTokenComStandby; }

// The tokens that the gauges read, with the names that the control API and scenario files accept
// in place of the number. Units are the ones the gauges expect; the model delivers them so.
struct TokenInfo {
    uint32_t token;
    const char* name;
    const char* unit;
    bool bcd;  // a 32-bit BCD integer (four digits) rather than a 64-bit float
};

inline constexpr TokenInfo kTokenCatalog[] = {
    {1, "tick_counter", "host ticks, 18 per second since the reset", false},
    {11, "strobe_light", "0 off, 1 on (the middle switch)", false},
    {14, "landing_light", "0 off, 1 on (the right switch)", false},
    {23, "com_active_frequency", "BCD digits of 1xx.xx MHz", true},
    {61, "airspeed", "knots", false},
    {65, "vertical_speed", "256 per m/s", false},
    {69, "slip_ball", "-127 to 127, right positive", false},
    {74, "altitude", "feet (metres when units_setting is 2)", false},
    {75, "kollsman_setting", "millibars", false},
    {78, "pitch", "degrees, nose down positive", false},
    {80, "bank", "degrees, right wing down positive", false},
    {83, "heading", "degrees magnetic", false},
    {328, "flap_handle", "0 up, 8192 take-off, 16383 landing", false},
    {335, "units_setting", "0 or 1 feet, 2 metres", false},
    {364, "master_switch", "0 off, 1 on", false},
    {386, "fuel_warning_source", "fuel in 5-litre reserves; below 1 lights the lamp", false},
    {390, "engine_speed", "the monitor shows 1.9 x the value in rpm", false},
    {392, "throttle_lever", "0 closed to 1 full", false},
    {399, "magneto_left", "0 off, 1 on", false},
    {400, "magneto_right", "0 off, 1 on", false},
    {401, "starter", "1 while the starter button is held", false},
    {413, "exhaust_gas_temperature", "raw, (x - 428) * 5 / 9 is degrees Celsius", false},
    {415, "cylinder_head_temperature", "raw, (x - 428) * 5 / 9 is degrees Celsius", false},
    {416, "oil_temperature", "raw, (x - 428) * 5 / 9 is degrees Celsius", false},
    {418, "oil_pressure", "2080 per bar", false},
    {425, "fuel_pressure", "5200 per bar", false},
    {607, "engine_elapsed_time", "seconds of engine running this flight", false},
    {617, "com_standby_frequency", "BCD digits of 1xx.xx MHz", true},
    {740, "fuel_pump", "0 off, 1 on (the left switch)", false},
    {762, "charging", "amperes, 0 or below lights the alternator lamp", false},
    {783, "elevator_trim_indicator", "-1 nose down to 1 nose up", false},
};

// The catalog entry of a token, or nullptr for a token that no gauge reads.
inline const TokenInfo* FindTokenInfo(uint32_t token) {
    for (const TokenInfo& info : kTokenCatalog)
        if (info.token == token) return &info;
    return nullptr;
}
inline const TokenInfo* FindTokenInfo(std::string_view name) {
    for (const TokenInfo& info : kTokenCatalog)
        if (name == info.name) return &info;
    return nullptr;
}

class TokenStore {
public:
    static constexpr uint32_t kCapacity = 1024;  // every token the gauges use is below this

    double Get(uint32_t token) const { return token < kCapacity ? numbers_[token] : 0.0; }
    void Set(uint32_t token, double value) {
        if (token < kCapacity) numbers_[token] = value;
    }
    uint32_t GetBcd(uint32_t token) const { return token < kCapacity ? bcd_[token] : 0u; }
    void SetBcd(uint32_t token, uint32_t value) {
        if (token < kCapacity) bcd_[token] = value;
    }
    void Clear() {
        numbers_.fill(0.0);
        bcd_.fill(0u);
    }

private:
    std::array<double, kCapacity> numbers_{};
    std::array<uint32_t, kCapacity> bcd_{};
};

}  // namespace host
