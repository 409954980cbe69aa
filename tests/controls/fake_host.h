// A host service table for unit tests: serves variable values by token and records every call.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "gauge.h"

struct HostCall {
    enum Op { kLookup, kTrigger, kOther } op;
    uint32_t id;                      // token looked up, or event sent
    const HostVariable* record = nullptr;  // the record a lookup refreshed
    uint32_t argument = 0;            // the event's argument
    bool operator==(const HostCall&) const = default;
};

struct FakeHost {
    std::map<uint32_t, double> values;  // unknown tokens read as 0
    std::vector<HostCall> calls;

    std::vector<uint32_t> Events() const;
};

extern FakeHost fake_host;

// Points the module's ImportTable at the fake and clears it.
void InstallFakeHost();
