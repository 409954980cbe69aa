// The built Skelvan module as the host loads it: the instruments stand at their places in Linkage,
// and the attitude knob starts from its load position in the loaded library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module.h"

namespace {

class SkelvanModule : public ::testing::Test {
protected:
    void SetUp() override {
        handle_ = dlopen(SKELVAN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        linkage_ = static_cast<ModuleLinkage*>(dlsym(handle_, kLinkageSymbol));
        ASSERT_NE(linkage_, nullptr);
    }
    void TearDown() override {
        if (handle_ != nullptr) dlclose(handle_);
    }
    // Place counted from 1, or 0 when the gauge is not listed.
    size_t PlaceOf(const char* name) const {
        for (size_t i = 0; i < GaugeCount(*linkage_); ++i)
            if (std::string(linkage_->gauges[i]->name) == name) return i + 1;
        return 0;
    }
    void* handle_ = nullptr;
    ModuleLinkage* linkage_ = nullptr;
};

TEST_F(SkelvanModule, InstrumentsStandAtTheirPlaces) {
    const std::pair<size_t, const char*> places[] = {
        {2, "Attitude"},  {4, "Slip"},      {6, "Altimeter_mtr"}, {7, "Altimeter_ft"},
        {8, "Fuelpres"},  {12, "Airspeed"}, {13, "VSI"},          {14, "Compass"},
    };
    // While other folders' gauges are missing, ours close up and only their order is checked.
    const bool complete = GaugeCount(*linkage_) == 19;
    size_t previous = 0;
    for (const auto& [place, name] : places) {
        const size_t found = PlaceOf(name);
        ASSERT_NE(found, 0u) << name << " is not in Linkage";
        EXPECT_GT(found, previous) << name << " out of order";
        if (complete) {
            EXPECT_EQ(found, place) << name;
        }
        previous = found;
    }
}

// The bar's state is the library's own static data: right after loading it sits at 5, and the
// right half of the knob sweeps it to 13 and back.
TEST_F(SkelvanModule, AttitudeKnobStartsAtItsLoadPosition) {
    const size_t place = PlaceOf("Attitude");
    ASSERT_NE(place, 0u);
    const GaugeHeader& attitude = *linkage_->gauges[place - 1];
    // background > horizon card > bank ring > reference bar
    ElementHeader* bar_header = attitude.elements[0]->children[0]->children[0]->children[0];
    auto* bar = ElementAs<SpriteElement>(bar_header);
    ASSERT_EQ(bar->header.bitmap_id, 4864);
    ASSERT_EQ(attitude.mouse_areas[2].cursor, kCursorUpArrow);
    const MouseHandler right = attitude.mouse_areas[2].action.handler;

    std::vector<double> drawn = {bar->y_callback(bar_header) * bar->y_scale};
    for (int click = 0; click < 9; ++click) {
        const MousePoint point{140, 240};
        EXPECT_EQ(right(&point, kMouseLeftRepeat), 0u);
        drawn.push_back(bar->y_callback(bar_header) * bar->y_scale);
    }
    EXPECT_EQ(drawn, (std::vector<double>{-15, -18, -21, -24, -27, -30, -33, -36, -39, -33}));
}

}  // namespace
