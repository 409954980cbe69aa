// The radio: the frequency text of both windows and the tuning knobs' swap-tune-swap.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls.h"
#include "gauge_fake_host.h"
#include "gauges.h"

namespace {

StringElement& Window(int which) {
    return *ElementAs<StringElement>(IcomGauge.elements[0]->children[which]);
}

// Fills the value field as a host does for the BCD tokens, with junk in the upper half that a
// reader of the whole eight bytes would pick up.
void SetBcdWithJunk(HostVariable& v, uint32_t bcd) {
    std::memset(v.value, 0xA5, sizeof v.value);
    std::memcpy(v.value, &bcd, sizeof bcd);
}

TEST(ComFrequencyText, PrintsTheFourLowNibblesInBothWindows) {
    struct Case {
        uint32_t bcd;
        const char* text;
    };
    const Case cases[] = {
        {0x1800, "118.00"},
        {0x3697, "136.97"},
        {0x0000, "100.00"},
        {0x2345, "123.45"},
        {0x9999, "199.99"},
        {0xDEAD1800u, "118.00"},  // bits above the four digits do not show
        {0xFFFF0000u, "100.00"},
        // Not decimal digits: one character each, so the text keeps its six characters.
        {0x1A00, "11A.00"},
        {0xFFFF, "1FF.FF"},
        {0xB0C5, "1B0.C5"},
    };
    for (int which : {0, 1}) {
        StringElement& window = Window(which);
        ASSERT_EQ(window.char_count, 6u);
        for (const Case& c : cases) {
            char buffer[16];
            std::memset(buffer, 'Z', sizeof buffer);
            window.text = buffer;
            SetBcdWithJunk(window.variables[0], c.bcd);
            const double result = window.callback(&window.header);
            EXPECT_STREQ(buffer, c.text) << std::hex << c.bcd;
            EXPECT_EQ(buffer[7], 'Z') << "written past the count and its zero";
            EXPECT_EQ(result, static_cast<double>(c.bcd)) << std::hex << c.bcd;
        }
        window.text = nullptr;
    }
}

TEST(ComFrequencyText, WithoutABufferOnlyReturnsTheValue) {
    StringElement& window = Window(1);
    window.text = nullptr;
    SetBcdWithJunk(window.variables[0], 0x12345678u);
    EXPECT_EQ(window.callback(&window.header), 305419896.0);
}

TEST(ComKnobs, EachClickSwapsTunesAndSwapsBack) {
    struct Case {
        MouseHandler handler;
        uint32_t tuning_event;
    };
    const Case cases[] = {
        {ComLargeKnobDown, 0x10064},
        {ComLargeKnobUp, 0x10065},
        {ComSmallKnobDown, 0x10066},
        {ComSmallKnobUp, 0x10067},
    };
    for (const Case& c : cases) {
        InstallFakeHost();
        const MousePoint point{1, 2};
        EXPECT_EQ(c.handler(&point, 0x20000000), 0u);
        const std::vector<HostCall> calls = {
            {"trigger", 0x10344, nullptr, 0},
            {"trigger", c.tuning_event, nullptr, 0},
            {"trigger", 0x10344, nullptr, 0},
        };
        EXPECT_EQ(Host().calls, calls) << std::hex << c.tuning_event;
    }
}

}  // namespace
