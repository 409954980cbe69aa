// A fake host service table for the gauge unit tests: LookupVariable serves values by token,
// named variables are kept as the host keeps them, TogglePanelWindow shows and hides one window,
// and every call of module code into the host is recorded in call order.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host_services.h"

// One call into the host. `op` is the service: "query", "install", "initialize", "update",
// "generate", "draw", "unused", "kill", "toggle", "trigger", "register", "bind", "lookup",
// "unregister".
struct HostCall {
    std::string_view op;
    uint32_t id = 0;                       // token looked up, event sent, window toggled, list value
    const HostVariable* record = nullptr;  // the record a lookup refreshed or a bind filled
    uint32_t argument = 0;                 // the event's argument
    std::string name{};                    // the named variable registered, bound or withdrawn
    bool operator==(const HostCall&) const = default;
};

void PrintTo(const HostCall& call, std::ostream* out);

struct FakeHost {
    std::map<uint32_t, double> values;               // LookupVariable serves these (0 when absent)
    std::map<std::string, void*> published;         // RegisterNamedVariable / UnregisterNamedVariable
    std::map<std::string, uint32_t> published_type;
    std::vector<HostCall> calls;
    bool record_lookups = true;  // off where a test counts allocations
    bool window_shown = false;   // flipped by TogglePanelWindow
    uint32_t toggle_result = 0;  // what TogglePanelWindow answers

    // Forgets every value, name and call, and hides the window.
    void Reset();
    // Events sent, in call order.
    std::vector<uint32_t> Events() const;
    // Tokens looked up, in call order.
    std::vector<uint32_t> Lookups() const;
    // The calls as text: "register flydat.warning", "bind flydat.warning", "lookup 390", ...
    std::vector<std::string> Log() const;
};

// The one fake host of the test process.
FakeHost& Host();
// The service table whose every entry reaches Host(). Bind fills the record only when the name is
// published, and leaves it untouched otherwise, as a host may.
HostServiceTable& FakeHostTable();
// Resets Host() and puts FakeHostTable() in the ImportTable of the gauges linked into the test.
void InstallFakeHost();
