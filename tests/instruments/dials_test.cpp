// The value callbacks of VSI, Fuelpres and Compass, called through their records with the variable
// of their own channel set as the host would set it.
#include <gtest/gtest.h>

#include <limits>

#include "fake_host.h"
#include "gauges.h"
#include "instruments/instruments.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
    double in, expected;
};

double NeedleValue(const GaugeHeader& gauge, double raw) {
    NeedleElement& needle = *First<NeedleElement>(gauge);
    SetVariableNumber(needle.variable, raw);
    return needle.callback(&needle.header);
}

TEST(VerticalSpeedValue, HoldsTheNeedleWithinSevenMetresPerSecond) {
    const Case cases[] = {
        {1792, 1792}, {2000, 1792},   {-1792, -1792}, {-2000, -1792}, {300, 300},
        {0, 0},       {kInf, 1792},   {-kInf, -1792}, {kNaN, 0},      // NaN: rests at 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(NeedleValue(VsiGauge, c.in), c.expected);
    }
}

// Exact where the value must come through untouched, near where the band squeezes it.
TEST(FuelPressureValue, SqueezesTheNormalBandAndJumpsAtItsEnds) {
    const Case exact[] = {
        {0, 0},        {5200, 1},  {10400, 1}, {-100, 0},   {kInf, 1}, {-kInf, 0},
        {kNaN, 0},     // NaN reads as no pressure
        {520, 0.1},    // exactly 0.1: not squeezed
        {3120, 0.6},   // exactly 0.6: not squeezed
        {260, 0.05},   {4160, 0.8},
    };
    for (const Case& c : exact) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(NeedleValue(FuelpresGauge, c.in), c.expected);
    }
    const Case squeezed[] = {
        {1560, 0.3}, {2600, 0.34}, {1040, 0.28},
        {520.01, 0.26}, {3119.99, 0.36},  // just inside the band: the jumps
    };
    for (const Case& c : squeezed) {
        SCOPED_TRACE(c.in);
        EXPECT_NEAR(NeedleValue(FuelpresGauge, c.in), c.expected, 1e-6);
    }
}

TEST(CompassStripValues, PanByThreeSixtyMinusHeadingAndShowNorthOutsideTheRange) {
    MovingImageElement& card = *First<MovingImageElement>(CompassGauge);
    const Case cases[] = {
        {0, 360},  {90, 270}, {180, 180},   {359.5, 0.5}, {360, 0},
        {360.5, 0}, {-0.5, 0}, {kNaN, 0},   {kInf, 0},    {-kInf, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        SetVariableNumber(card.x_variable, c.in);
        EXPECT_EQ(card.x_callback(&card.header), c.expected);
        EXPECT_EQ(card.y_callback(&card.header), 1.0);
    }
}

}  // namespace
