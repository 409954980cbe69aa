// A fake host service table for the flight computer tests: it keeps one panel window that
// TogglePanelWindow shows and hides, and records every call of module code into the host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_services.h"

namespace fake_host {

struct Call {
    std::string op;
    uint32_t value;
};

inline std::vector<Call> calls;
inline bool window_shown = false;
// What TogglePanelWindow answers; the module must hand it back untouched.
inline uint32_t toggle_result = 0;

inline uint32_t Record(const char* op, uint32_t value) {
    calls.push_back({op, value});
    return 0;
}

inline HostServiceTable Table() {
    return HostServiceTable{
        .element_list_query = [](ElementHeader*) { return Record("query", 0); },
        .element_list_install = [](ElementHeader*, uint32_t v) { return Record("install", v); },
        .element_list_initialize = [](ElementHeader*) { return Record("initialize", 0); },
        .element_list_update = [](ElementHeader*) { return Record("update", 0); },
        .element_list_generate = [](ElementHeader*, uint32_t v) { return Record("generate", v); },
        .element_list_draw = [](ElementHeader*) { return Record("draw", 0); },
        .element_list_unused = [](ElementHeader*) { return Record("unused", 0); },
        .element_list_kill = [](ElementHeader*) { return Record("kill", 0); },
        .toggle_panel_window =
            [](uint32_t id) {
                Record("toggle", id);
                window_shown = !window_shown;
                return toggle_result;
            },
        .trigger_event = [](uint32_t id, uint32_t) { return Record("trigger", id); },
        .register_named_variable = [](void*, uint32_t, const char*) { return Record("register", 0); },
        .bind_named_variable = [](HostVariable*, const char*) { return Record("bind", 0); },
        .lookup_variable = [](HostVariable* v) { return Record("lookup", v->token); },
        .unregister_named_variable = [](const char*) { return Record("unregister", 0); },
    };
}

inline void Reset() {
    calls.clear();
    window_shown = false;
    toggle_result = 0;
}

}  // namespace fake_host
