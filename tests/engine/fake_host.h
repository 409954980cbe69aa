// A fake host for the engine gauges: serves token values to LookupVariable, keeps the named
// variables that gauges publish, and logs the calls that the tests look at.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gauge.h"
#include "scratch_directory.h"

struct FakeHost {
    std::map<uint32_t, double> values;        // LookupVariable serves these (0 when absent)
    std::map<std::string, void*> published;   // RegisterNamedVariable / UnregisterNamedVariable
    std::map<std::string, uint32_t> published_type;
    std::vector<std::string> calls;           // "register flydat.warning", "lookup 390", ...
    bool log_calls = true;                    // off where the test counts allocations

    void Reset();
};

// The one fake host; its table is in ImportTable while a test runs.
FakeHost& Host();
// Puts the fake host's table in ImportTable and sets every piece of the engine gauges' module
// state back to its start value, as a fresh load of the module would.
void InstallFakeHost();
