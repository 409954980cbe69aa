// The simulation's variables by token, as the gauges read them. Most tokens hold a 64-bit float;
// the radio frequency tokens hold a 32-bit BCD integer (four digits). Unknown tokens read as 0.
#pragma once

#include <array>
#include <cstdint>

namespace host {

inline constexpr uint32_t kTokenComActive = 23;
inline constexpr uint32_t kTokenComStandby = 617;

inline bool IsBcdToken(uint32_t token) { return token == kTokenComActive || token == kTokenComStandby; }

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
