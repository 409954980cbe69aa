// The magneto levers: each click reads both magnetos afresh and sends the one selector event that
// flips the clicked lever and keeps the other.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls.h"
#include "gauge_fake_host.h"

namespace {

constexpr uint32_t kLeftToken = 399;
constexpr uint32_t kRightToken = 400;
constexpr uint32_t kBothOff = 0x101e7, kRightOnly = 0x101e8, kLeftOnly = 0x101e9,
                   kBothOn = 0x101ea;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
    double left;
    double right;
    uint32_t after_left_click;
    uint32_t after_right_click;
};

// Only a value that truncates to exactly 1 is on.
const Case kCases[] = {
    {1.0, 1.0, kRightOnly, kLeftOnly},
    {1.0, 0.0, kBothOff, kBothOn},
    {0.0, 1.0, kBothOn, kBothOff},
    {0.0, 0.0, kLeftOnly, kRightOnly},
    {1.5, 0.0, kBothOff, kBothOn},       // truncates to 1: on
    {1.999, 1.0, kRightOnly, kLeftOnly},
    {2.0, 0.0, kLeftOnly, kRightOnly},   // 2 is not on
    {-1.0, 0.0, kLeftOnly, kRightOnly},
    {0.999, 1.0, kBothOn, kBothOff},
    {-0.5, 1.0, kBothOn, kBothOff},
    {4294967297.0, 1.0, kBothOn, kBothOff},  // would wrap to 1 in 32 bits; reads as off instead
    {kNaN, 1.0, kBothOn, kBothOff},
    {1.0, kNaN, kBothOff, kBothOn},
    {kInf, -kInf, kLeftOnly, kRightOnly},
    {1e300, 1.0, kBothOn, kBothOff},
};

TEST(Magnetos, EachClickSendsTheOneEventThatFlipsItsLever) {
    for (const Case& c : kCases) {
        for (const bool left_click : {true, false}) {
            InstallFakeHost();
            Host().values = {{kLeftToken, c.left}, {kRightToken, c.right}};
            const uint32_t result = left_click ? MagnetosLeftClick(nullptr, 0x20000000)
                                               : MagnetosRightClick(nullptr, 0x20000000);
            EXPECT_EQ(result, 0u);
            const uint32_t expected = left_click ? c.after_left_click : c.after_right_click;
            const std::vector<HostCall> calls = {
                {"lookup", kLeftToken, &MagnetosLeftVariable},
                {"lookup", kRightToken, &MagnetosRightVariable},
                {"trigger", expected, nullptr, 0},
            };
            EXPECT_EQ(Host().calls, calls)
                << (left_click ? "left" : "right") << " click, left " << c.left << " right "
                << c.right;
        }
    }
}

TEST(Magnetos, WildValuesGiveDefinedStates) {
    struct Wild {
        double value;
        int32_t state;
    };
    const Wild cases[] = {
        {1.5, 1},
        {-1.7, -1},
        // Beyond the 32-bit range the platform's conversion gives INT32_MIN, which reads as off.
        {kNaN, INT32_MIN},
        {kInf, INT32_MIN},
        {-kInf, INT32_MIN},
        {4294967297.0, INT32_MIN},
        {2147483648.0, INT32_MIN},
        {2147483647.9, INT32_MAX},
        {-2147483648.9, INT32_MIN},
        {-2147483649.0, INT32_MIN},
    };
    for (const Wild& w : cases) {
        InstallFakeHost();
        Host().values = {{kLeftToken, w.value}, {kRightToken, w.value}};
        MagnetosLeftClick(nullptr, 0);
        EXPECT_EQ(MagnetosLeftState, w.state) << w.value;
        EXPECT_EQ(MagnetosRightState, w.state) << w.value;
    }
}

// The decision uses what the lookup delivers now, not what the records held from before: another
// control may have changed a magneto since the host's last update.
TEST(Magnetos, DecidesOnTheFreshValuesNotTheStaleRecords) {
    InstallFakeHost();
    SetVariableNumber(MagnetosLeftVariable, 1.0);
    SetVariableNumber(MagnetosRightVariable, 1.0);
    MagnetosLeftState = 1;
    MagnetosRightState = 1;
    Host().values = {{kLeftToken, 0.0}, {kRightToken, 0.0}};
    MagnetosRightClick(nullptr, 0);
    EXPECT_EQ(Host().Events(), std::vector<uint32_t>{kRightOnly});
    EXPECT_EQ(MagnetosLeftState, 0);
    EXPECT_EQ(MagnetosRightState, 0);
}

}  // namespace
