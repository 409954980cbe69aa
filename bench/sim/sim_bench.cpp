// One fixed step of the aircraft model, against a baseline that only writes as many tokens as a
// step publishes. Compare the two in the same run: the ratio is what a step costs beyond its
// unavoidable stores.
#include <benchmark/benchmark.h>

#include "sim/sim_tokens.h"
#include "sim/simulation.h"

namespace {

using namespace host;
using namespace host::sim;

constexpr uint32_t kOutputs[] = {
    kTokenTickCounter, kTokenEngineElapsed, kTokenEngineSpeed, kTokenExhaustGas, kTokenCylinderHead,
    kTokenOilTemperature, kTokenOilPressure, kTokenFuelPressure, kTokenFuelWarning, kTokenCharging,
    kTokenAirspeed, kTokenVerticalSpeed, kTokenAltitude, kTokenPitch, kTokenBank, kTokenHeading,
    kTokenSlipBall, kTokenMaster, kTokenMagnetoLeft, kTokenMagnetoRight, kTokenFuelPump, kTokenStrobe,
    kTokenLandingLight, kTokenThrottle, kTokenFlapHandle, kTokenTrim, kTokenKollsman, kTokenUnits,
};

void BM_BaselineTokenWrites(benchmark::State& state) {
    TokenStore tokens;
    double v = 0;
    for (auto _ : state) {
        v += 1;
        for (uint32_t t : kOutputs) tokens.Set(t, v);
        benchmark::DoNotOptimize(tokens);
    }
}
BENCHMARK(BM_BaselineTokenWrites);

// A step with the demo flying: the autopilot, all units and the outputs. Started in cruise and
// run for long stretches, so it covers turns and the descent too.
void BM_StepDemoCruise(benchmark::State& state) {
    TokenStore tokens;
    Simulation sim(tokens);
    sim.Advance(345);
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(tokens);
    }
}
BENCHMARK(BM_StepDemoCruise);

// A step under a pilot's hands: no autopilot, the same cruise.
void BM_StepManual(benchmark::State& state) {
    TokenStore tokens;
    Simulation sim(tokens);
    sim.Advance(345);
    sim.SetControl("throttle", 0.72);
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(tokens);
    }
}
BENCHMARK(BM_StepManual);

}  // namespace
