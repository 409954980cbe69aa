// The control gauges as the host reads them: the shape of every record tree and mouse list, and
// what a click or a hover does at points across each gauge.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls.h"
#include "gauges.h"
#include "module.h"

namespace {

struct Named {
    GaugeHeader* gauge;
    const char* name;
};

const Named kGauges[] = {
    {&MasterswitchGauge, "Masterswitch"}, {&StartbuttonGauge, "Startbutton"},
    {&SwitchesGauge, "Switches"},         {&MagnetosGauge, "Magnetos"},
    {&ThrottleGauge, "Throttle"},         {&FlapTrimHandleGauge, "Flap_trim_handle"},
    {&IcomGauge, "Icom"},
};

void ExpectOwnedBy(const ElementHeader* element, const GaugeHeader* gauge, const char* name) {
    EXPECT_EQ(element->owner, gauge) << name << ": element with bitmap " << element->bitmap_id;
    if (element->children == nullptr) return;
    for (ElementHeader** child = element->children; *child != nullptr; ++child)
        ExpectOwnedBy(*child, gauge, name);
}

TEST(ControlGauges, HeadersTreesAndMouseListsAreWellFormed) {
    for (const Named& g : kGauges) {
        const GaugeHeader& h = *g.gauge;
        EXPECT_STREQ(h.name, g.name);
        EXPECT_EQ(h.version, 800u) << g.name;
        EXPECT_EQ(h.default_size_mm, 100u) << g.name;
        EXPECT_EQ(h.service, nullptr) << g.name;
        EXPECT_EQ(h.routines.query, kModuleRoutines.query) << g.name;
        EXPECT_EQ(h.routines.install, kModuleRoutines.install) << g.name;
        EXPECT_EQ(h.routines.initialize, kModuleRoutines.initialize) << g.name;
        EXPECT_EQ(h.routines.update, kModuleRoutines.update) << g.name;
        EXPECT_EQ(h.routines.generate, kModuleRoutines.generate) << g.name;
        EXPECT_EQ(h.routines.draw, kModuleRoutines.draw) << g.name;
        EXPECT_EQ(h.routines.kill, kModuleRoutines.kill) << g.name;

        ASSERT_NE(h.elements, nullptr);
        EXPECT_EQ(h.elements[0]->kind, kStaticImage) << g.name;
        ExpectOwnedBy(h.elements[0], &h, g.name);

        // Top parent over the whole gauge; help-only parents closed at once; children either
        // send an event or call a handler; closed by end of parent and end of list.
        const MouseArea* m = h.mouse_areas;
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m[0].kind, kMouseParent) << g.name;
        EXPECT_EQ(std::memcmp(&m[0].box, &kWholeGauge, sizeof kWholeGauge), 0) << g.name;
        size_t i = 1;
        for (; m[i].kind != kMouseEndParent; ++i) {
            if (m[i].kind == kMouseParent) {
                EXPECT_NE(m[i].help_id, 0u) << g.name << " record " << i;
                ASSERT_EQ(m[i + 1].kind, kMouseEndParent) << g.name << " record " << i;
                ++i;
            } else {
                ASSERT_EQ(m[i].kind, kMouseChild) << g.name << " record " << i;
                EXPECT_NE(m[i].event_id == 0, m[i].action.handler == nullptr)
                    << g.name << " record " << i << ": an event id or a handler, never both";
            }
        }
        EXPECT_EQ(m[i + 1].kind, kMouseEndList) << g.name;
    }
}

// What the host does at a point: the child that takes a click there, and the help shown.
struct Hit {
    uint32_t event_id = 0;
    MouseHandler handler = nullptr;
    uint32_t flags = 0;
    int32_t cursor = kCursorNone;
    uint32_t help_id = 0;
};

bool Contains(const MouseBox& b, int32_t x, int32_t y) {
    if (b.width == 0 && b.height == 0) return true;  // the whole gauge
    return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
}

Hit HitAt(const GaugeHeader& gauge, int32_t x, int32_t y) {
    Hit hit;
    const MouseArea* m = gauge.mouse_areas;
    hit.help_id = m[0].help_id;
    bool clicked = false;
    for (size_t i = 1; m[i].kind != kMouseEndList; ++i) {
        const MouseArea& a = m[i];
        if (a.kind == kMouseParent && a.help_id != 0 && Contains(a.box, x, y)) {
            hit.help_id = a.help_id;
        } else if (a.kind == kMouseChild && !clicked && Contains(a.box, x, y)) {
            clicked = true;
            hit.event_id = a.event_id;
            hit.handler = a.action.handler;
            hit.flags = a.event_flags;
            hit.cursor = a.cursor;
        }
    }
    return hit;
}

TEST(ControlGauges, ClicksAndHelpAcrossEachGauge) {
    constexpr uint32_t once = kMouseLeftSingle, held = kMouseLeftRepeat;
    constexpr int32_t hand = kCursorHand, up = kCursorUpArrow, down = kCursorDownArrow,
                      none = kCursorNone;
    struct Case {
        const char* gauge;
        int32_t x, y;
        Hit expected;
    };
    const Case cases[] = {
        {"Masterswitch", 50, 50, {0x10346, nullptr, once, hand, 43850}},
        {"Masterswitch", 110, 110, {0, nullptr, 0, none, 43850}},
        {"Startbutton", 50, 50, {0x102fc, nullptr, held, hand, 43877}},
        {"Switches", 10, 20, {0x102f5, nullptr, once, hand, 43791}},
        {"Switches", 70, 20, {0x10018, nullptr, once, hand, 43842}},
        {"Switches", 150, 40, {0x100d7, nullptr, once, hand, 43838}},
        {"Switches", 50, 20, {}},  // between the switches: nothing
        {"Magnetos", 20, 40, {0, MagnetosLeftClick, once, hand, 41478}},
        {"Magnetos", 70, 40, {0, MagnetosRightClick, once, hand, 41478}},
        {"Throttle", 150, 250, {0, nullptr, 0, none, 43884}},
        {"Throttle", 10, 10, {0, nullptr, 0, none, 43884}},
        {"Flap_trim_handle", 10, 10, {0x10047, nullptr, held, down, 43859}},
        {"Flap_trim_handle", 10, 200, {0x1004f, nullptr, held, up, 43859}},
        {"Flap_trim_handle", 90, 10, {0, nullptr, 0, none, 43859}},
        {"Flap_trim_handle", 150, 10, {0x100df, nullptr, once, down, 43902}},
        {"Flap_trim_handle", 150, 200, {0x100de, nullptr, once, up, 43902}},
        {"Flap_trim_handle", 110, 200, {0, nullptr, 0, none, 43902}},
        {"Icom", 160, 110, {0x10344, nullptr, once, hand, 42765}},
        {"Icom", 100, 50, {0, nullptr, 0, none, 43611}},
        {"Icom", 250, 50, {0, nullptr, 0, none, 43612}},
        {"Icom", 400, 20, {0, nullptr, 0, none, 42766}},
        {"Icom", 520, 50, {0, ComLargeKnobDown, once, down, 42766}},
        {"Icom", 560, 50, {0, ComLargeKnobUp, once, up, 42766}},
        {"Icom", 560, 100, {0, ComSmallKnobDown, once, down, 42766}},
        {"Icom", 580, 100, {0, ComSmallKnobUp, once, up, 42766}},
    };
    for (const Case& c : cases) {
        const GaugeHeader* gauge = nullptr;
        for (const Named& g : kGauges)
            if (std::string(g.name) == c.gauge) gauge = g.gauge;
        ASSERT_NE(gauge, nullptr) << c.gauge;
        const Hit hit = HitAt(*gauge, c.x, c.y);
        const std::string where = std::string(c.gauge) + " at " + std::to_string(c.x) + "," +
                                  std::to_string(c.y);
        EXPECT_EQ(hit.event_id, c.expected.event_id) << where;
        EXPECT_EQ(hit.handler, c.expected.handler) << where;
        EXPECT_EQ(hit.flags, c.expected.flags) << where;
        EXPECT_EQ(hit.cursor, c.expected.cursor) << where;
        EXPECT_EQ(hit.help_id, c.expected.help_id) << where;
    }
}

}  // namespace
