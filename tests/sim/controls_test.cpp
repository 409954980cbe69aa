#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "aircraft.h"

namespace host::sim {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Controls, MagnetoSelectorSetsBothMagnetos) {
    struct Case { uint32_t event; double left; double right; };
    const Case cases[] = {
        {kEventMagnetosOff, 0, 0}, {kEventMagnetosRight, 0, 1},
        {kEventMagnetosLeft, 1, 0}, {kEventMagnetosBoth, 1, 1},
    };
    Aircraft a;
    for (const Case& from : cases) {
        for (const Case& to : cases) {
            a.sim.Event(from.event, 0);
            a.sim.Event(to.event, 0);
            EXPECT_EQ(a.Get(kTokenMagnetoLeft), to.left) << std::hex << from.event << " then " << to.event;
            EXPECT_EQ(a.Get(kTokenMagnetoRight), to.right) << std::hex << from.event << " then " << to.event;
        }
    }
}

TEST(Controls, ToggleEventsFlipWhatTheTokenShows) {
    struct Case { uint32_t event; uint32_t token; };
    const Case cases[] = {
        {kEventMasterToggle, kTokenMaster}, {kEventFuelPump, kTokenFuelPump},
        {kEventStrobe, kTokenStrobe}, {kEventLandingLight, kTokenLandingLight},
    };
    for (const Case& c : cases) {
        Aircraft a;
        a.sim.SetRunning(false);  // the change shows before the next step
        a.sim.Event(c.event, 0);
        EXPECT_EQ(a.Get(c.token), 1) << c.token;
        a.sim.Event(c.event, 0);
        EXPECT_EQ(a.Get(c.token), 0) << c.token;
        // A token that a test or the host set by hand counts as on from 0.5: the toggle turns
        // it off, whatever other toggles did.
        a.tokens.Set(c.token, 0.7);
        a.sim.Event(c.event, 0);
        EXPECT_EQ(a.Get(c.token), 0) << c.token;
        a.tokens.Set(c.token, kNaN);
        a.sim.Event(c.event, 0);
        EXPECT_EQ(a.Get(c.token), 1) << c.token;
    }
}

TEST(Controls, KollsmanStepsOneMillibarWithinItsRange) {
    struct Case { double from; uint32_t event; double to; };
    const Case cases[] = {
        {1013.25, kEventKollsmanUp, 1014.25}, {1013.25, kEventKollsmanDown, 1012.25},
        {1083.5, kEventKollsmanUp, 1084}, {1084, kEventKollsmanUp, 1084},
        {948.5, kEventKollsmanDown, 948}, {948, kEventKollsmanDown, 948},
        {kNaN, kEventKollsmanUp, 1014.25}, {5000, kEventKollsmanDown, 1083},
        {-std::numeric_limits<double>::infinity(), kEventKollsmanUp, 949},
    };
    Aircraft a;
    for (const Case& c : cases) {
        a.tokens.Set(kTokenKollsman, c.from);
        a.sim.Event(c.event, 0);
        EXPECT_EQ(a.Get(kTokenKollsman), c.to) << c.from;
    }
}

TEST(Controls, TrimStopsExactlyAtItsLimits) {
    Aircraft a;
    for (int i = 0; i < 32; ++i) a.sim.Event(kEventTrimUp, 0);
    EXPECT_EQ(a.Get(kTokenTrim), 1.0);
    a.sim.Event(kEventTrimUp, 0);
    EXPECT_EQ(a.Get(kTokenTrim), 1.0);
    for (int i = 0; i < 64; ++i) a.sim.Event(kEventTrimDown, 0);
    EXPECT_EQ(a.Get(kTokenTrim), -1.0);
    a.sim.Event(kEventTrimDown, 0);
    EXPECT_EQ(a.Get(kTokenTrim), -1.0);
    a.tokens.Set(kTokenTrim, kNaN);
    a.sim.Event(kEventTrimUp, 0);
    EXPECT_EQ(a.Get(kTokenTrim), kTrimStep);
}

// The flap handle gauge shows icon 0 up to 4000, icon 1 above that up to 12000, icon 2 above.
int GaugeIcon(double handle) { return handle > 12000 ? 2 : handle > 4000 ? 1 : 0; }

TEST(Controls, FlapHandlePositionsFallInTheGaugeBands) {
    struct Case { double from; uint32_t event; int icon; };
    const Case cases[] = {
        {0, kEventFlapsDown, 1}, {8192, kEventFlapsDown, 2}, {16383, kEventFlapsDown, 2},
        {16383, kEventFlapsUp, 1}, {8192, kEventFlapsUp, 0}, {0, kEventFlapsUp, 0},
        {5000, kEventFlapsDown, 2}, {kNaN, kEventFlapsDown, 1}, {-3, kEventFlapsUp, 0},
        {1e300, kEventFlapsUp, 1},
    };
    Aircraft a;
    for (const Case& c : cases) {
        a.tokens.Set(kTokenFlapHandle, c.from);
        a.sim.Event(c.event, 0);
        const double handle = a.Get(kTokenFlapHandle);
        EXPECT_EQ(GaugeIcon(handle), c.icon) << c.from;
        // Every position sits well inside its band, away from the edges.
        EXPECT_TRUE(handle == 0 || handle == 8192 || handle == 16383) << handle;
    }
}

TEST(Controls, SetControlAcceptsOnlyKnownNamesInRange) {
    struct Case { const char* name; double value; bool accepted; };
    const Case cases[] = {
        {"throttle", 0, true}, {"throttle", 1, true}, {"throttle", 1.01, false},
        {"throttle", kNaN, false}, {"pitch", -1, true}, {"pitch", -1.5, false},
        {"roll", 1, true}, {"yaw", std::numeric_limits<double>::infinity(), false},
        {"brakes", 0.5, true}, {"flaps", 2, true}, {"flaps", 1.5, false}, {"flaps", 3, false},
        {"trim", -1, true}, {"fuel", 50, true}, {"fuel", -1, false}, {"units", 2, true},
        {"units", 0.5, false}, {"Throttle", 0.5, false}, {"", 0, false}, {"warp", 1, false},
    };
    for (const Case& c : cases) {
        Aircraft a;
        EXPECT_EQ(a.sim.SetControl(c.name, c.value), c.accepted) << c.name << " " << c.value;
    }
    Aircraft a;
    for (const std::string& name : a.sim.ControlNames()) EXPECT_FALSE(Simulation::ControlHelp(name).empty()) << name;
}

TEST(Controls, PanelControlsSetTheirTokens) {
    Aircraft a;
    a.sim.SetRunning(false);
    ASSERT_TRUE(a.sim.SetControl("throttle", 0.25));
    ASSERT_TRUE(a.sim.SetControl("flaps", 2));
    ASSERT_TRUE(a.sim.SetControl("trim", -0.5));
    ASSERT_TRUE(a.sim.SetControl("units", 2));
    EXPECT_EQ(a.Get(kTokenThrottle), 0.25);
    EXPECT_EQ(a.Get(kTokenFlapHandle), 16383);
    EXPECT_EQ(a.Get(kTokenTrim), -0.5);
    EXPECT_EQ(a.Get(kTokenUnits), 2);
}

TEST(Controls, FlightControlsEndTheDemoAndSettingsDoNot) {
    for (const std::string& name : Aircraft().sim.ControlNames()) {
        Aircraft a(true);
        const bool flight_control = name != "fuel" && name != "units";
        ASSERT_TRUE(a.sim.SetControl(name, 0)) << name;
        EXPECT_EQ(a.sim.DemoActive(), !flight_control) << name;
    }
    Aircraft a(true);
    a.sim.Event(kEventMasterToggle, 0);  // a click on the panel leaves the demo flying
    EXPECT_TRUE(a.sim.DemoActive());
}

TEST(Controls, UnknownEventsChangeNothing) {
    Aircraft a;
    a.sim.SetRunning(false);
    TokenStore before = a.tokens;
    for (uint32_t event : {0u, 1u, 0x10345u, 0x101e6u, 0x101ebu, 0xFFFFFFFFu}) {
        EXPECT_FALSE(Simulation::HandlesEvent(event));
        a.sim.Event(event, 12345);
    }
    for (uint32_t token = 0; token < TokenStore::kCapacity; ++token) {
        ASSERT_EQ(a.tokens.Get(token), before.Get(token)) << token;
        ASSERT_EQ(a.tokens.GetBcd(token), before.GetBcd(token)) << token;
    }
    EXPECT_TRUE(Simulation::HandlesEvent(kEventComFractionUp));
}

TEST(Controls, WildControlTokensAreMadeSaneWhileRunning) {
    struct Case { uint32_t token; double wild; double sane; };
    const Case cases[] = {
        {kTokenThrottle, kNaN, 0}, {kTokenThrottle, 7, 1}, {kTokenTrim, -1e300, -1},
        {kTokenFlapHandle, 5000, 8192}, {kTokenKollsman, kNaN, kKollsmanStandard},
        {kTokenUnits, 3, 0}, {kTokenMaster, 2, 1}, {kTokenMagnetoLeft, -1, 0},
    };
    for (const Case& c : cases) {
        Aircraft a;
        a.tokens.Set(c.token, c.wild);
        a.sim.Step();
        EXPECT_EQ(a.Get(c.token), c.sane) << c.token << " set to " << c.wild;
    }
}

}  // namespace
}  // namespace host::sim
