#include <gtest/gtest.h>

#include "aircraft.h"
#include "sim/radio.h"

namespace host::sim {
namespace {

TEST(Radio, EveryChannelOfTheBandSurvivesEncodingAndShowsItsDigits) {
    for (int mhz = kComLowestMhz; mhz <= kComHighestMhz; ++mhz) {
        for (int channel = 0; channel < kComChannelsPerMhz; ++channel) {
            const ComFrequency f{mhz, channel};
            const uint32_t bcd = EncodeCom(f);
            ASSERT_EQ(DecodeCom(bcd), f) << mhz << " channel " << channel;
            for (int shift = 0; shift < 16; shift += 4) ASSERT_LE((bcd >> shift) & 0xF, 9u);
            ASSERT_EQ(bcd >> 16, 0u);
        }
    }
    struct Case { ComFrequency f; uint32_t bcd; };
    for (const Case& c : {Case{{118, 0}, 0x1800}, Case{{118, 1}, 0x1802}, Case{{118, 3}, 0x1807},
                          Case{{122, 32}, 0x2280}, Case{{136, 39}, 0x3697}})
        EXPECT_EQ(EncodeCom(c.f), c.bcd) << std::hex << c.bcd;
}

TEST(Radio, WildValuesDecodeInsideTheBand) {
    struct Case { uint32_t bcd; ComFrequency expected; };
    const Case cases[] = {
        {0x0000, {118, 0}},       // 100.00: below the band
        {0x9999, {136, 39}},      // 199.99: above it, hundredths past the last channel
        {0x1A00, {118, 0}},       // a nibble above 9
        {0xFFFFFFFF, {118, 0}},
        {0x7FFF2345, {123, 18}},  // bits above the four digits are ignored: 123.45
        {0x2281, {122, 33}},      // between channels: the next one up (122.825)
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeCom(c.bcd), c.expected) << std::hex << c.bcd;
}

TEST(Radio, TuningStepsAndWrapsAtTheEnds) {
    struct Case { uint32_t from; uint32_t event; uint32_t to; };
    const Case cases[] = {
        {0x2050, kEventComWholeUp, 0x2150},     {0x2050, kEventComWholeDown, 0x1950},
        {0x3650, kEventComWholeUp, 0x1850},     {0x1850, kEventComWholeDown, 0x3650},
        {0x2000, kEventComFractionUp, 0x2002},  {0x2002, kEventComFractionUp, 0x2005},
        {0x2005, kEventComFractionUp, 0x2007},  {0x2007, kEventComFractionUp, 0x2010},
        {0x2097, kEventComFractionUp, 0x2000},  {0x2000, kEventComFractionDown, 0x2097},
        {0x3697, kEventComFractionUp, 0x3600},  {0x1800, kEventComFractionDown, 0x1897},
    };
    for (const Case& c : cases) {
        TokenStore tokens;
        tokens.SetBcd(kTokenComActive, c.from);
        EXPECT_TRUE(ComEvent(tokens, c.event));
        EXPECT_EQ(tokens.GetBcd(kTokenComActive), c.to) << std::hex << c.from << " event " << c.event;
    }
}

// The radio gauge tunes the standby frequency by swapping it in, tuning and swapping back, all
// within one click: the events must act on the tokens at once, paused or not.
TEST(Radio, AKnobClickOfTheGaugeTunesOnlyTheStandbyFrequency) {
    Aircraft a;
    a.sim.SetRunning(false);
    a.tokens.SetBcd(kTokenComActive, 0x2280);
    a.tokens.SetBcd(kTokenComStandby, 0x3697);
    for (uint32_t e : {kEventComSwap, kEventComWholeUp, kEventComSwap}) a.sim.Event(e, 0);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComActive), 0x2280u);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComStandby), 0x1897u);
    a.sim.SetRunning(true);
    a.sim.Advance(1);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComStandby), 0x1897u);
}

TEST(Radio, SwapKeepsEvenWildValues) {
    Aircraft a;
    a.tokens.SetBcd(kTokenComActive, 0xABCD1234);
    a.tokens.SetBcd(kTokenComStandby, 0x1800);
    a.sim.Event(kEventComSwap, 0);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComActive), 0x1800u);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComStandby), 0xABCD1234u);
}

}  // namespace
}  // namespace host::sim
