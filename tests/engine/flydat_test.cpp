// The Flydat engine monitor through its callbacks, as the host calls them: the box's own variable
// refreshed, the gauge's own records served by the fake host's LookupVariable.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "engine.h"
#include "fake_host.h"
#include "gauges.h"

using namespace engine;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The boxes in draw order.
enum Box { kRpm, kEgtPto, kCht, kOilTemperature, kHours, kEgtMag, kSide, kOilPressure };

StringElement* BoxAt(int box) {
    return ElementAs<StringElement>(FlydatGauge.elements[0]->children[box]);
}

// Tick counts that fall on either side.
constexpr double kLeftTick = 10;
constexpr double kRightTick = 200;

class FlydatTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallEngineFakeHost();
        SetEngine(2000, 1, 1, kLeftTick);
    }

    void SetEngine(double speed, double left_magneto, double right_magneto, double ticks) {
        Host().values[390] = speed;
        Host().values[399] = left_magneto;
        Host().values[400] = right_magneto;
        Host().values[1] = ticks;
    }

    // One box update: the host refreshes the box's own variable, hands over a buffer of the
    // box's character count plus the zero, and calls the callback. Bytes past the buffer are
    // watched for an overrun.
    std::string Update(int box, double x, double* result = nullptr) {
        StringElement* element = BoxAt(box);
        SetVariableNumber(element->variables[0], x);
        std::vector<char> buffer(element->char_count + 1 + kGuard, '#');
        std::memset(buffer.data(), 'X', element->char_count + 1);
        element->text = buffer.data();
        const double value = element->callback(&element->header);
        element->text = nullptr;
        for (size_t i = element->char_count + 1; i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], '#') << "written past the box's buffer";
        if (result) *result = value;
        return std::string(buffer.data(), strnlen(buffer.data(), element->char_count + 1));
    }

    static constexpr size_t kGuard = 8;
};

// Converted temperature c as the host's raw value: ConvertTemperature inverted.
double RawTemperature(double c) { return c * 9 / 5 + 428; }

// ---- Display gate ---------------------------------------------------------------------------------

TEST_F(FlydatTest, DisplayGateBlanksEveryBoxAndTheWarning) {
    struct Case {
        double speed, left, right;
        bool on;
    };
    const Case cases[] = {
        {499.9, 1, 1, false},   // truncated to 499
        {500, 0.4, 0.4, false}, // magneto sum truncates to 0
        {500, 1, 0, true},
        {500, 0, 1, true},
        {6000, 0, 0, false},
        {kNaN, 1, 1, false},    // a speed that is no number is no running engine
        {1e12, 1, 1, false},    // beyond 32 bits truncates to INT32_MIN
        {-kInf, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " magnetos " << c.left << "+" << c.right);
        SetEngine(c.speed, c.left, c.right, kLeftTick);
        // Alarms are raised by the RPM and oil-pressure readings below in every case.
        for (int box = kRpm; box <= kOilPressure; ++box) {
            const double x = box == kRpm ? 4000 : box == kOilPressure ? 0 : 1000;
            const std::string text = Update(box, x);
            EXPECT_EQ(text.empty(), !c.on) << "box " << box << " shows '" << text << "'";
        }
        EXPECT_EQ(RpmAlarm, 1);
        EXPECT_EQ(OilPressureAlarm, 1);
        EXPECT_EQ(FlydatWarning, c.on ? 1 : 0);
    }
}

TEST_F(FlydatTest, DisplayGateReturnsTheMagnetoSum) {
    Host().values[399] = 1;
    Host().values[400] = 2.7;
    BoxAt(kRpm)->text = nullptr;  // no buffer from the host: nothing is written, nothing breaks
    EXPECT_EQ(DisplayGate(&BoxAt(kRpm)->header, "%4d", 1), 3.0);
    Host().values[390] = 499;
    EXPECT_EQ(DisplayGate(&BoxAt(kRpm)->header, "%4d", 1), 0.0);
}

// The warning follows the six flags as they stand at each box update, and only while the display
// is on; the first update after the display returns raises it again.
TEST_F(FlydatTest, WarningFollowsTheFlagsAtEveryBoxUpdate) {
    Update(kOilPressure, 3000);  // 14.4: alarm
    EXPECT_EQ(FlydatWarning, 1);
    Update(kHours, 0);  // the hours box recomputes from the flags too
    EXPECT_EQ(FlydatWarning, 1);

    SetEngine(300, 1, 1, kLeftTick);
    Update(kSide, 0);
    EXPECT_EQ(FlydatWarning, 0);
    Update(kOilPressure, 3000);  // still computes its flag while dark
    EXPECT_EQ(OilPressureAlarm, 1);
    EXPECT_EQ(FlydatWarning, 0);

    SetEngine(2000, 1, 0, kLeftTick);
    Update(kSide, 0);
    EXPECT_EQ(FlydatWarning, 1);
    Update(kOilPressure, 5000);  // 24.0: back in band, no flag left
    EXPECT_EQ(FlydatWarning, 0);
}

// ---- Measured channels ------------------------------------------------------------------------------

TEST_F(FlydatTest, RpmShowsTensAndAlarmsAbove6000) {
    struct Case {
        double x;
        const char* text;
        int alarm;
    };
    const Case cases[] = {
        {3160, "6000", 0},  // a = 600 (600.4)
        {3164, "6010", 1},  // a = 601
        {0, "   0", 0},
        {2000, "3800", 0},
        {-10, " -10", 1},   // a = -1 (-1.9 truncated toward zero)
        {-5, "   0", 0},    // a = 0 (-0.95)
        {kNaN, "   0", 1},  // INT32_MIN, times ten wraps to 0
        {1e15, "   0", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        double result = 0;
        EXPECT_EQ(Update(kRpm, c.x, &result), c.text);
        EXPECT_EQ(RpmAlarm, c.alarm);
        if (!std::isnan(c.x)) {
            EXPECT_EQ(result, c.x);
        }
    }
}

TEST_F(FlydatTest, CompressTemperatureJumpsAtItsThresholds) {
    struct Case {
        int32_t kind;
        double speed;
        double v;
        double expected;
    };
    const Case cases[] = {
        {2, 500, 100, 100},      {2, 500, 100.5, 110.05}, {2, 500, 101, 110.1},
        {2, 499.9, 300, 300},    {3, 500, 95, 95},        {3, 500, 96, 104.6},
        {3, 499, 200, 200},      {1, 1000, 300, 530},     {1, 1499, 900, 590},
        {1, 1500, 900, 880},     {1, 2000, 900, 880},     {1, 499, 900, 900},
        {1, kNaN, 900, 900},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " speed " << c.speed << " v " << c.v);
        Host().values[390] = c.speed;
        EXPECT_DOUBLE_EQ(CompressTemperature(c.kind, c.v), c.expected);
    }
}

TEST_F(FlydatTest, ChtAndOilTemperatureShowAndAlarm) {
    struct Case {
        int box;
        double converted;
        const char* text;
        int alarm;
    };
    const Case cases[] = {
        {kCht, 100, " 100", 0},
        {kCht, 101, " 110", 0},   // 110.1
        {kCht, -5, "  -5", 1},
        {kCht, 0, "   0", 0},
        {kCht, 500, " 150", 0},   // exactly at the limit
        {kCht, 510, " 151", 1},
        {kOilTemperature, 96, " 104", 0},  // 104.6
        {kOilTemperature, 95, "  95", 0},
        {kOilTemperature, 450, " 140", 0},
        {kOilTemperature, 460, " 141", 1},
        {kOilTemperature, -1, "  -1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "box " << c.box << " converted " << c.converted);
        EXPECT_EQ(Update(c.box, RawTemperature(c.converted)), c.text);
        EXPECT_EQ(c.box == kCht ? ChtAlarm : OilTemperatureAlarm, c.alarm);
    }
}

TEST_F(FlydatTest, ExhaustGasBoxesBySpeedAndSide) {
    struct Case {
        double speed, x, ticks;
        const char* pto_text;
        int pto_alarm;
        const char* mag_text;
        int mag_alarm;
    };
    const Case cases[] = {
        {2000, 2048, kRightTick, " 880", 0, " 906", 1},  // 880, 906.576
        {2000, 2048, kLeftTick, " 906", 1, " 897", 1},   // 906.4, 897.6
        {1000, 968, kLeftTick, " 545", 0, " 540", 0},    // 545.9, 540.6
        {1000, 968, kRightTick, " 530", 0, " 546", 0},   // 530, 546.006
        {1000, 380, kLeftTick, " 512", 0, " 507", 0},    // converted -26.7 remaps above 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " x " << c.x << " ticks " << c.ticks);
        SetEngine(c.speed, 1, 1, c.ticks);
        EXPECT_EQ(Update(kEgtPto, c.x), c.pto_text);
        EXPECT_EQ(EgtPtoAlarm, c.pto_alarm);
        EXPECT_EQ(Update(kEgtMag, c.x), c.mag_text);
        EXPECT_EQ(EgtMagAlarm, c.mag_alarm);
    }
}

TEST_F(FlydatTest, ExhaustGasReturnsTheValueItShows) {
    SetEngine(2000, 1, 1, kLeftTick);
    double result = 0;
    Update(kEgtPto, 2048, &result);
    EXPECT_DOUBLE_EQ(result, 880 * 1.03);
}

TEST_F(FlydatTest, OilPressureBand) {
    struct Case {
        double x;
        const char* text;
        int alarm;
    };
    const Case cases[] = {
        {3120, "  15", 0},   // 15.0
        {3119, "  14", 1},   // 14.995
        {10400, "  50", 0},  // 50.0
        {10401, "  50", 1},  // 50.005
        {0, "   0", 1},
        {kNaN, "-----", 1},  // no reading at all: alarm, and no number made up
        {kInf, "-----", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(Update(kOilPressure, c.x), c.text);
        EXPECT_EQ(OilPressureAlarm, c.alarm);
    }
}

TEST_F(FlydatTest, TemperatureThatIsNoNumberSetsTheAlarm) {
    for (int box : {kEgtPto, kCht, kOilTemperature, kEgtMag}) {
        SCOPED_TRACE(box);
        EXPECT_EQ(Update(box, kNaN), "-----");
    }
    EXPECT_EQ(EgtPtoAlarm, 1);
    EXPECT_EQ(ChtAlarm, 1);
    EXPECT_EQ(OilTemperatureAlarm, 1);
    EXPECT_EQ(EgtMagAlarm, 1);
}

// ---- Side and hours -----------------------------------------------------------------------------------

TEST_F(FlydatTest, SideAlternatesEvery180Ticks) {
    struct Case {
        double ticks;
        Side side;
    };
    const Case cases[] = {
        {0, Side::kLeft},      {179, Side::kLeft},   {179.9, Side::kLeft}, {180, Side::kRight},
        {359, Side::kRight},   {360, Side::kLeft},   {540, Side::kRight},  {-1, Side::kLeft},
        {-300, Side::kLeft},   {kNaN, Side::kLeft},  {1e30, Side::kLeft},
        {2147483647.0, Side::kLeft},  // 2147483647 % 360 = 127
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticks);
        Host().values[1] = c.ticks;
        EXPECT_EQ(CurrentSide(5), c.side);
        EXPECT_EQ(Update(kSide, 0), c.side == Side::kLeft ? " <--" : " -->");
    }
    SetEngine(499, 1, 1, kLeftTick);
    EXPECT_EQ(Update(kSide, 0), "");
}

TEST_F(FlydatTest, SideBoxReturnsItsOwnVariable) {
    double result = -1;
    Update(kSide, 42.5, &result);
    EXPECT_EQ(result, 42.5);
}

TEST_F(FlydatTest, HoursAddWholeTenthsToTheBase) {
    HoursBase = 123;
    struct Case {
        double seconds;
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {0, " 123", 123},
        {3599.9, " 132", 132},
        {3600, " 133", 133},
        {360 * 9877.0, "10000", 10000},                // five characters still fit
        {360 * 99877.0, "-----", 100000},              // six do not
        {-1, "-----", 123 + 4294967295 / 360},         // taken as unsigned
        {kNaN, "-----", 123 + 2147483648 / 360},       // INT32_MIN taken as unsigned
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(Update(kHours, c.seconds), c.text);
        EXPECT_EQ(HoursValue, c.value);
    }
}

TEST_F(FlydatTest, HoursValueFollowsWhileTheDisplayIsOff) {
    HoursBase = 123;
    SetEngine(0, 0, 0, kLeftTick);
    EXPECT_EQ(Update(kHours, 7200), "");
    EXPECT_EQ(HoursValue, 143);
}

TEST_F(FlydatTest, HoursSumWrapsAt32Bits) {
    HoursBase = INT32_MAX;
    Update(kHours, 360);
    EXPECT_EQ(HoursValue, INT32_MIN);
}

TEST_F(FlydatTest, NumbersTooWideForTheBoxShowDashes) {
    SetEngine(600, 1, 1, kLeftTick);
    // Oil: -12345 converted needs six characters.
    EXPECT_EQ(Update(kOilTemperature, RawTemperature(-12345)), "-----");
    EXPECT_EQ(Update(kOilTemperature, RawTemperature(-1234)), "-1234");
}

// ---- Service callback -----------------------------------------------------------------------------------

TEST_F(FlydatTest, ServicePublishesAndWithdrawsTheWarning) {
    ScratchDirectory scratch;
    FlydatService(0, 2, 0);
    ASSERT_EQ(Host().published.count("flydat.warning"), 1u);
    EXPECT_EQ(Host().published["flydat.warning"], &FlydatWarning);
    EXPECT_EQ(Host().published_type["flydat.warning"], kNamedVariableInt32);

    for (uint32_t code : {0u, 1u, 3u, 11u, 13u}) FlydatService(0, code, 0);
    EXPECT_EQ(Host().Log(), std::vector<std::string>{"register flydat.warning"});

    FlydatService(0, 12, 0);
    EXPECT_EQ(Host().published.count("flydat.warning"), 0u);
}

// Install loads the base from the hours file; kill saves the number last shown.
TEST_F(FlydatTest, ServiceRunsTheHoursStore) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("aircraft");
    {
        std::FILE* f = std::fopen("aircraft/skelvan.uur", "w");
        std::fputs("0250 ", f);
        std::fclose(f);
    }
    FlydatService(0, 2, 0);
    EXPECT_EQ(HoursBase, 250);
    EXPECT_EQ(Update(kHours, 3600), " 260");
    FlydatService(0, 12, 0);
    char content[8] = {};
    std::FILE* f = std::fopen("aircraft/skelvan.uur", "r");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fread(content, 1, sizeof content, f), 5u);
    std::fclose(f);
    EXPECT_STREQ(content, "0260 ");
}

}  // namespace
