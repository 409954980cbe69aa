// The host's service table: every host operation that module code calls, in table order.
// The host writes the table's address into the module's ImportTable when it loads the module.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gauge.h"

using ElementListOperation = uint32_t (*)(ElementHeader* root);
using ElementListValueOperation = uint32_t (*)(ElementHeader* root, uint32_t host_value);

struct HostServiceTable {
    ElementListOperation element_list_query;
    ElementListValueOperation element_list_install;
    ElementListOperation element_list_initialize;
    ElementListOperation element_list_update;
    ElementListValueOperation element_list_generate;
    ElementListOperation element_list_draw;
    ElementListOperation element_list_unused;  // between draw and kill: never called by modules
    ElementListOperation element_list_kill;
    // Shows the panel window if hidden, hides it if shown.
    uint32_t (*toggle_panel_window)(uint32_t window_id);
    // The simulation performs the event.
    uint32_t (*trigger_event)(uint32_t event_id, uint32_t argument);
    // Publishes a module variable under a name; type kNamedVariableInt32 for a 32-bit integer.
    uint32_t (*register_named_variable)(void* address, uint32_t type, const char* name);
    // Fills the record's pointer with the address published under the name.
    uint32_t (*bind_named_variable)(HostVariable* variable, const char* name);
    // Fills the record's value with the current value of its token.
    uint32_t (*lookup_variable)(HostVariable* variable);
    // Withdraws the name.
    uint32_t (*unregister_named_variable)(const char* name);
};

static_assert(offsetof(HostServiceTable, element_list_draw) == 5 * sizeof(void*));
static_assert(offsetof(HostServiceTable, element_list_kill) == 7 * sizeof(void*));
static_assert(offsetof(HostServiceTable, unregister_named_variable) == 13 * sizeof(void*));
