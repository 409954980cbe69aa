// The built Q4d module, loaded as the host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "gauge_fake_host.h"
#include "module.h"

namespace {

HostServiceTable host = FakeHostTable();

struct LoadedModule {
    LoadedModule() {
        handle = dlopen(Q4D_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        linkage = static_cast<ModuleLinkage*>(dlsym(handle, kLinkageSymbol));
        imports = static_cast<ModuleImportTable*>(dlsym(handle, kImportTableSymbol));
        if (imports) imports->entries[0].pointer = &host;
    }
    ~LoadedModule() {
        if (handle) dlclose(handle);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    const GaugeHeader* Gauge(size_t i) const { return linkage->gauges[i]; }
    double DiscValue() const {
        ElementHeader* disc = Gauge(0)->elements[0]->children[0];
        return ElementAs<NeedleElement>(disc)->callback(disc);
    }
    void ClickArrow(size_t child) const {
        // The list starts with its parent, then the four arrows.
        Gauge(0)->mouse_areas[1 + child].action.handler(nullptr, kMouseLeftRepeat);
    }

    void* handle = nullptr;
    ModuleLinkage* linkage = nullptr;
    ModuleImportTable* imports = nullptr;
};

TEST(Q4dModule, ListsTheComputerThenItsIconAndBindsTheIconToTheComputersRoot) {
    Host().Reset();
    LoadedModule module;
    ASSERT_NE(module.handle, nullptr) << dlerror();
    ASSERT_NE(module.linkage, nullptr);
    ASSERT_NE(module.imports, nullptr);
    ASSERT_EQ(GaugeCount(*module.linkage), 2u);
    EXPECT_STREQ(module.Gauge(0)->name, "Q4D");
    EXPECT_STREQ(module.Gauge(1)->name, "ICON_Q4D");
    EXPECT_EQ(dlsym(module.handle, "DiscPosition"), nullptr) << "only the four module names are exported";

    // The host's draw for the icon reaches the flight computer's root: the routines are shared.
    static ElementHeader* drawn = nullptr;
    HostServiceTable spy = host;
    spy.element_list_draw = [](ElementHeader* root) {
        drawn = root;
        return 77u;
    };
    module.imports->entries[0].pointer = &spy;
    EXPECT_EQ(module.Gauge(1)->routines.draw(), 77u);
    EXPECT_EQ(drawn, module.Gauge(0)->elements[0]);
}

TEST(Q4dModule, EveryLoadStartsTheDiscAtZero) {
    {
        LoadedModule module;
        ASSERT_NE(module.handle, nullptr) << dlerror();
        EXPECT_EQ(module.DiscValue(), 0.0);
        module.ClickArrow(2);  // small counter-clockwise
        EXPECT_EQ(module.DiscValue(), -1.0);
        module.ClickArrow(1);  // large clockwise
        EXPECT_EQ(module.DiscValue(), 99.0);
    }
    LoadedModule reloaded;
    ASSERT_NE(reloaded.handle, nullptr) << dlerror();
    EXPECT_EQ(reloaded.DiscValue(), 0.0) << "nothing is saved between loads";
}

}  // namespace
