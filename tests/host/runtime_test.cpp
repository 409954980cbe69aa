// Parts of the host that stand alone: needle mapping, panel configuration, module loading.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "host.h"
#include "needle_mapping.h"
#include "panel_config.h"

namespace host {
namespace {

// Marks straight up, right and down of a pivot at (50, 50): 0, 90 and 180 degrees for 0, 100, 200.
NonlinearityTable kDial[] = {{50, 0, 0, 0}, {100, 50, 100, 0}, {50, 100, 200, 0}};
// Marks crossing straight up: 315 degrees for 0, 45 degrees for 100, a quarter turn clockwise.
NonlinearityTable kAcrossNorth[] = {{0, 0, 0, 0}, {100, 0, 100, 0}};
// Two opposite marks: up for 0, down for 1799.
NonlinearityTable kOpposite[] = {{50, 10, 0, 0}, {50, 90, 1799, 0}};

double Angle(NonlinearityTable* table, uint32_t n, double value) {
    double marks[kMaxTableEntries];
    const size_t count = NeedleMarkAngles(table, n, 50, 50, marks);
    return NeedleAngle(table, marks, count, value);
}

TEST(NeedleMapping, ExactAtMarksLinearBetweenAndExtrapolatedBeyond) {
    struct Case {
        NonlinearityTable* table;
        uint32_t entries;
        double value;
        double angle;
    } cases[] = {
        {kDial, 3, 0, 0},        {kDial, 3, 100, 90},     {kDial, 3, 200, 180},  {kDial, 3, 50, 45},
        {kDial, 3, 150, 135},    {kDial, 3, -100, -90},   {kDial, 3, 400, 360},  {kDial, 3, 1000, 900},
        {kAcrossNorth, 2, 50, 0}, {kAcrossNorth, 2, 100, 45}, {kAcrossNorth, 2, 150, 90},
        // Opposite marks turn clockwise, and keep the table's one rate past both ends.
        {kOpposite, 2, 1799, 180}, {kOpposite, 2, 899.5, 90}, {kOpposite, 2, 3598, 360},
        {kOpposite, 2, -1799, -180},
    };
    for (const Case& c : cases) {
        const double a = Angle(c.table, c.entries, c.value);
        EXPECT_NEAR(std::remainder(a - c.angle, 360.0), 0.0, 1e-6) << "value " << c.value << " gave " << a;
    }
    // Exactly at every mark, not merely close; and continuous: past a full turn it goes on rising.
    EXPECT_EQ(Angle(kDial, 3, 100), 90.0);
    EXPECT_EQ(Angle(kDial, 3, 200), 180.0);
    EXPECT_DOUBLE_EQ(Angle(kDial, 3, 1000), 900.0);
    EXPECT_DOUBLE_EQ(Angle(kAcrossNorth, 2, 100) - Angle(kAcrossNorth, 2, 0), 90.0);
}

TEST(NeedleMapping, WildValuesAndTablesStayDefined) {
    EXPECT_TRUE(std::isnan(Angle(kDial, 3, std::nan(""))));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Angle(kDial, 3, inf), kMaxAngle);
    EXPECT_EQ(Angle(kDial, 3, -inf), -kMaxAngle);
    EXPECT_EQ(Angle(kDial, 3, 1e308), kMaxAngle);
    EXPECT_TRUE(std::isnan(Angle(kDial, 0, 5)));     // no marks
    EXPECT_EQ(Angle(kDial, 1, 12345), 0.0);         // one mark: always there
    NonlinearityTable flat[] = {{50, 0, 10, 0}, {100, 50, 10, 0}};  // no rise: no division by zero
    EXPECT_TRUE(std::isfinite(Angle(flat, 2, 20)));
}

TEST(NeedleMapping, TurnLimitStepsTowardTheTargetWithoutSpinning) {
    struct Case {
        double shown, target;
        uint32_t limit;
        double expected;
    } cases[] = {
        {0, 90, 6, 6},       {90, 0, 6, 84},    {0, 4, 6, 4},        {350, 370, 6, 356},
        {0, 725, 6, 725},    // whole turns dropped: 5 degrees left, within the limit
        {0, -730, 6, -726},  // -10 after dropping two turns: one step of 6 the same way
        {10, 200, 0, 200},   // no limit
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(TurnToward(c.shown, c.target, c.limit), c.expected);
    EXPECT_EQ(TurnToward(33, std::nan(""), 6), 33);
}

TEST(PanelConfig, ParsesWindowsGaugesAndHelp) {
    PanelConfig config;
    std::string error;
    ASSERT_TRUE(ParsePanelConfig("# panel\n"
                                 "window 1 \"Main \\\"panel\\\"\" 800 600 shown\n"
                                 "gauge Mod Dial 10 -20   # sized by its bitmap\n"
                                 "gauge Mod Dial 100 0 50 60\n"
                                 "\n"
                                 "window 10101 \"Pop\" 100 100 hidden\n"
                                 "gauge Other Icon 0 0 12 12\n"
                                 "help 43850 \"Master switch\"\n",
                                 "test.cfg", &config, &error))
        << error;
    ASSERT_EQ(config.windows.size(), 2u);
    EXPECT_EQ(config.windows[0].title, "Main \"panel\"");
    EXPECT_FALSE(config.windows[1].shown);
    ASSERT_EQ(config.gauges.size(), 3u);
    EXPECT_EQ(config.gauges[0].y, -20);
    EXPECT_EQ(config.gauges[0].width, 0);
    EXPECT_EQ(config.gauges[1].height, 60);
    EXPECT_EQ(config.gauges[2].window, 10101u);
    EXPECT_EQ(config.help[43850], "Master switch");
}

TEST(PanelConfig, BadLinesNameTheLineAndWhatWasExpected) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"gauge M G 0 0", "cfg:1: expected a window line before the first gauge line"},
        {"window 1 \"A\" 10 10 shown\ngauge M G 0", "cfg:2: expected gauge MODULE NAME X Y [WIDTH HEIGHT]"},
        {"window 1 \"A\" 10 10 shown\ngauge M G 0 zero", "cfg:2: expected a y position (32-bit integer), found \"zero\""},
        {"window 1 \"A\" 10 10 shown\ngauge M G 0 0 0 5", "cfg:2: expected a gauge width above 0, found \"0\""},
        {"window 1 \"A\" 10 10 shown\ngauge M G 99999999999 0", "cfg:2: expected an x position"},
        {"window 1 \"A\" 10 10 visible", "cfg:1: expected shown or hidden, found \"visible\""},
        {"window -1 \"A\" 10 10 shown", "cfg:1: expected a window id"},
        {"window 1 \"A 10 10 shown", "cfg:1: expected a closing \""},
        {"window 1 \"A\" 10 10 shown\nwindow 1 \"B\" 10 10 shown", "cfg:2: expected a window id not used before"},
        {"\n\npanel 1", "cfg:3: expected window, gauge or help, found \"panel\""},
        {"help x \"t\"", "cfg:1: expected a help id"},
    };
    for (const Case& c : cases) {
        PanelConfig config;
        std::string error;
        EXPECT_FALSE(ParsePanelConfig(c.text, "cfg", &config, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
    }
}

TEST(PanelConfig, DefaultPlacesThePanelAndTheFlightComputerWindow) {
    PanelConfig config;
    std::string error;
    ASSERT_TRUE(ParsePanelConfig(DefaultPanelConfigText(), "default", &config, &error)) << error;
    ASSERT_EQ(config.windows.size(), 2u);
    EXPECT_TRUE(config.windows[0].shown);
    EXPECT_EQ(config.windows[1].id, kFlightComputerWindow);
    EXPECT_FALSE(config.windows[1].shown);
    int skelvan = 0;
    for (const PlacementConfig& p : config.gauges) {
        EXPECT_GT(p.width, 0) << p.gauge;  // every gauge at its own bitmap's size
        if (p.module == "Skelvan") ++skelvan;
        if (p.gauge == "Q4D") EXPECT_EQ(p.window, kFlightComputerWindow);
        else EXPECT_EQ(p.window, kMainPanelWindow) << p.gauge;
    }
    EXPECT_EQ(skelvan, 19);
}

TEST(Loader, ReadsBitmapSizesOnlyFromWholeBmpHeaders) {
    // A BMP file header and an info header: width 300, height given, 8 bits per pixel.
    auto bmp = [](int32_t width, int32_t height, size_t size) {
        std::vector<unsigned char> b(size, 0);
        if (size >= 2) b[0] = 'B', b[1] = 'M';
        auto put = [&](size_t at, int32_t v) {
            for (int i = 0; i < 4 && at + i < size; ++i) b[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i));
        };
        put(18, width);
        put(22, height);
        if (size > 28) b[28] = 8;
        return b;
    };
    struct Case {
        std::vector<unsigned char> bytes;
        bool ok;
        int32_t width, height;
    } cases[] = {
        {bmp(300, 290, 54), true, 300, 290},
        {bmp(12, -12, 60), true, 12, 12},  // stored top-down
        {bmp(300, 290, 53), false, 0, 0},  // cut short
        {bmp(0, 10, 54), false, 0, 0},
        {bmp(10, INT32_MIN, 54), false, 0, 0},
    };
    for (const Case& c : cases) {
        BitmapSize size;
        const BitmapResource resource{1, c.bytes.data(), static_cast<uint32_t>(c.bytes.size())};
        EXPECT_EQ(ReadBitmapSize(resource, &size), c.ok);
        if (c.ok) {
            EXPECT_EQ(size.width, c.width);
            EXPECT_EQ(size.height, c.height);
            EXPECT_EQ(size.bpp, 8);
        }
    }
    std::vector<unsigned char> not_bmp = bmp(10, 10, 54);
    not_bmp[0] = 'P';
    BitmapSize size;
    EXPECT_FALSE(ReadBitmapSize(BitmapResource{1, not_bmp.data(), 54}, &size));
}

TEST(Loader, RefusesWhatIsNotAGaugeModuleWithAMessage) {
    struct Case {
        const char* path;
        const char* fragment;
    } cases[] = {
        {"/nonexistent/libNothing.so", "cannot load"},
        {NOT_A_MODULE_PATH, "no symbol ModuleEntryPoint"},
        {BAD_VERSION_PATH, "Linkage has version 0x700, expected 0x800"},
        {BAD_ID_PATH, "Linkage has module id 0x12, expected 0x13"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(LoadedModule::Load(c.path, Host::ServiceTable(), &error), nullptr) << c.path;
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
    }
}

TEST(Loader, BindsTheServiceTableAndReadsTheGaugeList) {
    std::string error;
    auto module = LoadedModule::Load(FIXTURE_MODULE_PATH, Host::ServiceTable(), &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->name(), "Fixture");
    ASSERT_EQ(module->gauges().size(), 3u);  // the list ends at its first zero entry
    EXPECT_EQ(module->FindGauge("FixtureHidden"), nullptr);
    EXPECT_EQ(module->GaugeIndex(module->FindGauge("FixtureC")), 2);
}

}  // namespace
}  // namespace host
