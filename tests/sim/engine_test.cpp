#include <gtest/gtest.h>

#include "aircraft.h"
#include "sim/model.h"

namespace host::sim {
namespace {

TEST(Engine, StartsOnlyWithFuelAMagnetoAndThePoweredStarter) {
    struct Case {
        const char* what;
        bool master;
        uint32_t magnetos;
        double fuel;
        bool engine_failure;
        bool runs;
    };
    const Case cases[] = {
        {"everything set", true, kEventMagnetosBoth, 40, false, true},
        {"left magneto only", true, kEventMagnetosLeft, 40, false, true},
        {"right magneto only", true, kEventMagnetosRight, 40, false, true},
        {"magnetos off", true, kEventMagnetosOff, 40, false, false},
        {"master off: the starter has no power", false, kEventMagnetosBoth, 40, false, false},
        {"empty tank", true, kEventMagnetosBoth, 0, false, false},
        {"engine failure", true, kEventMagnetosBoth, 40, true, false},
    };
    for (const Case& c : cases) {
        Aircraft a;
        if (c.master) a.sim.Event(kEventMasterToggle, 0);
        a.sim.Event(c.magnetos, 0);
        ASSERT_TRUE(a.sim.SetControl("fuel", c.fuel));
        a.sim.SetFailure(kFailureEngine, c.engine_failure);
        a.HoldStarter(2);
        a.sim.Advance(3);  // starter released
        if (c.runs) {
            EXPECT_GT(a.Rpm(), 1350) << c.what;
            EXPECT_LT(a.Rpm(), 1550) << c.what;
            EXPECT_GT(a.Get(kTokenEngineElapsed), 2) << c.what;
        } else {
            EXPECT_LT(a.Rpm(), 50) << c.what;
            EXPECT_EQ(a.Get(kTokenEngineElapsed), 0) << c.what;
        }
    }
}

TEST(Engine, StopsWithoutIgnitionFuelOrOnFailure) {
    struct Case {
        const char* what;
        void (*cut)(Aircraft&);
    };
    const Case cases[] = {
        {"both magnetos off", [](Aircraft& a) { a.sim.Event(kEventMagnetosOff, 0); }},
        {"engine failure", [](Aircraft& a) { a.sim.SetFailure(kFailureEngine, true); }},
        {"tank runs dry", [](Aircraft& a) { a.sim.SetControl("fuel", 0); }},
    };
    for (const Case& c : cases) {
        Aircraft a;
        a.StartEngine();
        ASSERT_GT(a.Rpm(), 1350) << c.what;
        c.cut(a);
        a.sim.Advance(10);
        EXPECT_LT(a.Rpm(), 20) << c.what;
        const double elapsed = a.Get(kTokenEngineElapsed);
        a.sim.Advance(5);
        EXPECT_EQ(a.Get(kTokenEngineElapsed), elapsed) << c.what << ": the hour meter stops with the engine";
    }
}

TEST(Engine, StarterDisengagesShortlyAfterTheLastEvent) {
    Aircraft a;
    a.sim.Event(kEventStarter, 0);
    EXPECT_EQ(a.Get(kTokenStarter), 1);  // the button shows pressed at once
    a.sim.Advance(0.3);
    EXPECT_EQ(a.Get(kTokenStarter), 1);
    a.sim.Event(kEventStarter, 0);  // the host's repeat
    a.sim.Advance(0.3);
    EXPECT_EQ(a.Get(kTokenStarter), 1);
    a.sim.Advance(0.2);
    EXPECT_EQ(a.Get(kTokenStarter), 0);
}

TEST(Engine, SpeedFollowsTheThrottleWithALag) {
    Aircraft a;
    a.StartEngine();
    ASSERT_TRUE(a.sim.SetControl("brakes", 1));
    ASSERT_TRUE(a.sim.SetControl("throttle", 1));
    a.sim.Advance(0.2);
    const double early = a.Rpm();
    EXPECT_GT(early, 1500);
    EXPECT_LT(early, 4000);
    a.sim.Advance(5);
    EXPECT_GT(a.Rpm(), 5000);  // full power on the brakes
    EXPECT_LT(a.Rpm(), 5400);
    EXPECT_LT(a.Get(kTokenAirspeed), 0.01) << "the brakes hold full power";
    a.sim.SetControl("throttle", 0);
    a.sim.Advance(5);
    EXPECT_LT(a.Rpm(), 1550);
}

TEST(Engine, AlternatorChargesAboveIdleWithTheMasterOn) {
    struct Case { bool master; double throttle; bool electrical_failure; bool charges; };
    const Case cases[] = {
        {true, 0, false, false}, {true, 0.3, false, true}, {false, 0.3, false, false},
        {true, 0.3, true, false}, {true, 1, false, true},
    };
    for (const Case& c : cases) {
        Aircraft a;
        a.StartEngine();
        a.sim.SetControl("brakes", 1);
        a.sim.SetControl("throttle", c.throttle);
        if (!c.master) a.sim.Event(kEventMasterToggle, 0);
        a.sim.SetFailure(kFailureElectrical, c.electrical_failure);
        a.sim.Advance(5);
        EXPECT_EQ(a.Get(kTokenCharging) > 0, c.charges)
            << "master " << c.master << " throttle " << c.throttle << " failure " << c.electrical_failure;
    }
}

TEST(Engine, FuelPressureNeedsAPumpAndFuel) {
    struct Case { bool master; bool pump_switch; bool engine; double fuel; double min_bar; double max_bar; };
    const Case cases[] = {
        {false, false, false, 40, 0, 0.01},  // cold and dark
        {true, false, false, 40, 0, 0.01},   // the pump switched off
        {true, true, false, 40, 0.25, 0.4},  // electric pump
        {false, false, true, 40, 0.25, 0.4}, // engine-driven pump
        {true, true, false, 0, 0, 0.01},     // dry tank
    };
    for (const Case& c : cases) {
        Aircraft a;
        if (c.engine) a.StartEngine();
        if ((a.Get(kTokenMaster) == 1) != c.master) a.sim.Event(kEventMasterToggle, 0);
        if (c.pump_switch) a.sim.Event(kEventFuelPump, 0);
        a.sim.SetControl("fuel", c.fuel);
        a.sim.Advance(5);
        const double bar = a.Get(kTokenFuelPressure) / kFuelPressurePerBar;
        EXPECT_GE(bar, c.min_bar) << "master " << c.master << " pump " << c.pump_switch << " engine " << c.engine;
        EXPECT_LE(bar, c.max_bar) << "master " << c.master << " pump " << c.pump_switch << " engine " << c.engine;
    }
}

TEST(Engine, FuelWarningSourceCountsReserves) {
    Aircraft a;
    a.sim.SetControl("fuel", 4.9);
    a.sim.Step();
    EXPECT_LT(a.Get(kTokenFuelWarning), 1.0);
    a.sim.SetControl("fuel", 5);
    a.sim.Step();
    EXPECT_GE(a.Get(kTokenFuelWarning), 1.0);
    a.StartEngine();
    a.sim.SetControl("brakes", 1);
    a.sim.SetControl("throttle", 1);
    a.sim.Advance(60);
    EXPECT_LT(a.Get(kTokenFuelWarning), 1.0) << "full power burns about 26 litres an hour";
}

// Oil pressure alarms of the monitor lie below 1.5 and above 5.0 bar.
TEST(Engine, OilPressureLeavesItsBandWhenColdAtPowerAndWhenHotAtIdle) {
    Aircraft a;
    a.StartEngine();
    a.sim.SetControl("brakes", 1);
    EXPECT_GT(a.OilPressureBar(), 1.5) << "cold idle is normal";
    EXPECT_LT(a.OilPressureBar(), 5.0) << "cold idle is normal";
    a.sim.SetControl("throttle", 1);
    a.sim.Advance(3);
    EXPECT_GT(a.OilPressureBar(), 5.0) << "a cold engine revved at once";
    a.sim.Advance(600);
    EXPECT_GT(a.OilPressureBar(), 1.5);
    EXPECT_LT(a.OilPressureBar(), 5.0);
    a.sim.SetControl("throttle", 0);
    a.sim.Advance(5);
    EXPECT_LT(a.OilPressureBar(), 1.5) << "hot idle after long full power";
    a.sim.Advance(600);
    EXPECT_GT(a.OilPressureBar(), 1.5) << "idle once the oil has cooled";
}

TEST(Engine, WarmsUpFromAmbientAndOverheatsOnlyAfterLongFullPower) {
    Aircraft a;
    for (uint32_t token : {kTokenExhaustGas, kTokenCylinderHead, kTokenOilTemperature})
        EXPECT_NEAR(a.Celsius(token), AmbientC(kFieldElevationM), 0.01) << token;
    a.StartEngine();
    a.sim.SetControl("brakes", 1);
    a.sim.SetControl("throttle", 1);
    a.sim.Advance(60);
    // The monitor raises the exhaust alarm when the shown value passes 880, shown being a tenth of
    // the temperature plus 790 at this speed, times up to 1.0302 for one side.
    const auto shown_egt = [&] { return (a.Celsius(kTokenExhaustGas) / 10 + 790) * 1.0302; };
    EXPECT_LT(shown_egt(), 880) << "a minute of full power is fine";
    a.sim.Advance(240);
    EXPECT_GT(shown_egt(), 880) << "five minutes is not";
}

}  // namespace
}  // namespace host::sim
