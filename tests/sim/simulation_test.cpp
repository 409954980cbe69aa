#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "aircraft.h"

namespace host::sim {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Simulation, AdvanceRunsWholeFixedSteps) {
    struct Case { std::vector<double> calls; double seconds; };
    const Case cases[] = {
        {{1.0}, 1.0},
        {std::vector<double>(18, 1.0 / 18), 1.0},  // the host's update rate
        {std::vector<double>(60, 1.0 / 60), 1.0},  // a display's rate: steps carry over
        {{1.0 / 144, 1.0 / 144}, 1.0 / 72},
        {{1.0 / 144}, 0},
        {{0, -1, -kInf, kInf, std::nan("")}, 0},  // wild durations do nothing
        {{1e300}, 3600},                          // capped: a wild host cannot hang the model
    };
    for (const Case& c : cases) {
        Aircraft a;
        for (double s : c.calls) a.sim.Advance(s);
        EXPECT_NEAR(a.sim.Time(), c.seconds, 1e-9) << c.calls.size() << " calls from " << c.calls[0];
    }
}

TEST(Simulation, PausedTokensStayAsSetAndStepRunsOnRequest) {
    Aircraft a(true);
    a.sim.SetRunning(false);
    EXPECT_FALSE(a.sim.Running());
    a.tokens.Set(kTokenEngineSpeed, 3000);
    a.tokens.Set(kTokenAirspeed, 99);
    a.sim.Advance(10);
    EXPECT_EQ(a.sim.Time(), 0);
    EXPECT_EQ(a.Get(kTokenEngineSpeed), 3000);
    EXPECT_EQ(a.Get(kTokenAirspeed), 99);
    a.sim.Step();
    EXPECT_EQ(a.sim.Time(), Simulation::kStepSeconds);
    EXPECT_EQ(a.Get(kTokenAirspeed), 0) << "a step writes the model's own values";
    a.sim.SetRunning(true);
    a.sim.Advance(1);
    EXPECT_NEAR(a.sim.Time(), 1 + Simulation::kStepSeconds, 1e-9);
}

TEST(Simulation, ResetIsColdAndDarkOnTheGround) {
    Aircraft a(true);
    a.sim.Advance(200);
    a.sim.SetFailure(kFailureEngine, true);
    a.sim.Reset(false);
    EXPECT_FALSE(a.sim.DemoActive());
    EXPECT_EQ(a.sim.DemoPhase(), "manual");
    EXPECT_EQ(a.sim.Time(), 0);
    EXPECT_FALSE(a.sim.FailureActive(kFailureEngine));
    struct Case { uint32_t token; double value; };
    const Case cases[] = {
        {kTokenMaster, 0}, {kTokenMagnetoLeft, 0}, {kTokenMagnetoRight, 0}, {kTokenStarter, 0},
        {kTokenFuelPump, 0}, {kTokenStrobe, 0}, {kTokenLandingLight, 0}, {kTokenThrottle, 0},
        {kTokenFlapHandle, 0}, {kTokenTrim, 0}, {kTokenEngineSpeed, 0}, {kTokenEngineElapsed, 0},
        {kTokenCharging, 0}, {kTokenFuelPressure, 0}, {kTokenOilPressure, 0}, {kTokenAirspeed, 0},
        {kTokenVerticalSpeed, 0}, {kTokenPitch, 0}, {kTokenBank, 0}, {kTokenSlipBall, 0},
        {kTokenHeading, kRunwayHeading}, {kTokenKollsman, kKollsmanStandard},
        {kTokenTickCounter, 0}, {kTokenFuelWarning, kFuelStartLitres / kFuelReserveLitres},
    };
    for (const Case& c : cases) EXPECT_EQ(a.Get(c.token), c.value) << c.token;
    EXPECT_NEAR(a.Get(kTokenAltitude), kFieldElevationM * kFeetPerMetre, 1e-9);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComActive), 0x2280u);
    EXPECT_EQ(a.tokens.GetBcd(kTokenComStandby), 0x1810u);
    a.sim.Reset();
    EXPECT_TRUE(a.sim.DemoActive()) << "the demo is the default";
}

TEST(Simulation, CountersRunAtTheirRates) {
    Aircraft a;
    a.sim.Advance(1);
    EXPECT_EQ(a.Get(kTokenTickCounter), 18);
    a.StartEngine();
    const double elapsed = a.Get(kTokenEngineElapsed);
    a.sim.Advance(10);
    EXPECT_NEAR(a.Get(kTokenEngineElapsed), elapsed + 10, 1e-6);
    a.sim.Reset(false);
    EXPECT_EQ(a.Get(kTokenEngineElapsed), 0) << "a new flight counts from zero";
}

TEST(Simulation, FailureKeysBeyondTheModelAreIgnored) {
    Aircraft a;
    for (uint32_t key : {64u, 65u, 1000u, 0xFFFFFFFFu}) {
        a.sim.SetFailure(key, true);
        EXPECT_FALSE(a.sim.FailureActive(key)) << key;
    }
    a.sim.SetFailure(63, true);
    EXPECT_TRUE(a.sim.FailureActive(63));
    EXPECT_FALSE(a.sim.FailureActive(kFailureEngine));
    a.sim.SetFailure(63, false);
    EXPECT_FALSE(a.sim.FailureActive(63));
}

// The same start and inputs give the same flight, to the last bit.
TEST(Simulation, IsDeterministic) {
    Aircraft first(true), second(true);
    for (Aircraft* a : {&first, &second}) {
        a->sim.Advance(150);
        a->sim.Event(kEventKollsmanDown, 0);
        a->sim.SetControl("roll", 0.2);
        for (int i = 0; i < 100; ++i) a->sim.Advance(0.37);
        a->sim.SetDemo(true);
        a->sim.Advance(100);
    }
    for (uint32_t token = 0; token < TokenStore::kCapacity; ++token) {
        const double x = first.Get(token), y = second.Get(token);
        ASSERT_EQ(std::memcmp(&x, &y, sizeof x), 0) << token;
        ASSERT_EQ(first.tokens.GetBcd(token), second.tokens.GetBcd(token)) << token;
    }
}

// Random stick, throttle, flap and trim inputs, failures and dry tanks for an hour from cruise: every
// output stays a finite number inside the range the gauges are documented to get.
TEST(Simulation, StaysFiniteAndInRangeUnderWildFlying) {
    Aircraft a(true);
    a.sim.Advance(300);  // from cruise, over the ground and back
    uint64_t seed = 12345;
    const auto random = [&seed] {  // fixed sequence: the test is the same every run
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    struct Control { const char* name; double min; double max; bool whole; };
    const Control controls[] = {
        {"throttle", 0, 1, false}, {"pitch", -1, 1, false}, {"roll", -1, 1, false},
        {"yaw", -1, 1, false}, {"flaps", 0, 2.999, true}, {"trim", -1, 1, false}, {"brakes", 0, 1, false},
    };
    for (int i = 0; i < 3600; ++i) {
        const Control& c = controls[i % 7];
        double value = c.min + random() * (c.max - c.min);
        if (c.whole) value = std::floor(value);
        ASSERT_TRUE(a.sim.SetControl(c.name, value)) << c.name << " " << value;
        if (i % 97 == 0) a.sim.SetFailure(kFailureEngine, random() < 0.3);
        if (i % 211 == 0) a.sim.SetControl("fuel", random() < 0.2 ? 0 : 40);
        if (i % 53 == 0) a.sim.Event(kEventMasterToggle, 0);
        if (i % 13 == 0) a.sim.Event(random() < 0.5 ? kEventStarter : kEventMagnetosBoth, 0);
        a.sim.Advance(1);
        for (uint32_t token = 0; token < TokenStore::kCapacity; ++token)
            ASSERT_TRUE(std::isfinite(a.Get(token))) << "token " << token << " at " << a.sim.Time() << " s";
        ASSERT_GE(a.Get(kTokenHeading), 0);
        ASSERT_LT(a.Get(kTokenHeading), 360);
        ASSERT_LE(std::abs(a.Get(kTokenSlipBall)), 127);
        ASSERT_LE(std::abs(a.Get(kTokenBank)), 85);
        ASSERT_LE(a.Rpm(), 7500);
        ASSERT_GE(a.Get(kTokenAltitude), kFieldElevationM * kFeetPerMetre - 1e-6);
        ASSERT_GE(a.Get(kTokenAirspeed), 0);
    }
}

// What the engine monitor would raise an alarm for, from the raw tokens (display on only).
bool MonitorAlarm(const Aircraft& a) {
    const double r = a.Get(kTokenEngineSpeed);
    if (r < 500 || (a.Get(kTokenMagnetoLeft) + a.Get(kTokenMagnetoRight)) < 1) return false;
    const double egt = a.Celsius(kTokenExhaustGas) / 10 + (r < 1500 ? 500 : 790);
    const double oil = a.Get(kTokenOilPressure) / 208;
    return r * 0.19 > 600 || egt * 1.0302 > 880 || oil < 15 || oil > 50;
}

TEST(Simulation, DemoStartsTheEngineAndClimbsWithinTwoMinutes) {
    Aircraft a(true);
    std::vector<std::string> phases;
    double engine_running_at = -1, climbing_at = -1;
    const double field_feet = kFieldElevationM * kFeetPerMetre;
    while (a.sim.Time() < 120) {
        a.sim.Advance(0.5);
        if (phases.empty() || phases.back() != a.sim.DemoPhase()) phases.push_back(a.sim.DemoPhase());
        if (engine_running_at < 0 && a.Rpm() > 1300) engine_running_at = a.sim.Time();
        if (climbing_at < 0 && a.Get(kTokenAltitude) > field_feet + 100 && a.Get(kTokenVerticalSpeed) > 256)
            climbing_at = a.sim.Time();
        EXPECT_FALSE(MonitorAlarm(a)) << "at " << a.sim.Time() << " s";
    }
    EXPECT_EQ(phases, (std::vector<std::string>{"engine start", "warm-up", "take-off", "climb"}));
    EXPECT_GT(engine_running_at, 5);
    EXPECT_LT(engine_running_at, 20);
    EXPECT_GT(climbing_at, 0);
    EXPECT_EQ(a.Get(kTokenMaster), 1);
    EXPECT_GT(a.Get(kTokenCharging), 0);
}

TEST(Simulation, DemoFliesTurnsCruiseAndDescentWithoutAlarms) {
    Aircraft a(true);
    std::vector<std::string> phases;
    double lowest_heading = 360, highest_heading = 0, highest_feet = 0;
    while (a.sim.Time() < 900) {
        a.sim.Advance(1);
        if (phases.empty() || phases.back() != a.sim.DemoPhase()) phases.push_back(a.sim.DemoPhase());
        const double heading = a.Get(kTokenHeading);
        ASSERT_GE(heading, 0);
        ASSERT_LT(heading, 360);
        lowest_heading = std::min(lowest_heading, heading);
        highest_heading = std::max(highest_heading, heading);
        highest_feet = std::max(highest_feet, a.Get(kTokenAltitude));
        EXPECT_FALSE(MonitorAlarm(a)) << "at " << a.sim.Time() << " s";
        EXPECT_LT(std::abs(a.Get(kTokenSlipBall)), 40) << "at " << a.sim.Time() << " s";
    }
    const std::vector<std::string> expected = {"engine start", "warm-up", "take-off", "climb",
                                               "cruise", "descent", "climb"};
    ASSERT_GE(phases.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(phases.begin(), phases.begin() + 7), expected);
    EXPECT_LT(lowest_heading, 20);
    EXPECT_GT(highest_heading, 250);
    EXPECT_GT(highest_feet, 2500);
}

TEST(Simulation, DemoLeavesTheUsersClicksStanding) {
    Aircraft a(true);
    a.sim.Advance(20);
    a.sim.Event(kEventStrobe, 0);  // the demo switched it on at 3 s
    a.sim.Advance(325);
    ASSERT_EQ(a.sim.DemoPhase(), "cruise");
    a.sim.Event(kEventLandingLight, 0);
    a.sim.Event(kEventFlapsDown, 0);
    a.sim.Advance(10);
    EXPECT_TRUE(a.sim.DemoActive());
    EXPECT_EQ(a.Get(kTokenStrobe), 0);
    EXPECT_EQ(a.Get(kTokenLandingLight), 1);
    EXPECT_EQ(a.Get(kTokenFlapHandle), kFlapHandleNotch[1]);
}

TEST(Simulation, DemoTakesOverWhereverTheAircraftIs) {
    {
        Aircraft a;  // started by hand, still on the ground
        a.StartEngine();
        a.sim.SetDemo(true);
        EXPECT_EQ(a.sim.DemoPhase(), "warm-up");
        a.sim.Advance(40);
        EXPECT_EQ(a.sim.DemoPhase(), "take-off");
    }
    {
        Aircraft a(true);  // the pilot took over in the climb and flew on a minute
        a.sim.Advance(70);
        ASSERT_TRUE(a.sim.SetControl("throttle", 0.72));
        a.sim.Advance(60);
        a.sim.SetDemo(true);
        EXPECT_EQ(a.sim.DemoPhase(), "climb");
    }
    {
        Aircraft a(true);  // the engine cut in cruise
        a.sim.Advance(345);
        a.sim.SetControl("throttle", 0.72);
        a.sim.Event(kEventMagnetosOff, 0);
        a.sim.Advance(5);
        a.sim.SetDemo(true);
        EXPECT_EQ(a.sim.DemoPhase(), "glide");
        a.sim.Advance(30);
        EXPECT_GT(a.Get(kTokenAirspeed), 45) << "the demo keeps flying speed without the engine";
    }
}

}  // namespace
}  // namespace host::sim
