// The built Skelvan module as the host loads it: the engine gauges stand at their places in
// Linkage, and inside the one loaded module the Flydatwarning lamp repeats what Flydat publishes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "scratch_directory.h"
#include "module.h"

namespace {

// A host just big enough for the two gauges' service calls and lookups.
std::map<uint32_t, double> values;
std::map<std::string, void*> published;

uint32_t Lookup(HostVariable* v) {
    SetVariableNumber(*v, values[v->token]);
    return 1;
}
uint32_t Register(void* address, uint32_t, const char* name) {
    published[name] = address;
    return 1;
}
uint32_t Bind(HostVariable* v, const char* name) {
    if (published.count(name)) v->pointer = published[name];
    return 1;
}
uint32_t Unregister(const char* name) {
    published.erase(name);
    return 1;
}

class SkelvanModule : public ::testing::Test {
protected:
    void SetUp() override {
        handle_ = dlopen(SKELVAN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        linkage_ = static_cast<ModuleLinkage*>(dlsym(handle_, kLinkageSymbol));
        imports_ = static_cast<ModuleImportTable*>(dlsym(handle_, kImportTableSymbol));
        ASSERT_NE(linkage_, nullptr);
        ASSERT_NE(imports_, nullptr);
        table_.lookup_variable = Lookup;
        table_.register_named_variable = Register;
        table_.bind_named_variable = Bind;
        table_.unregister_named_variable = Unregister;
        imports_->entries[0].pointer = &table_;
    }
    void TearDown() override {
        if (handle_) dlclose(handle_);
    }
    GaugeHeader* Find(const char* name) {
        for (size_t i = 0; i < GaugeCount(*linkage_); ++i)
            if (std::string(linkage_->gauges[i]->name) == name) return linkage_->gauges[i];
        return nullptr;
    }

    void* handle_ = nullptr;
    ModuleLinkage* linkage_ = nullptr;
    ModuleImportTable* imports_ = nullptr;
    HostServiceTable table_{};
};

TEST_F(SkelvanModule, EngineGaugesStandAtTheirPlaces) {
    // Places counted from 1. While other folders' gauges are missing, only the order is checked.
    const std::pair<size_t, const char*> places[] = {
        {3, "Flydat"}, {9, "Fuelwarning"}, {10, "Chargewarning"}, {11, "Flydatwarning"}};
    const size_t count = GaugeCount(*linkage_);
    size_t previous = 0;
    for (const auto& [place, name] : places) {
        size_t found = 0;
        for (size_t i = 0; i < count; ++i)
            if (std::string(linkage_->gauges[i]->name) == name) found = i + 1;
        ASSERT_NE(found, 0u) << name << " is not in Linkage";
        EXPECT_GT(found, previous) << name << " out of order";
        if (count == 19) {
            EXPECT_EQ(found, place) << name;
        }
        previous = found;
    }
}

TEST_F(SkelvanModule, FlydatWarningReachesTheLampInsideTheModule) {
    ScratchDirectory scratch;  // the install reads the hours file from here
    GaugeHeader* flydat = Find("Flydat");
    GaugeHeader* lamp = Find("Flydatwarning");
    ASSERT_NE(flydat, nullptr);
    ASSERT_NE(lamp, nullptr);
    ASSERT_NE(flydat->service, nullptr);
    ASSERT_NE(lamp->service, nullptr);
    flydat->service(0, kServiceInstall, 0);
    lamp->service(0, kServiceInstall, 0);
    ASSERT_EQ(published.count("flydat.warning"), 1u);

    auto* oil_pressure = ElementAs<StringElement>(flydat->elements[0]->children[7]);
    auto* icon = ElementAs<IconElement>(lamp->elements[0]->children[0]);
    char text[6] = {};
    oil_pressure->text = text;
    values = {{390, 2000}, {399, 1}, {400, 0}};
    SetVariableNumber(oil_pressure->variables[0], 1000);  // 4.8: below the band
    oil_pressure->callback(&oil_pressure->header);
    EXPECT_STREQ(text, "   4");
    EXPECT_EQ(icon->callback(&icon->header), 1.0);

    SetVariableNumber(oil_pressure->variables[0], 5000);  // 24.0: in band
    oil_pressure->callback(&oil_pressure->header);
    EXPECT_EQ(icon->callback(&icon->header), 0.0);
    oil_pressure->text = nullptr;

    flydat->service(0, kServiceKill, 0);
    EXPECT_EQ(published.count("flydat.warning"), 0u);
}

}  // namespace
