// The three warning lamps through their callbacks and handlers.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "engine.h"
#include "fake_host.h"
#include "gauges.h"

using namespace engine;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

IconElement* LampOf(GaugeHeader& gauge) {
    return ElementAs<IconElement>(gauge.elements[0]->children[0]);
}

// The icon index that the host would show, with the lamp's variable refreshed to x.
double Show(GaugeHeader& gauge, double x = 0) {
    IconElement* lamp = LampOf(gauge);
    SetVariableNumber(lamp->variable, x);
    return lamp->callback(&lamp->header);
}

// The Fuelwarning test button's handler, delivered once as the host delivers a click.
void PressTestButton() {
    const MouseArea* areas = FuelwarningGauge.mouse_areas;
    for (const MouseArea* a = areas; a->kind != kMouseEndList; ++a) {
        if (a->kind == kMouseChild) {
            const MousePoint point{20, 70};
            EXPECT_EQ(a->action.handler(&point, a->event_flags), 0u);
            return;
        }
    }
    FAIL() << "no test button";
}

class WarningLampsTest : public ::testing::Test {
protected:
    void SetUp() override { InstallEngineFakeHost(); }
};

TEST_F(WarningLampsTest, FuelLampLightsBelowOneOrWithTheLatch) {
    struct Case {
        double x;
        int32_t latch;
        double lamp;
    };
    const Case cases[] = {
        {0.99, 0, 1}, {1.0, 0, 0}, {0, 0, 1},    {25, 0, 0},   {-3, 0, 1},
        {1.0, 1, 1},  {25, 1, 1},  {kNaN, 0, 1}, {kInf, 0, 0}, {-kInf, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " latch " << c.latch);
        LampTestLatch = c.latch;
        EXPECT_EQ(Show(FuelwarningGauge, c.x), c.lamp);
    }
}

// The button repeats while held: each delivery flips the latch once more, and the lamp stays as
// the last delivery left it through any number of updates.
TEST_F(WarningLampsTest, TestButtonTogglesOncePerDelivery) {
    EXPECT_EQ(Show(FuelwarningGauge, 5), 0.0);
    PressTestButton();
    for (int update = 0; update < 3; ++update) EXPECT_EQ(Show(FuelwarningGauge, 5), 1.0);
    PressTestButton();
    EXPECT_EQ(Show(FuelwarningGauge, 5), 0.0);
    for (int delivery = 0; delivery < 3; ++delivery) PressTestButton();  // held: odd count
    EXPECT_EQ(LampTestLatch, 1);
    EXPECT_EQ(Show(FuelwarningGauge, 5), 1.0);
    InstallEngineFakeHost();  // a new load starts clear
    EXPECT_EQ(Show(FuelwarningGauge, 5), 0.0);
}

TEST_F(WarningLampsTest, ChargeLampLightsWithoutCharge) {
    struct Case {
        double x;
        double lamp;
    };
    const Case cases[] = {
        {0, 1}, {-0.0, 1}, {-12, 1}, {0.001, 0}, {14.2, 0}, {kNaN, 1}, {kInf, 0}, {-kInf, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(Show(ChargewarningGauge, c.x), c.lamp);
    }
}

TEST_F(WarningLampsTest, FlydatLampReadsThePublishedWarning) {
    int32_t published = 0;
    Host().published["flydat.warning"] = &published;
    FlydatLampService(0, 2, 0);
    const struct {
        int32_t value;
        double lamp;
    } cases[] = {{0, 0}, {1, 1}, {7, 1}, {-1, 0}, {INT32_MIN, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        published = c.value;
        EXPECT_EQ(Show(FlydatwarningGauge), c.lamp);
    }
    // Kill keeps the binding; only the next install binds anew.
    published = 1;
    FlydatLampService(0, 12, 0);
    EXPECT_EQ(Show(FlydatwarningGauge), 1.0);
    EXPECT_EQ(Host().Log(), std::vector<std::string>{"bind flydat.warning"});
}

// No Flydat gauge has published the name: the host leaves the record as it was, and the lamp must
// not read through an address from an earlier binding.
TEST_F(WarningLampsTest, FlydatLampWithoutBindingStaysDark) {
    EXPECT_EQ(Show(FlydatwarningGauge), 0.0) << "never bound";
    int32_t stale = 1;
    WarningBinding.pointer = &stale;
    FlydatLampService(0, 2, 0);
    EXPECT_EQ(Show(FlydatwarningGauge), 0.0);
}

// Through both gauges: the lamp is dark while the Flydat display is off, whatever the alarms, and
// lights at the first box update that finds the display on with an alarm set.
TEST_F(WarningLampsTest, FlydatLampRepeatsTheMonitor) {
    ScratchDirectory scratch;
    FlydatService(0, 2, 0);
    FlydatLampService(0, 2, 0);

    StringElement* oil_pressure = ElementAs<StringElement>(FlydatGauge.elements[0]->children[7]);
    char text[6] = {};
    oil_pressure->text = text;
    SetVariableNumber(oil_pressure->variables[0], 1000);  // 4.8: below 15, alarm
    Host().values[399] = 1;
    Host().values[390] = 400;
    oil_pressure->callback(&oil_pressure->header);
    EXPECT_EQ(OilPressureAlarm, 1);
    EXPECT_EQ(Show(FlydatwarningGauge), 0.0);

    Host().values[390] = 2000;
    oil_pressure->callback(&oil_pressure->header);
    EXPECT_EQ(Show(FlydatwarningGauge), 1.0);

    Host().values[399] = 0;
    oil_pressure->callback(&oil_pressure->header);
    EXPECT_EQ(Show(FlydatwarningGauge), 0.0);
    oil_pressure->text = nullptr;
    FlydatService(0, 12, 0);
}

// The shape the host walks: every nested parent closed at once, the top parent closed, then the
// end of the list; the test button's child takes the click under the parent that gives its tip.
TEST_F(WarningLampsTest, MouseListsAreWellFormed) {
    for (GaugeHeader* gauge : {&FlydatGauge, &FuelwarningGauge, &ChargewarningGauge, &FlydatwarningGauge}) {
        SCOPED_TRACE(gauge->name);
        const MouseArea* a = gauge->mouse_areas;
        ASSERT_EQ(a[0].kind, kMouseParent);
        EXPECT_EQ(a[0].box.width, 0);
        int depth = 1;
        size_t i = 1;
        for (; depth > 0; ++i) {
            ASSERT_LT(i, 64u) << "list never closes";
            if (a[i].kind == kMouseParent) {
                ++depth;
                EXPECT_EQ(a[i + 1].kind, kMouseEndParent) << "nested parent holds nothing";
            } else if (a[i].kind == kMouseEndParent) {
                --depth;
            } else if (a[i].kind == kMouseChild) {
                EXPECT_NE(a[i].action.handler, nullptr);
                EXPECT_EQ(a[i].event_id, 0u);
            } else if (a[i].kind == kMouseTooltip) {
                ASSERT_NE(a[i].tooltip_args, nullptr);
                EXPECT_EQ(a[i].tooltip_args->callback, nullptr) << "no insert in these texts";
            }
        }
        EXPECT_EQ(a[i].kind, kMouseEndList);
    }
    const MouseArea* fuel = FuelwarningGauge.mouse_areas;
    EXPECT_EQ(fuel[3].action.handler, LampTestToggle);
    EXPECT_EQ(fuel[3].event_flags, kMouseLeftRepeat);
    EXPECT_EQ(std::memcmp(&fuel[1].box, &fuel[3].box, sizeof(MouseBox)), 0);
}

}  // namespace
