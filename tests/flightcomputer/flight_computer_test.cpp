// The flight computer's gauges, linked with a Linkage of the tests' own and driven the way the
// host drives them: through the records, their callbacks and mouse areas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gauge_fake_host.h"
#include "gauges.h"
#include "module.h"

ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&Q4dGauge, &IconQ4dGauge, nullptr},
};

namespace {

HostServiceTable host = FakeHostTable();

class FlightComputerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Host().Reset();
        ImportTable.entries[0].pointer = &host;
        // The disc never resets by itself; each test starts it where a fresh load would.
        DiscPosition = 0.0;
    }

    static ElementHeader* Disc() { return Q4dGauge.elements[0]->children[0]; }
    // What the host draws the disc for: the disc's callback, called on its own record.
    static double DrawnValue() { return ElementAs<NeedleElement>(Disc())->callback(Disc()); }

    // The children of a gauge's mouse list, in list order.
    static std::vector<const MouseArea*> Children(const GaugeHeader& gauge) {
        std::vector<const MouseArea*> out;
        for (const MouseArea* a = gauge.mouse_areas; a->kind != kMouseEndList; ++a)
            if (a->kind == kMouseChild) out.push_back(a);
        return out;
    }

    // A click as the host makes it: the handler gets a point and the area's own flags.
    static uint32_t Click(const MouseArea* area) {
        const MousePoint point{area->box.x + 1, area->box.y + 1};
        return area->action.handler(&point, area->event_flags);
    }
};

bool SameBox(const MouseBox& a, const MouseBox& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST_F(FlightComputerTest, DiscIsANeedleWithoutVariableOverTheBody) {
    const ElementHeader* root = Q4dGauge.elements[0];
    EXPECT_EQ(root->kind, kStaticImage);
    EXPECT_EQ(root->bitmap_id, 4096);
    EXPECT_EQ(root->image_flags, 0x3u);
    ASSERT_NE(root->children, nullptr);
    EXPECT_EQ(root->children[1], nullptr) << "the disc is the body's only child";

    const NeedleElement* disc = ElementAs<NeedleElement>(Disc());
    EXPECT_EQ(disc->header.kind, kNeedle);
    EXPECT_EQ(disc->header.bitmap_id, 4352);
    EXPECT_EQ(disc->header.owner, &Q4dGauge);
    EXPECT_EQ(disc->header.image_flags, 0x3u);
    EXPECT_EQ(disc->variable.token, 0u) << "the disc reads nothing from the simulation";
    EXPECT_EQ(disc->callback, &DiscPositionValue);
    EXPECT_EQ(disc->turn_limit, 6u);
    // The disc picture turns about its own centre, which stands on the pivot (364, 410).
    EXPECT_EQ(disc->header.x, 364);
    EXPECT_EQ(disc->header.y, 410);
    EXPECT_EQ(disc->header.offset_x, 280);
    EXPECT_EQ(disc->header.offset_y, 280);

    // Two marks opposite each other on the vertical through the pivot: 0.0 straight above,
    // 1799 straight below, so that 1799 units make half a turn.
    ASSERT_EQ(disc->entries, 2u);
    const NonlinearityTable* t = disc->table;
    EXPECT_EQ(t[0].x, disc->header.x);
    EXPECT_EQ(t[1].x, disc->header.x);
    EXPECT_EQ(disc->header.y - t[0].y, 390);
    EXPECT_EQ(t[1].y - disc->header.y, 190);
    EXPECT_EQ(t[0].value, 0.0);
    EXPECT_EQ(t[1].value, 1799.0);
    EXPECT_EQ(t[0].host_owned, 0.0);
    EXPECT_EQ(t[1].host_owned, 0.0);

    // Neither gauge fails with the aircraft: each element has a list, and it is empty.
    for (const ElementHeader* e : {root, static_cast<const ElementHeader*>(Disc()),
                                   static_cast<const ElementHeader*>(IconQ4dGauge.elements[0])}) {
        ASSERT_NE(e->failures, nullptr);
        EXPECT_EQ(e->failures[0].key, 0u);
    }
}

TEST_F(FlightComputerTest, HeadersAndTheIconRecord) {
    struct Expected {
        const GaugeHeader* gauge;
        const char* name;
        uint32_t size_mm;
    };
    for (const Expected& e : {Expected{&Q4dGauge, "Q4D", 100}, Expected{&IconQ4dGauge, "ICON_Q4D", 12}}) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.gauge->version, 800u);
        EXPECT_STREQ(e.gauge->name, e.name);
        EXPECT_EQ(e.gauge->default_size_mm, e.size_mm);
        EXPECT_EQ(e.gauge->service, nullptr);
        EXPECT_EQ(e.gauge->routines.draw, kModuleRoutines.draw);
        EXPECT_EQ(e.gauge->routines.install, kModuleRoutines.install);
        EXPECT_EQ(e.gauge->elements[0]->owner, e.gauge);
    }
    const ElementHeader* icon = IconQ4dGauge.elements[0];
    EXPECT_EQ(icon->kind, kStaticImage);
    EXPECT_EQ(icon->bitmap_id, 8192);
    EXPECT_EQ(icon->image_flags, 0x1u);
    EXPECT_EQ(icon->children, nullptr);
}

TEST_F(FlightComputerTest, EachArrowStepsTheDiscByItsAmount) {
    struct Arrow {
        MouseBox box;
        int32_t cursor;
        double step;
    };
    // In list order: the large arrows above the small ones, counter-clockwise on the left.
    const Arrow arrows[] = {
        {{26, 698, 60, 60}, kCursorDownArrow, -100.0},
        {{640, 698, 60, 60}, kCursorUpArrow, +100.0},
        {{42, 768, 30, 30}, kCursorDownArrow, -1.0},
        {{654, 768, 30, 30}, kCursorUpArrow, +1.0},
    };
    const MouseArea* list = Q4dGauge.mouse_areas;
    EXPECT_EQ(list[0].kind, kMouseParent);
    EXPECT_TRUE(SameBox(list[0].box, kWholeGauge));
    EXPECT_EQ(list[0].help_id, 0u);
    EXPECT_EQ(list[5].kind, kMouseEndParent);
    EXPECT_EQ(list[6].kind, kMouseEndList);

    const std::vector<const MouseArea*> children = Children(Q4dGauge);
    ASSERT_EQ(children.size(), std::size(arrows));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        const MouseArea* a = children[i];
        EXPECT_TRUE(SameBox(a->box, arrows[i].box));
        EXPECT_EQ(a->cursor, arrows[i].cursor);
        EXPECT_EQ(a->event_flags, 0x20200000u) << "every arrow repeats while held";
        EXPECT_EQ(a->event_id, 0u);
        ASSERT_NE(a->action.handler, nullptr);

        const double before = DrawnValue();
        EXPECT_EQ(Click(a), 0u);
        EXPECT_EQ(DrawnValue() - before, arrows[i].step);
        // The handlers read neither argument: no point and odd flags step the same.
        EXPECT_EQ(a->action.handler(nullptr, 0xFFFFFFFFu), 0u);
        EXPECT_EQ(DrawnValue() - before, 2 * arrows[i].step);
    }
    EXPECT_TRUE(Host().calls.empty()) << "stepping the disc asks nothing of the host";
}

TEST_F(FlightComputerTest, DiscPassesBothEndsOfItsTableUnchanged) {
    const std::vector<const MouseArea*> c = Children(Q4dGauge);
    const MouseArea* decrease_large = c[0];
    const MouseArea* increase_large = c[1];
    const MouseArea* decrease_small = c[2];
    struct Case {
        const char* what;
        std::vector<const MouseArea*> clicks;
        double expected;
    };
    const Case cases[] = {
        {"before any click", {}, 0.0},
        {"one small counter-clockwise click", {decrease_small}, -1.0},
        {"eighteen large clockwise clicks", std::vector<const MouseArea*>(18, increase_large), 1800.0},
        {"far below the table", std::vector<const MouseArea*>(40, decrease_large), -4000.0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        DiscPosition = 0.0;
        for (const MouseArea* a : k.clicks) Click(a);
        EXPECT_EQ(DrawnValue(), k.expected);
    }
}

TEST_F(FlightComputerTest, AnySequenceOfStepsStaysWhole) {
    const std::vector<const MouseArea*> arrows = Children(Q4dGauge);
    const int64_t steps[] = {-100, 100, -1, 1};
    // A long, lopsided walk: mostly coarse clockwise steps, so it reaches far past the table.
    uint32_t seed = 12345;
    int64_t expected = 0;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t pick = (seed >> 16) % 7;
        const size_t arrow = pick >= 4 ? 1 : pick;
        Click(arrows[arrow]);
        expected += steps[arrow];
        if (i % 997 == 0) {
            ASSERT_EQ(DrawnValue(), static_cast<double>(expected)) << "after " << i + 1 << " clicks";
        }
    }
    const double value = DrawnValue();
    EXPECT_EQ(value, static_cast<double>(expected));
    EXPECT_EQ(std::trunc(value), value);
    EXPECT_GT(value, 1799.0 * 4) << "the walk went several turns past the table";
}

TEST_F(FlightComputerTest, DiscValueIgnoresTheElementItIsGiven) {
    DiscPosition = -37.0;
    EXPECT_EQ(DiscPositionValue(nullptr), -37.0);
    EXPECT_EQ(DiscPositionValue(Q4dGauge.elements[0]), -37.0);
    EXPECT_EQ(DrawnValue(), -37.0);
}

TEST_F(FlightComputerTest, IconTogglesWindow10101AndHandsBackTheHostsResult) {
    const MouseArea* list = IconQ4dGauge.mouse_areas;
    ASSERT_EQ(list[0].kind, kMouseParent);
    EXPECT_TRUE(SameBox(list[0].box, kWholeGauge));
    EXPECT_EQ(list[0].help_id, 0u);
    ASSERT_EQ(list[1].kind, kMouseTooltip);
    EXPECT_STREQ(list[1].action.text, "Display/Hide Q4D Flightcomputer");
    ASSERT_NE(list[1].tooltip_args, nullptr);
    const TooltipArgs zero{};
    EXPECT_EQ(std::memcmp(list[1].tooltip_args, &zero, sizeof zero), 0)
        << "the text has no insert, so its argument record is all zero";
    const MouseArea& child = list[2];
    ASSERT_EQ(child.kind, kMouseChild);
    EXPECT_TRUE(SameBox(child.box, (MouseBox{0, 0, 12, 12})));
    EXPECT_EQ(child.cursor, kCursorHand);
    EXPECT_EQ(child.event_flags, 0x20000000u) << "one toggle per click, no repeat";
    EXPECT_EQ(child.event_id, 0u);
    EXPECT_EQ(list[3].kind, kMouseEndParent);
    EXPECT_EQ(list[4].kind, kMouseEndList);

    DiscPosition = 523.0;
    // Whatever the host answers comes back bit for bit.
    for (uint32_t answer : {1u, 0u, 0xFFFFFFFFu, 0x80000000u}) {
        Host().calls.clear();
        Host().toggle_result = answer;
        const bool shown_before = Host().window_shown;
        EXPECT_EQ(Click(&child), answer);
        ASSERT_EQ(Host().calls.size(), 1u);
        EXPECT_EQ(Host().calls[0].op, "toggle");
        EXPECT_EQ(Host().calls[0].id, 10101u);
        EXPECT_NE(Host().window_shown, shown_before);
    }
    // Two clicks in a row leave the window as it was, and the disc where it stood.
    const bool shown = Host().window_shown;
    Click(&child);
    Click(&child);
    EXPECT_EQ(Host().window_shown, shown);
    EXPECT_EQ(DrawnValue(), 523.0);
}

}  // namespace
