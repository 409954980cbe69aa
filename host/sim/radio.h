// The COM radio: two frequencies in the airband 118.000 to 136.975 MHz on a 25 kHz raster,
// kept in tokens 23 (active) and 617 (standby) as four BCD digits after the leading 1: tens of
// megahertz, megahertz, tenths, hundredths. The hundredths digit is the 25 kHz channel cut to two
// decimals, as a real radio shows it: 118.025 reads 118.02 and 118.075 reads 118.07.
#pragma once

#include <cstdint>

#include "../core/token_store.h"

namespace host::sim {

struct ComFrequency {
    int mhz = 118;    // 118 to 136
    int channel = 0;  // 25 kHz steps within the megahertz, 0 to 39
    bool operator==(const ComFrequency&) const = default;
};

inline constexpr int kComLowestMhz = 118;
inline constexpr int kComHighestMhz = 136;
inline constexpr int kComChannelsPerMhz = 40;

uint32_t EncodeCom(ComFrequency f);
// Any 32-bit value gives a frequency in the band: bits above the four digits are ignored, a
// digit above 9 gives the band's bottom, megahertz outside the band are clamped into it, and
// hundredths that fall between channels go to the next channel up within the megahertz.
ComFrequency DecodeCom(uint32_t bcd);
// The tuning events step the megahertz (wrapping 136 <-> 118, channel kept) or the channel
// (wrapping .975 <-> .000 within the megahertz, as the inner knob of a real radio does).
ComFrequency TuneCom(ComFrequency f, uint32_t event);
// Swap and tuning events on the tokens; false for any other event.
bool ComEvent(TokenStore& tokens, uint32_t event);

}  // namespace host::sim
