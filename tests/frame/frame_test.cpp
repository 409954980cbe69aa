// The module frame, exercised through the fixture module as the host sees it: loaded with dlopen,
// bound through ImportTable, driven through the routines of its GaugeHeaders.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module.h"

namespace {

struct Call {
    std::string op;
    ElementHeader* root;
    uint32_t value;
    int table;  // which service table received the call
};

std::vector<Call> calls;

template <int Which>
struct Recorder {
    static uint32_t Op(const char* op, ElementHeader* root, uint32_t value, uint32_t result) {
        calls.push_back({op, root, value, Which});
        return result;
    }
    static uint32_t Query(ElementHeader* r) { return Op("query", r, 0, 101); }
    static uint32_t Install(ElementHeader* r, uint32_t v) { return Op("install", r, v, 102); }
    static uint32_t Initialize(ElementHeader* r) { return Op("initialize", r, 0, 103); }
    static uint32_t Update(ElementHeader* r) { return Op("update", r, 0, 104); }
    static uint32_t Generate(ElementHeader* r, uint32_t v) { return Op("generate", r, v, 105); }
    static uint32_t Draw(ElementHeader* r) { return Op("draw", r, 0, 106); }
    static uint32_t Unused(ElementHeader* r) { return Op("unused", r, 0, 107); }
    static uint32_t Kill(ElementHeader* r) { return Op("kill", r, 0, 108); }
    static uint32_t Toggle(uint32_t id) { return Op("toggle", nullptr, id, 0); }
    static uint32_t Trigger(uint32_t id, uint32_t) { return Op("trigger", nullptr, id, 0); }
    static uint32_t Register(void*, uint32_t type, const char*) { return Op("register", nullptr, type, 0); }
    static uint32_t Bind(HostVariable*, const char*) { return Op("bind", nullptr, 0, 0); }
    static uint32_t Lookup(HostVariable* v) { return Op("lookup", nullptr, v->token, 0); }
    static uint32_t Unregister(const char*) { return Op("unregister", nullptr, 0, 0); }
    static HostServiceTable Table() {
        return HostServiceTable{
            .element_list_query = Query,
            .element_list_install = Install,
            .element_list_initialize = Initialize,
            .element_list_update = Update,
            .element_list_generate = Generate,
            .element_list_draw = Draw,
            .element_list_unused = Unused,
            .element_list_kill = Kill,
            .toggle_panel_window = Toggle,
            .trigger_event = Trigger,
            .register_named_variable = Register,
            .bind_named_variable = Bind,
            .lookup_variable = Lookup,
            .unregister_named_variable = Unregister,
        };
    }
};

HostServiceTable table_one = Recorder<1>::Table();
HostServiceTable table_two = Recorder<2>::Table();

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(FIXTURE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        linkage = static_cast<ModuleLinkage*>(dlsym(handle, kLinkageSymbol));
        imports = static_cast<ModuleImportTable*>(dlsym(handle, kImportTableSymbol));
        entry = reinterpret_cast<ModuleEntryPointFn>(dlsym(handle, kEntryPointSymbol));
        ASSERT_NE(linkage, nullptr);
        ASSERT_NE(imports, nullptr);
        ASSERT_NE(entry, nullptr);
        imports->entries[0].pointer = &table_one;
        calls.clear();
    }
    void TearDown() override {
        if (handle) dlclose(handle);
    }
    ElementHeader* FirstRoot() const { return linkage->gauges[0]->elements[0]; }

    void* handle = nullptr;
    ModuleLinkage* linkage = nullptr;
    ModuleImportTable* imports = nullptr;
    ModuleEntryPointFn entry = nullptr;
};

TEST_F(FrameTest, LinkageAndImportTableAsShipped) {
    EXPECT_EQ(linkage->module_id, 0x13u);
    EXPECT_EQ(linkage->module_version, 0x0800u);
    EXPECT_EQ(linkage->status, 0u);
    EXPECT_EQ(linkage->reserved, 0u);
    ASSERT_NE(linkage->module_init, nullptr);
    ASSERT_NE(linkage->module_deinit, nullptr);
    linkage->module_init();
    linkage->module_deinit();
    EXPECT_TRUE(calls.empty()) << "module init and deinit call nothing";
    EXPECT_EQ(imports->entries[0].id, 0x0Fu);
    EXPECT_EQ(imports->entries[1].id, 0u);
    EXPECT_EQ(imports->entries[1].pointer, nullptr);
}

TEST_F(FrameTest, GaugeListEndsAtFirstZeroEntry) {
    ASSERT_EQ(GaugeCount(*linkage), 3u);
    EXPECT_STREQ(linkage->gauges[0]->name, "FixtureA");
    EXPECT_STREQ(linkage->gauges[2]->name, "FixtureC");
    EXPECT_NE(linkage->gauges[4], nullptr) << "the fixture keeps a gauge past the end on purpose";
}

TEST_F(FrameTest, EntryPointReturnsOneForEveryReason) {
    for (uint32_t reason : {kEntryProcessAttach, kEntryProcessDetach, 2u, 3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(entry(handle, reason, nullptr), 1) << "reason " << reason;
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(FrameTest, EveryGaugesRoutinesHandOverTheFirstGaugesRoot) {
    for (size_t g = 0; g < GaugeCount(*linkage); ++g) {
        const LifecycleRoutines& r = linkage->gauges[g]->routines;
        calls.clear();
        EXPECT_EQ(r.query(), 101u);
        EXPECT_EQ(r.install(7), 102u);
        EXPECT_EQ(r.initialize(), 103u);
        EXPECT_EQ(r.update(), 104u);
        EXPECT_EQ(r.generate(9), 105u);
        EXPECT_EQ(r.draw(), 106u);
        EXPECT_EQ(r.kill(), 108u);
        const std::vector<std::string> expected = {"query", "install", "initialize", "update",
                                                   "generate", "draw", "kill"};
        ASSERT_EQ(calls.size(), expected.size()) << linkage->gauges[g]->name;
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].op, expected[i]);
            EXPECT_EQ(calls[i].root, FirstRoot()) << linkage->gauges[g]->name << " " << calls[i].op;
        }
    }
}

TEST_F(FrameTest, InstallAndGeneratePassTheHostValueBitForBit) {
    const LifecycleRoutines& r = linkage->gauges[1]->routines;
    for (uint32_t value : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 0xDEADBEEFu}) {
        calls.clear();
        r.install(value);
        r.generate(value);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].value, value);
        EXPECT_EQ(calls[1].value, value);
        EXPECT_EQ(calls[0].root, FirstRoot());
    }
}

TEST_F(FrameTest, ReplacedServiceTableIsUsedByTheNextCall) {
    const LifecycleRoutines& r = linkage->gauges[2]->routines;
    r.draw();
    imports->entries[0].pointer = &table_two;
    r.draw();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].table, 1);
    EXPECT_EQ(calls[1].table, 2);
}

TEST_F(FrameTest, ServiceCallbacksActOnlyOnTheirCodes) {
    GaugeServiceCallback publisher = linkage->gauges[1]->service;
    GaugeServiceCallback silent = linkage->gauges[2]->service;
    ASSERT_NE(publisher, nullptr);
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(linkage->gauges[0]->service, nullptr);
    for (uint32_t code : {0u, 1u, 3u, 13u, 0xFFFFFFFFu}) {
        publisher(0, code, 0);
        silent(0, code, 0);
    }
    EXPECT_TRUE(calls.empty());
    silent(0, kServiceInstall, 0);
    silent(0, kServiceKill, 0);
    EXPECT_TRUE(calls.empty());
    publisher(0xFFFFFFFF, kServiceInstall, 0xFFFFFFFF);
    publisher(0, kServiceKill, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "register");
    EXPECT_EQ(calls[0].value, kNamedVariableInt32);
    EXPECT_EQ(calls[1].op, "unregister");
}

TEST_F(FrameTest, HostOwnedFieldsShipZero) {
    const GaugeHeader* g = linkage->gauges[0];
    for (uint32_t w : g->host_owned1) EXPECT_EQ(w, 0u);
    for (uint32_t w : g->host_owned2) EXPECT_EQ(w, 0u);
    const ElementHeader* root = g->elements[0];
    EXPECT_EQ(root->host_owned1[0], 0u);
    EXPECT_EQ(root->host_owned2, 0u);
    const NeedleElement* needle = ElementAs<NeedleElement>(root->children[0]);
    EXPECT_EQ(needle->header.kind, kNeedle);
    EXPECT_EQ(needle->variable.pointer, nullptr);
    EXPECT_EQ(needle->variable.type, 0u);
    EXPECT_EQ(needle->table[1].host_owned, 0.0);
}

TEST(HostVariableValue, NumberAndBcdShareTheValueField) {
    HostVariable v = Var(23);
    SetVariableBcd(v, 0x2345);
    EXPECT_EQ(VariableBcd(v), 0x2345u);
    EXPECT_EQ(v.value[0], 0x45);
    EXPECT_EQ(v.value[1], 0x23);
    SetVariableNumber(v, -12.5);
    EXPECT_EQ(VariableNumber(v), -12.5);
}

TEST(BitmapLookup, FindsByIdInASortedTable) {
    static const unsigned char bytes[] = {'B', 'M'};
    static const BitmapResource entries[] = {
        {.id = 4096, .bytes = bytes, .size = 2},
        {.id = 4097, .bytes = bytes, .size = 2},
        {.id = 9216, .bytes = bytes, .size = 2},
    };
    const BitmapTable table{.count = 3, .entries = entries};
    EXPECT_EQ(FindBitmap(table, 4097), &entries[1]);
    EXPECT_EQ(FindBitmap(table, 9216), &entries[2]);
    EXPECT_EQ(FindBitmap(table, 4098), nullptr);
    EXPECT_EQ(FindBitmap(table, 0), nullptr);
    EXPECT_EQ(FindBitmap(BitmapTable{.count = 0, .entries = nullptr}, 4096), nullptr);
}

}  // namespace
