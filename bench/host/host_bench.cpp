// The cost of one host update of the default panel (every refresh and callback of all 21 gauges,
// the flight computer window shown, no drawing), against the aircraft model's own step for 1/18 s
// as the baseline measured in the same run. Read the ratio of the times.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "launch.h"

namespace {

struct Panel {
    std::string root;
    std::unique_ptr<host::Host> host;
    Panel() {
        std::string pattern = (std::filesystem::temp_directory_path() / "host-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) root = pattern;
        host::LaunchOptions options;
        options.root = root;
        std::string error;
        host = host::StartHost(options, {SKELVAN_PATH, Q4D_PATH}, nullptr, &error);
        if (host) host->SetWindowShown(host::kFlightComputerWindow, true, &error);
    }
    ~Panel() {
        host.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

void BM_ModelStepBaseline(benchmark::State& state) {
    Panel panel;
    if (!panel.host) return state.SkipWithError("the panel did not start");
    for (auto _ : state) panel.host->sim().Advance(1.0 / host::Host::kUpdatesPerSecond);
}
BENCHMARK(BM_ModelStepBaseline);

void BM_PanelUpdateModelPaused(benchmark::State& state) {
    Panel panel;
    if (!panel.host) return state.SkipWithError("the panel did not start");
    panel.host->sim().SetRunning(false);
    for (auto _ : state) panel.host->Update();
}
BENCHMARK(BM_PanelUpdateModelPaused);

void BM_PanelUpdate(benchmark::State& state) {
    Panel panel;
    if (!panel.host) return state.SkipWithError("the panel did not start");
    for (auto _ : state) panel.host->Update();
}
BENCHMARK(BM_PanelUpdate);

}  // namespace

BENCHMARK_MAIN();
