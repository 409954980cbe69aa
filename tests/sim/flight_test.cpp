#include <gtest/gtest.h>

#include <cmath>

#include "aircraft.h"

namespace host::sim {
namespace {

// Level at about 2800 ft and 74 knots, heading east, the demo's hands on the controls: the pilot
// takes over with the throttle where the demo left it.
class Cruising : public ::testing::Test {
protected:
    void SetUp() override {
        a.sim.Reset(true);
        a.sim.Advance(345);
        ASSERT_EQ(a.sim.DemoPhase(), "cruise");
        ASSERT_TRUE(a.sim.SetControl("throttle", 0.72));
        ASSERT_FALSE(a.sim.DemoActive());
        a.sim.Advance(1);
    }
    double Knots() const { return a.Get(kTokenAirspeed); }
    double Feet() const { return a.Get(kTokenAltitude); }
    double Heading() const { return a.Get(kTokenHeading); }
    static double Turned(double from, double to) { return std::remainder(to - from, 360.0); }

    Aircraft a;
};

TEST_F(Cruising, HoldsItsStateHandsOff) {
    const double knots = Knots(), feet = Feet(), heading = Heading();
    a.sim.Advance(30);
    EXPECT_NEAR(Knots(), knots, 3);
    EXPECT_NEAR(Feet(), feet, 100);
    EXPECT_NEAR(Turned(heading, Heading()), 0, 5);
}

TEST_F(Cruising, PowerClimbsAndIdleDescends) {
    const double feet = Feet();
    a.sim.SetControl("throttle", 1);
    a.sim.Advance(30);
    EXPECT_GT(Feet(), feet + 100);
    EXPECT_GT(a.Get(kTokenVerticalSpeed), 0.5 * kVerticalSpeedPerMps);
    const double top = Feet();
    a.sim.SetControl("throttle", 0);
    a.sim.Advance(30);
    EXPECT_LT(Feet(), top - 100);
    EXPECT_LT(a.Get(kTokenVerticalSpeed), -0.5 * kVerticalSpeedPerMps);
}

TEST_F(Cruising, ElevatorTrimAndFlapsSetTheAirspeed) {
    struct Case {
        const char* what;
        void (*act)(Aircraft&);
        double min_change;  // knots after a minute
        double max_change;
    };
    const Case cases[] = {
        {"pull", [](Aircraft& a) { a.sim.SetControl("pitch", 0.15); }, -40, -8},
        {"push", [](Aircraft& a) { a.sim.SetControl("pitch", -0.2); }, 4, 40},
        {"trim nose up", [](Aircraft& a) { for (int i = 0; i < 8; ++i) a.sim.Event(kEventTrimUp, 0); }, -40, -8},
        {"trim nose down", [](Aircraft& a) { for (int i = 0; i < 3; ++i) a.sim.Event(kEventTrimDown, 0); }, 4, 40},
        {"full flaps", [](Aircraft& a) { a.sim.Event(kEventFlapsDown, 0); a.sim.Event(kEventFlapsDown, 0); }, -40, -8},
    };
    for (const Case& c : cases) {
        SetUp();
        const double knots = Knots();
        c.act(a);
        a.sim.Advance(60);
        EXPECT_GT(Knots() - knots, c.min_change) << c.what;
        EXPECT_LT(Knots() - knots, c.max_change) << c.what;
        EXPECT_GT(Knots(), 30) << c.what << ": no stall";
    }
}

TEST_F(Cruising, BankTurnsCoordinatedAndRudderSkids) {
    struct Case { double roll; double sign; };
    for (const Case& c : {Case{0.3, 1}, Case{-0.3, -1}}) {
        SetUp();
        a.sim.SetControl("roll", c.roll);
        a.sim.Advance(1);
        a.sim.SetControl("roll", 0);
        a.sim.Advance(2);
        const double bank = a.Get(kTokenBank);
        EXPECT_GT(bank * c.sign, 12);
        EXPECT_LT(bank * c.sign, 25);
        const double heading = Heading();
        a.sim.Advance(10);
        // A rate of g tan(bank) / speed: about 3 degrees a second at 16 degrees and 74 knots.
        EXPECT_GT(Turned(heading, Heading()) * c.sign, 20);
        EXPECT_LT(Turned(heading, Heading()) * c.sign, 60);
        EXPECT_NEAR(a.Get(kTokenSlipBall), 0, 3) << "a banked turn is coordinated";
    }
    SetUp();
    const double heading = Heading();
    a.sim.SetControl("yaw", 1);
    a.sim.Advance(3);
    EXPECT_GT(Turned(heading, Heading()), 8) << "the nose swings right";
    EXPECT_LT(a.Get(kTokenSlipBall), -20) << "the ball swings out of the skid";
}

TEST_F(Cruising, FullPowerDiveOverspeedsTheEngine) {
    a.sim.SetControl("throttle", 1);
    a.sim.SetControl("pitch", -0.3);
    double seconds = 0;
    while (a.Rpm() <= 6000 && seconds < 60) {
        a.sim.Advance(0.5);
        seconds += 0.5;
    }
    EXPECT_GT(a.Rpm(), 6000);
    EXPECT_GT(Feet(), 600) << "before reaching the ground";
    EXPECT_GT(Knots(), 90);
}

TEST_F(Cruising, AltitudeFollowsUnitsAndKollsmanSetting) {
    a.sim.SetRunning(false);
    const double feet = Feet();
    a.sim.SetControl("units", 2);
    a.sim.Step();
    EXPECT_NEAR(a.Get(kTokenAltitude), feet * 0.3048, 2);
    for (int i = 0; i < 10; ++i) a.sim.Event(kEventKollsmanUp, 0);
    a.sim.Step();
    EXPECT_NEAR(a.Get(kTokenAltitude), feet * 0.3048 + 83, 2) << "10 mbar more read about 83 m higher";
    a.sim.SetControl("units", 1);
    a.sim.Step();
    EXPECT_NEAR(a.Get(kTokenAltitude), (feet * 0.3048 + 83) / 0.3048, 6);
}

TEST(Flight, TakesOffAndComesBackToTheRunway) {
    Aircraft a;
    a.StartEngine();
    a.sim.Event(kEventFlapsDown, 0);
    a.sim.SetControl("throttle", 1);
    a.sim.Advance(8);
    EXPECT_GT(a.Get(kTokenAirspeed), 25);
    EXPECT_NEAR(a.Get(kTokenAltitude), kFieldElevationM * kFeetPerMetre, 1) << "still rolling";
    a.sim.SetControl("pitch", 0.5);
    a.sim.Advance(15);
    EXPECT_GT(a.Get(kTokenAltitude), kFieldElevationM * kFeetPerMetre + 50);
    EXPECT_LT(a.Get(kTokenPitch), -3) << "nose up reads negative";
    a.sim.SetControl("pitch", 0);
    a.sim.SetControl("throttle", 0);
    a.sim.Advance(120);
    EXPECT_NEAR(a.Get(kTokenAltitude), kFieldElevationM * kFeetPerMetre, 1) << "down again";
    EXPECT_EQ(a.Get(kTokenVerticalSpeed), 0);
    EXPECT_EQ(a.Get(kTokenBank), 0);
    a.sim.SetControl("brakes", 1);
    a.sim.Advance(30);
    EXPECT_EQ(a.Get(kTokenAirspeed), 0);
}

}  // namespace
}  // namespace host::sim
