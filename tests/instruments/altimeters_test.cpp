// The altimeters' callbacks: the metric needle's unit conversion, the Kollsman window's text and the
// shared tooltip value. The fake host serves the tokens that the callbacks look up themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "fake_host.h"
#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr uint32_t kUnitsToken = 335;
constexpr uint32_t kKollsmanToken = 75;

class Altimeters : public ::testing::Test {
protected:
    void SetUp() override { InstallInstrumentsFakeHost(); }
};

TEST_F(Altimeters, MetricNeedleConvertsFeetUnlessTheUnitsAreExactlyMetres) {
    struct Case {
        double units, altitude, metres;
    };
    const Case cases[] = {
        {2.0, 1500, 1500},        {2.0, 3280, 3280},  // metres as delivered
        {0.0, 3280, 1000},        {1.0, 3280, 1000},  {1.0, 4920, 1500},
        {2.0000000001, 3280, 1000},                   // exact equality only
        {kNaN, 3280, 1000},       {-2.0, 3280, 1000},
        {1.0, -328, -100},        {0.0, kInf, kInf},  {2.0, -kInf, -kInf},
    };
    NeedleElement& needle = *First<NeedleElement>(AltimeterMtrGauge);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "units " << c.units << " altitude " << c.altitude);
        // The setting is refreshed at every call: a stale one would give the previous case's unit.
        Host().values[kUnitsToken] = c.units;
        SetVariableNumber(needle.variable, c.altitude);
        const size_t lookups = Host().Lookups().size();
        EXPECT_DOUBLE_EQ(needle.callback(&needle.header), c.metres);
        ASSERT_EQ(Host().Lookups().size(), lookups + 1);
        EXPECT_EQ(Host().Lookups().back(), kUnitsToken);
    }
    // An altitude that is not a number stays one; the host places such a needle as it places the
    // feet hands, which read the same token directly.
    SetVariableNumber(needle.variable, kNaN);
    EXPECT_TRUE(std::isnan(needle.callback(&needle.header)));
}

TEST_F(Altimeters, KollsmanWindowTruncatesIntoFourCharactersAndMarksOverflow) {
    struct Case {
        double setting;
        const char* text;
    };
    const Case cases[] = {
        {999.9, " 999"}, {1013, "1013"},  {1013.99, "1013"}, {-12.7, " -12"}, {0, "   0"},
        {-0.9, "   0"},  {9999.9, "9999"}, {-999.9, "-999"},
        // Settings that need a fifth character, or are no number at all.
        {10000, "****"}, {-1000, "****"}, {4294967296.0, "****"}, {-1e300, "****"},
        {kInf, "****"},  {-kInf, "****"}, {kNaN, "****"},
    };
    for (GaugeHeader* gauge : {&AltimeterMtrGauge, &AltimeterFtGauge}) {
        StringElement& window = *First<StringElement>(*gauge);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << gauge->name << " setting " << c.setting);
            // The host's buffer has room for the count and the zero; the rest is a guard.
            char buffer[16];
            std::memset(buffer, '#', sizeof buffer);
            window.text = buffer;
            SetVariableNumber(window.variables[0], c.setting);
            const double result = window.callback(&window.header);
            window.text = nullptr;
            EXPECT_STREQ(buffer, c.text);
            for (size_t i = window.char_count + 1; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#');
            if (std::isnan(c.setting)) {
                EXPECT_TRUE(std::isnan(result));
            } else {
                EXPECT_EQ(result, c.setting);  // the setting itself, untruncated
            }
        }
        // Without a buffer there is nothing to write, but the value still comes back.
        SetVariableNumber(window.variables[0], 1013.25);
        EXPECT_EQ(window.callback(&window.header), 1013.25);
    }
}

TEST_F(Altimeters, TooltipLooksUpTheSettingAtEveryCall) {
    TooltipArgs* args = AltimeterFtGauge.mouse_areas[1].tooltip_args;
    for (double setting : {1013.0, 998.6, 1013.0}) {
        Host().values[kKollsmanToken] = setting;
        EXPECT_EQ(args->callback(args), setting);
    }
    EXPECT_EQ(Host().Lookups(), (std::vector<uint32_t>{kKollsmanToken, kKollsmanToken, kKollsmanToken}));
}

}  // namespace
