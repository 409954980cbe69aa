#include "fake_host.h"

#include <cstring>

#include "engine.h"
#include "gauges.h"
#include "module.h"

// The engine gauges in their Linkage order, Flydat before Flydatwarning.
ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&FlydatGauge, &FuelwarningGauge, &ChargewarningGauge, &FlydatwarningGauge, nullptr},
};

namespace {

FakeHost host;

uint32_t Unused(ElementHeader*) { return 0; }
uint32_t UnusedWithValue(ElementHeader*, uint32_t) { return 0; }
uint32_t Toggle(uint32_t) { return 0; }
uint32_t Trigger(uint32_t, uint32_t) { return 0; }

uint32_t Register(void* address, uint32_t type, const char* name) {
    host.calls.push_back(std::string("register ") + name);
    host.published[name] = address;
    host.published_type[name] = type;
    return 1;
}

// Leaves the record untouched when nothing is published, as a host may.
uint32_t Bind(HostVariable* variable, const char* name) {
    host.calls.push_back(std::string("bind ") + name);
    auto found = host.published.find(name);
    if (found == host.published.end()) return 0;
    variable->pointer = found->second;
    return 1;
}

uint32_t Lookup(HostVariable* variable) {
    if (host.log_calls) host.calls.push_back("lookup " + std::to_string(variable->token));
    auto found = host.values.find(variable->token);
    SetVariableNumber(*variable, found == host.values.end() ? 0.0 : found->second);
    return 1;
}

uint32_t Unregister(const char* name) {
    host.calls.push_back(std::string("unregister ") + name);
    host.published.erase(name);
    return 1;
}

HostServiceTable table = {
    .element_list_query = Unused,
    .element_list_install = UnusedWithValue,
    .element_list_initialize = Unused,
    .element_list_update = Unused,
    .element_list_generate = UnusedWithValue,
    .element_list_draw = Unused,
    .element_list_unused = Unused,
    .element_list_kill = Unused,
    .toggle_panel_window = Toggle,
    .trigger_event = Trigger,
    .register_named_variable = Register,
    .bind_named_variable = Bind,
    .lookup_variable = Lookup,
    .unregister_named_variable = Unregister,
};

}  // namespace

void FakeHost::Reset() {
    values.clear();
    published.clear();
    published_type.clear();
    calls.clear();
    log_calls = true;
}

FakeHost& Host() { return host; }

void InstallFakeHost() {
    host.Reset();
    ImportTable.entries[0].pointer = &table;
    using namespace engine;
    FlydatWarning = 0;
    RpmAlarm = EgtPtoAlarm = ChtAlarm = OilTemperatureAlarm = EgtMagAlarm = OilPressureAlarm = 0;
    HoursBase = 0;
    HoursValue = 0;
    std::strcpy(HoursDigits, "0000 ");
    LampTestLatch = 0;
    WarningBinding = HostVariable{};
}
