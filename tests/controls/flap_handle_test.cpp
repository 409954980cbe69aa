// The flap handle's three positions from the host's flap handle value, through the handle's own
// record and callback as the host calls it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gauges.h"

namespace {

IconElement& FlapHandle() {
    return *ElementAs<IconElement>(FlapTrimHandleGauge.elements[0]->children[0]);
}

TEST(FlapHandle, BandsFollowTheHostValueExactly) {
    const double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        double icon;
    };
    const Case cases[] = {
        {0.0, 0.0},
        {-0.0, 0.0},
        {-1.0, 0.0},
        {-kInf, 0.0},
        {4000.0, 0.0},
        {std::nextafter(4000.0, kInf), 1.0},
        {8000.0, 1.0},
        {12000.0, 1.0},
        {std::nextafter(12000.0, kInf), 2.0},
        {16383.0, 2.0},
        {1e300, 2.0},
        {kInf, 2.0},
        {std::numeric_limits<double>::quiet_NaN(), 0.0},
        {-std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    IconElement& handle = FlapHandle();
    ASSERT_EQ(handle.variable.token, 328u);
    ASSERT_EQ(handle.count, 3u);
    for (const Case& c : cases) {
        SetVariableNumber(handle.variable, c.value);
        EXPECT_EQ(handle.callback(&handle.header), c.icon) << c.value;
    }
}

}  // namespace
