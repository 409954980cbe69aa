#include "gauge_fake_host.h"

#include <utility>

#include "module.h"

namespace {

uint32_t Record(HostCall call) {
    Host().calls.push_back(std::move(call));
    return 0;
}

HostServiceTable MakeTable() {
    return HostServiceTable{
        .element_list_query = [](ElementHeader*) { return Record({"query"}); },
        .element_list_install = [](ElementHeader*, uint32_t v) { return Record({"install", v}); },
        .element_list_initialize = [](ElementHeader*) { return Record({"initialize"}); },
        .element_list_update = [](ElementHeader*) { return Record({"update"}); },
        .element_list_generate = [](ElementHeader*, uint32_t v) { return Record({"generate", v}); },
        .element_list_draw = [](ElementHeader*) { return Record({"draw"}); },
        .element_list_unused = [](ElementHeader*) { return Record({"unused"}); },
        .element_list_kill = [](ElementHeader*) { return Record({"kill"}); },
        .toggle_panel_window =
            [](uint32_t id) {
                Record({"toggle", id});
                Host().window_shown = !Host().window_shown;
                return Host().toggle_result;
            },
        .trigger_event =
            [](uint32_t id, uint32_t argument) {
                return Record({.op = "trigger", .id = id, .argument = argument});
            },
        .register_named_variable =
            [](void* address, uint32_t type, const char* name) -> uint32_t {
                Record({.op = "register", .name = name});
                Host().published[name] = address;
                Host().published_type[name] = type;
                return 1;
            },
        .bind_named_variable =
            [](HostVariable* variable, const char* name) -> uint32_t {
                Record({.op = "bind", .record = variable, .name = name});
                auto found = Host().published.find(name);
                if (found == Host().published.end()) return 0;
                variable->pointer = found->second;
                return 1;
            },
        .lookup_variable =
            [](HostVariable* variable) -> uint32_t {
                FakeHost& host = Host();
                if (host.record_lookups) Record({"lookup", variable->token, variable});
                auto found = host.values.find(variable->token);
                SetVariableNumber(*variable, found == host.values.end() ? 0.0 : found->second);
                return 1;
            },
        .unregister_named_variable =
            [](const char* name) -> uint32_t {
                Record({.op = "unregister", .name = name});
                Host().published.erase(name);
                return 1;
            },
    };
}

}  // namespace

void PrintTo(const HostCall& call, std::ostream* out) {
    *out << call.op << ' ' << call.id;
    if (call.record) *out << " record " << static_cast<const void*>(call.record);
    if (call.argument) *out << " argument " << call.argument;
    if (!call.name.empty()) *out << " \"" << call.name << '"';
}

void FakeHost::Reset() { *this = FakeHost{}; }

std::vector<uint32_t> FakeHost::Events() const {
    std::vector<uint32_t> events;
    for (const HostCall& c : calls)
        if (c.op == "trigger") events.push_back(c.id);
    return events;
}

std::vector<uint32_t> FakeHost::Lookups() const {
    std::vector<uint32_t> tokens;
    for (const HostCall& c : calls)
        if (c.op == "lookup") tokens.push_back(c.id);
    return tokens;
}

std::vector<std::string> FakeHost::Log() const {
    std::vector<std::string> log;
    for (const HostCall& c : calls)
        log.push_back(std::string(c.op) + ' ' + (c.name.empty() ? std::to_string(c.id) : c.name));
    return log;
}

FakeHost& Host() {
    static FakeHost host;
    return host;
}

HostServiceTable& FakeHostTable() {
    static HostServiceTable table = MakeTable();
    return table;
}

void InstallFakeHost() {
    Host().Reset();
    ImportTable.entries[0].pointer = &FakeHostTable();
}
