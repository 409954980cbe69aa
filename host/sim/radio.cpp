#include "radio.h"

#include "sim_tokens.h"

namespace host::sim {

uint32_t EncodeCom(ComFrequency f) {
    const int tens = (f.mhz - 100) / 10;
    const int ones = (f.mhz - 100) % 10;
    const int hundredths = f.channel * 25 / 10;  // 25 kHz channels cut to 10 kHz digits
    return static_cast<uint32_t>(tens << 12 | ones << 8 | (hundredths / 10) << 4 | hundredths % 10);
}

ComFrequency DecodeCom(uint32_t bcd) {
    const uint32_t digits[4] = {(bcd >> 12) & 0xF, (bcd >> 8) & 0xF, (bcd >> 4) & 0xF, bcd & 0xF};
    for (uint32_t d : digits)
        if (d > 9) return {};
    int mhz = 100 + static_cast<int>(digits[0] * 10 + digits[1]);
    if (mhz < kComLowestMhz) mhz = kComLowestMhz;
    if (mhz > kComHighestMhz) mhz = kComHighestMhz;
    const int hundredths = static_cast<int>(digits[2] * 10 + digits[3]);
    int channel = (hundredths * 2 + 4) / 5;  // the channel whose cut digits are >= the value
    if (channel >= kComChannelsPerMhz) channel = kComChannelsPerMhz - 1;
    return {mhz, channel};
}

ComFrequency TuneCom(ComFrequency f, uint32_t event) {
    constexpr int kMhzCount = kComHighestMhz - kComLowestMhz + 1;
    switch (event) {
    case kEventComWholeDown:
        f.mhz = kComLowestMhz + (f.mhz - kComLowestMhz + kMhzCount - 1) % kMhzCount;
        break;
    case kEventComWholeUp:
        f.mhz = kComLowestMhz + (f.mhz - kComLowestMhz + 1) % kMhzCount;
        break;
    case kEventComFractionDown:
        f.channel = (f.channel + kComChannelsPerMhz - 1) % kComChannelsPerMhz;
        break;
    case kEventComFractionUp:
        f.channel = (f.channel + 1) % kComChannelsPerMhz;
        break;
    default:
        break;
    }
    return f;
}

bool ComEvent(TokenStore& tokens, uint32_t event) {
    switch (event) {
    case kEventComSwap: {
        // Swapped as read, wild values included: a swap loses nothing.
        const uint32_t active = tokens.GetBcd(kTokenComActive);
        tokens.SetBcd(kTokenComActive, tokens.GetBcd(kTokenComStandby));
        tokens.SetBcd(kTokenComStandby, active);
        return true;
    }
    case kEventComWholeDown:
    case kEventComWholeUp:
    case kEventComFractionDown:
    case kEventComFractionUp:
        tokens.SetBcd(kTokenComActive, EncodeCom(TuneCom(DecodeCom(tokens.GetBcd(kTokenComActive)), event)));
        return true;
    default:
        return false;
    }
}

}  // namespace host::sim
