// The built Skelvan module as the host loads it: the control gauges stand at their places in
// Linkage, and "Masterswitch", first, is the gauge whose root every lifecycle routine hands over.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "module.h"

namespace {

ElementHeader* drawn_root = nullptr;
uint32_t Draw(ElementHeader* root) {
    drawn_root = root;
    return 7;
}

TEST(SkelvanModule, ControlGaugesStandAtTheirPlaces) {
    void* handle = dlopen(SKELVAN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto* linkage = static_cast<ModuleLinkage*>(dlsym(handle, kLinkageSymbol));
    auto* imports = static_cast<ModuleImportTable*>(dlsym(handle, kImportTableSymbol));
    ASSERT_NE(linkage, nullptr);
    ASSERT_NE(imports, nullptr);

    // Places counted from 1, as the panel system lists them. While other folders' gauges are
    // not listed yet, ours close up behind one another and only their order is checked.
    const std::pair<size_t, const char*> places[] = {
        {1, "Masterswitch"}, {5, "Startbutton"}, {15, "Icom"},           {16, "Magnetos"},
        {17, "Switches"},    {18, "Throttle"},   {19, "Flap_trim_handle"},
    };
    const size_t count = GaugeCount(*linkage);
    size_t previous = 0;
    for (const auto& [place, name] : places) {
        size_t found = 0;
        for (size_t i = 0; i < count; ++i)
            if (std::string(linkage->gauges[i]->name) == name) found = i + 1;
        ASSERT_NE(found, 0u) << name << " is not in Linkage";
        EXPECT_GT(found, previous) << name << " out of order";
        if (count == 19) {
            EXPECT_EQ(found, place) << name;
        }
        previous = found;
    }
    ASSERT_STREQ(linkage->gauges[0]->name, "Masterswitch");

    HostServiceTable table{};
    table.element_list_draw = Draw;
    imports->entries[0].pointer = &table;
    for (size_t i = 0; i < GaugeCount(*linkage); ++i) {
        drawn_root = nullptr;
        EXPECT_EQ(linkage->gauges[i]->routines.draw(), 7u);
        EXPECT_EQ(drawn_root, linkage->gauges[0]->elements[0]) << linkage->gauges[i]->name;
    }
    EXPECT_EQ(drawn_root->bitmap_id, 13056) << "the master switch bezel";
    dlclose(handle);
}

}  // namespace
