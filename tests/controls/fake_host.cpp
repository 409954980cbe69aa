#include "fake_host.h"

#include "module.h"

FakeHost fake_host;

namespace {

uint32_t Other(ElementHeader*) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}
uint32_t OtherWithValue(ElementHeader*, uint32_t) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}
uint32_t Toggle(uint32_t) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}
uint32_t Trigger(uint32_t event, uint32_t argument) {
    fake_host.calls.push_back({HostCall::kTrigger, event, nullptr, argument});
    return 0;
}
uint32_t Register(void*, uint32_t, const char*) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}
uint32_t Bind(HostVariable*, const char*) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}
uint32_t Lookup(HostVariable* v) {
    fake_host.calls.push_back({HostCall::kLookup, v->token, v});
    const auto it = fake_host.values.find(v->token);
    SetVariableNumber(*v, it == fake_host.values.end() ? 0.0 : it->second);
    return 0;
}
uint32_t Unregister(const char*) {
    fake_host.calls.push_back({HostCall::kOther, 0});
    return 0;
}

HostServiceTable table = {
    .element_list_query = Other,
    .element_list_install = OtherWithValue,
    .element_list_initialize = Other,
    .element_list_update = Other,
    .element_list_generate = OtherWithValue,
    .element_list_draw = Other,
    .element_list_unused = Other,
    .element_list_kill = Other,
    .toggle_panel_window = Toggle,
    .trigger_event = Trigger,
    .register_named_variable = Register,
    .bind_named_variable = Bind,
    .lookup_variable = Lookup,
    .unregister_named_variable = Unregister,
};

}  // namespace

std::vector<uint32_t> FakeHost::Events() const {
    std::vector<uint32_t> events;
    for (const HostCall& c : calls)
        if (c.op == HostCall::kTrigger) events.push_back(c.id);
    return events;
}

void InstallFakeHost() {
    ImportTable.entries[0].pointer = &table;
    fake_host.values.clear();
    fake_host.calls.clear();
}
