// The instruments' records as the host reads them: each gauge's element tree in draw order with
// every field, its mouse areas, and the invariants that the host relies on (owners, host-owned
// fields left zero, needle tables that rise clockwise).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_host.h"
#include "gauges.h"
#include "instruments/instruments.h"
#include "module.h"

namespace {

// Function pointers are compared through these tables; an unknown one prints as "?".
std::string CallbackName(ValueCallback callback) {
    const std::pair<ValueCallback, const char*> known[] = {
        {HorizonPitchValue, "HorizonPitchValue"},     {ReferenceBarValue, "ReferenceBarValue"},
        {VerticalSpeedValue, "VerticalSpeedValue"},   {FuelPressureValue, "FuelPressureValue"},
        {MetricAltitudeValue, "MetricAltitudeValue"}, {KollsmanWindowText, "KollsmanWindowText"},
        {CompassStripXValue, "CompassStripXValue"},   {CompassStripYValue, "CompassStripYValue"},
    };
    if (callback == nullptr) return "-";
    for (auto& [f, name] : known)
        if (f == callback) return name;
    return "?";
}

std::string HandlerName(MouseHandler handler) {
    if (handler == ReferenceBarDown) return "ReferenceBarDown";
    if (handler == ReferenceBarUp) return "ReferenceBarUp";
    return handler == nullptr ? "-" : "?";
}

std::string Format(const char* format, auto... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string Failures(const FailureRecord* list) {
    if (list == nullptr) return "none";
    std::string out;
    for (; list->key != 0; ++list) {
        out += Format("%s%u:%u", out.empty() ? "" : ",", list->key, list->action);
        if (list->reserved != 0) out += "(reserved!)";
    }
    return out.empty() ? "empty" : out;
}

std::string Channel(const HostVariable& variable, double scale, ValueCallback callback) {
    return Format("%u*%g %s", variable.token, scale, CallbackName(callback).c_str());
}

// One line per element: the common head, then the fields of its kind.
std::string Describe(const ElementHeader* e) {
    std::string head = Format("bitmap %d at %d,%d offset %d,%d flags 0x%x failures %s", e->bitmap_id,
                              e->x, e->y, e->offset_x, e->offset_y, e->image_flags,
                              Failures(e->failures).c_str());
    switch (e->kind) {
    case kStaticImage:
        return "static " + head;
    case kNeedle: {
        auto* n = ElementAs<NeedleElement>(e);
        std::string table;
        for (uint32_t i = 0; i < n->entries; ++i)
            table += Format(" %d,%d=%g", n->table[i].x, n->table[i].y, n->table[i].value);
        return "needle " + head + Format(" | token %u turn %u cb %s table", n->variable.token,
                                         n->turn_limit, CallbackName(n->callback).c_str()) + table;
    }
    case kString: {
        auto* s = ElementAs<StringElement>(e);
        return "string " + head +
               Format(" | tokens %u,%u,%u box %ux%u colours %06x,%06x,%06x font '%s' %u cs %u "
                      "format 0x%x chars %u cb %s",
                      s->variables[0].token, s->variables[1].token, s->variables[2].token,
                      s->box_width, s->box_height, s->fore_color, s->back_color, s->highlight_color,
                      s->font_face, s->font_weight, s->charset, s->format_flags, s->char_count,
                      CallbackName(s->callback).c_str());
    }
    case kSlider: {
        auto* s = ElementAs<SliderElement>(e);
        return "slider " + head + " | x " + Channel(s->x_variable, s->x_scale, nullptr) + " y " +
               Channel(s->y_variable, s->y_scale, nullptr);
    }
    case kMovingImage: {
        auto* m = ElementAs<MovingImageElement>(e);
        return "strip " + head +
               Format(" | x %u %g..%g %s y %u %g..%g %s", m->x_variable.token, m->x_min, m->x_max,
                      CallbackName(m->x_callback).c_str(), m->y_variable.token, m->y_min, m->y_max,
                      CallbackName(m->y_callback).c_str());
    }
    case kSprite: {
        auto* s = ElementAs<SpriteElement>(e);
        return "sprite " + head + " | x " + Channel(s->x_variable, s->x_scale, s->x_callback) +
               " y " + Channel(s->y_variable, s->y_scale, s->y_callback) + " rot " +
               Channel(s->rotation_variable, s->rotation_scale, s->rotation_callback) +
               Format(" texture %g,%g", s->texture_scale_x, s->texture_scale_y);
    }
    }
    return "unknown kind";
}

std::string Describe(const MouseArea& a) {
    const std::string box = Format("%d,%d,%d,%d", a.box.x, a.box.y, a.box.width, a.box.height);
    switch (a.kind) {
    case kMouseParent:
        return Format("parent %s cursor %d help %u", box.c_str(), a.cursor, a.help_id);
    case kMouseChild:
        return Format("child %s cursor %d flags 0x%x event 0x%x handler %s", box.c_str(), a.cursor,
                      a.event_flags, a.event_id, HandlerName(a.action.handler).c_str());
    case kMouseTooltip:
        return Format("tooltip %s cursor %d '%s' args %u %s", box.c_str(), a.cursor, a.action.text,
                      a.event_id, a.tooltip_args == &KollsmanTooltipArgs ? "Kollsman" : "?");
    case kMouseEndParent:
        return "end parent " + box;
    case kMouseEndList:
        return "end list " + box;
    }
    return "unknown kind";
}

struct GaugeCase {
    GaugeHeader* gauge;
    const char* name;
    std::vector<std::string> elements;  // draw order
    std::vector<std::string> mouse;
};

const std::string kKollsmanWindowFields =
    " | tokens 75,0,0 box 50x20 colours ffffff,010101,010101 font 'Courier New' 100 cs 1 "
    "format 0x25 chars 4 cb KollsmanWindowText";

const GaugeCase kGauges[] = {
    {&AttitudeGauge, "Attitude",
     {"static bitmap 4096 at 0,0 offset 0,0 flags 0x1 failures 8:1,4:1",
      "sprite bitmap 4352 at 0,0 offset 133,134 flags 0x81 failures 8:1,4:1 | x 0*0 - "
      "y 78*2 HorizonPitchValue rot 80*-1 - texture 0.55,0.55",
      "sprite bitmap 4608 at 0,0 offset 134,134 flags 0x81 failures 8:1,4:1 | x 0*0 - y 0*0 - "
      "rot 80*-1 - texture 1.05,1.05",
      "sprite bitmap 4864 at 0,0 offset 134,170 flags 0x3 failures none | x 0*0 - "
      "y 0*-3 ReferenceBarValue rot 0*0 - texture 1,1"},
     {"parent 0,0,0,0 cursor -1 help 43789",
      "child 105,230,30,55 cursor 2 flags 0x20200000 event 0x0 handler ReferenceBarDown",
      "child 138,230,30,55 cursor 1 flags 0x20200000 event 0x0 handler ReferenceBarUp",
      "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&AirspeedGauge, "Airspeed",
     {"static bitmap 9984 at 0,0 offset 0,0 flags 0x1 failures 6:2,3:1",
      "needle bitmap 10240 at 147,149 offset 59,12 flags 0x3 failures 6:2,3:1 | token 61 "
      "turn 6 cb - table 146,239=0 75,218=27 135,37=65 221,220=118"},
     {"parent 0,0,0,0 cursor -1 help 43778", "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&VsiGauge, "VSI",
     {"static bitmap 10496 at 0,0 offset 0,0 flags 0x1 failures 19:2,3:1",
      "needle bitmap 12288 at 148,148 offset 5,3 flags 0x3 failures 19:2,3:1 | token 65 "
      "turn 6 cb VerticalSpeedValue table 262,181=-1792 257,196=-1536 232,229=-1280 "
      "185,255=-1024 131,259=-768 81,240=-512 45,200=-256 32,147=0 43,95=256 78,52=512 "
      "130,32=768 186,34=1024 236,63=1280 262,101=1536 263,112=1792"},
     {"parent 0,0,0,0 cursor -1 help 43894", "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&FuelpresGauge, "Fuelpres",
     {"static bitmap 9472 at 0,0 offset 0,0 flags 0x1 failures 2:2",
      "needle bitmap 9728 at 150,140 offset 55,19 flags 0x3 failures 2:2 | token 425 "
      "turn 6 cb FuelPressureValue table 78,204=0 146,56=0.5 212,208=1"},
     {"parent 0,0,0,0 cursor -1 help 43820", "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&AltimeterMtrGauge, "Altimeter_mtr",
     {"static bitmap 16640 at 0,0 offset 0,0 flags 0x1 failures 7:1,3:1",
      "string bitmap -1 at 186,145 offset 0,0 flags 0x2 failures none" + kKollsmanWindowFields,
      "needle bitmap 16896 at 150,145 offset 37,11 flags 0x3 failures 7:1,3:1 | token 74 "
      "turn 6 cb MetricAltitudeValue table 149,252=0 50,87=1000 246,90=2000"},
     {"parent 0,0,0,0 cursor -1 help 0",
      "tooltip 0,0,0,0 cursor -1 'Altimeter setting: %1!d! Mbar' args 1 Kollsman",
      "child 0,230,25,60 cursor 2 flags 0x20200000 event 0x1015c handler -",
      "child 26,230,25,60 cursor 1 flags 0x20200000 event 0x1015b handler -",
      "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&AltimeterFtGauge, "Altimeter_ft",
     {"static bitmap 17152 at 0,0 offset 0,0 flags 0x3 failures 7:1,3:1",
      "string bitmap -1 at 210,135 offset 0,0 flags 0x2 failures none" + kKollsmanWindowFields,
      "needle bitmap 17155 at 155,140 offset 1,11 flags 0x3 failures 7:1,3:1 | token 74 "
      "turn 6 cb - table 155,90=0 245,140=25000 155,190=50000 105,140=75000",
      "needle bitmap 17154 at 155,140 offset 30,15 flags 0x3 failures 7:1,3:1 | token 74 "
      "turn 6 cb - table 155,90=0 245,140=2500 155,190=5000 105,140=7500",
      "needle bitmap 17153 at 155,140 offset 34,10 flags 0x3 failures 7:1,3:1 | token 74 "
      "turn 6 cb - table 155,40=0 255,140=250 155,240=500 55,140=750"},
     {"parent 0,0,0,0 cursor -1 help 0",
      "tooltip 0,0,0,0 cursor -1 'Altimeter setting: %1!d! Mbar' args 1 Kollsman",
      "child 0,230,25,60 cursor 2 flags 0x20000000 event 0x1015c handler -",
      "child 26,230,25,60 cursor 1 flags 0x20000000 event 0x1015b handler -",
      "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&SlipGauge, "Slip",
     {"static bitmap 13824 at 0,0 offset 0,0 flags 0x1 failures 18:1",
      "slider bitmap 14080 at 127,156 offset 0,0 flags 0x3 failures none | x 69*0.72 - y 0*0 -"},
     {"parent 0,0,0,0 cursor -1 help 43873", "end parent 0,0,0,0", "end list 0,0,0,0"}},
    {&CompassGauge, "Compass",
     {"static bitmap 12544 at 0,0 offset 0,0 flags 0x1 failures none",
      "strip bitmap 12800 at 78,101 offset 0,0 flags 0x3 failures 12:1 | x 83 0..360 "
      "CompassStripXValue y 0 0..0 CompassStripYValue"},
     {"parent 0,0,0,0 cursor -1 help 43895", "end parent 0,0,0,0", "end list 0,0,0,0"}},
};

TEST(InstrumentRecords, EveryGaugeMatchesItsTables) {
    for (const GaugeCase& c : kGauges) {
        SCOPED_TRACE(c.name);
        const GaugeHeader& g = *c.gauge;
        EXPECT_STREQ(g.name, c.name);
        EXPECT_EQ(g.version, 800u);
        EXPECT_EQ(g.default_size_mm, 100u);
        EXPECT_EQ(g.service, nullptr);
        EXPECT_EQ(g.reserved, 0u);
        EXPECT_EQ(g.routines.update, kModuleRoutines.update);
        EXPECT_EQ(g.routines.draw, kModuleRoutines.draw);
        EXPECT_EQ(g.routines.install, kModuleRoutines.install);

        std::vector<std::string> elements;
        for (ElementHeader* e : DrawOrder(g)) elements.push_back(Describe(e));
        EXPECT_EQ(elements, c.elements);

        std::vector<std::string> mouse;
        for (const MouseArea* a = g.mouse_areas;; ++a) {
            mouse.push_back(Describe(*a));
            if (a->kind == kMouseEndList || mouse.size() > 16) break;
        }
        EXPECT_EQ(mouse, c.mouse);
    }
}

// The draw order alone does not show the tree: a child list with two entries and a chain of
// single entries draw alike. Each element as its bitmap id, its child list in parentheses.
std::string Tree(const ElementHeader* e) {
    std::string out = std::to_string(e->bitmap_id);
    if (e->children == nullptr) return out;
    out += "(";
    for (ElementHeader** child = e->children; *child != nullptr; ++child) {
        if (child != e->children) out += ',';
        out += Tree(*child);
    }
    return out + ")";
}

TEST(InstrumentRecords, ChildListsNestAsTheGaugesAreBuilt) {
    const std::pair<const GaugeHeader*, const char*> trees[] = {
        {&AttitudeGauge, "4096(4352(4608(4864)))"},
        {&AirspeedGauge, "9984(10240)"},
        {&VsiGauge, "10496(12288)"},
        {&FuelpresGauge, "9472(9728)"},
        {&AltimeterMtrGauge, "16640(-1,16896)"},
        {&AltimeterFtGauge, "17152(-1(17155(17154(17153))))"},
        {&SlipGauge, "13824(14080)"},
        {&CompassGauge, "12544(12800)"},
    };
    for (const auto& [gauge, tree] : trees) {
        SCOPED_TRACE(gauge->name);
        EXPECT_EQ(Tree(gauge->elements[0]), tree);
    }
}

// What the host trusts without looking: the root is the one static image, every element names its
// gauge, and nothing that the host owns has been filled in by the definitions.
TEST(InstrumentRecords, TreesLeaveHostOwnedFieldsZero) {
    auto untouched = [](const HostVariable& v) {
        return v.pointer == nullptr && v.type == 0 &&
               std::all_of(std::begin(v.previous), std::end(v.previous), [](auto b) { return b == 0; });
    };
    for (const GaugeCase& c : kGauges) {
        SCOPED_TRACE(c.name);
        const auto elements = DrawOrder(*c.gauge);
        ASSERT_FALSE(elements.empty());
        EXPECT_EQ(elements[0]->kind, kStaticImage);
        for (ElementHeader* e : elements) {
            EXPECT_EQ(e->owner, c.gauge);
            EXPECT_EQ(e->host_owned1[0] | e->host_owned1[1] | e->host_owned2, 0u);
            EXPECT_EQ(e->special_flags | e->reserved, 0u);
            if (e != elements[0]) {
                EXPECT_NE(e->kind, kStaticImage);
            }
            switch (e->kind) {
            case kNeedle:
                EXPECT_TRUE(untouched(ElementAs<NeedleElement>(e)->variable));
                break;
            case kString: {
                auto* s = ElementAs<StringElement>(e);
                EXPECT_EQ(s->text, nullptr);
                for (auto& v : s->variables) EXPECT_TRUE(untouched(v));
                break;
            }
            case kSprite: {
                auto* s = ElementAs<SpriteElement>(e);
                EXPECT_TRUE(untouched(s->x_variable) && untouched(s->y_variable) &&
                            untouched(s->rotation_variable));
                break;
            }
            default:
                break;
            }
        }
    }
    EXPECT_EQ(KollsmanTooltipArgs.variable.token, 0u);
    EXPECT_EQ(KollsmanTooltipArgs.callback, KollsmanTooltipValue);
    EXPECT_EQ(KollsmanSetting.token, 75u);
    EXPECT_EQ(UnitsSetting.token, 335u);
}

// Each gauge carries its own copy of the tooltip text, but both share one argument record.
TEST(InstrumentRecords, AltimetersShareTooltipArgumentsNotText) {
    const MouseArea& metric = AltimeterMtrGauge.mouse_areas[1];
    const MouseArea& feet = AltimeterFtGauge.mouse_areas[1];
    EXPECT_EQ(metric.tooltip_args, feet.tooltip_args);
    EXPECT_NE(metric.action.text, feet.action.text);
    EXPECT_STREQ(metric.action.text, feet.action.text);
}

double Bearing(const NeedleElement& n, const NonlinearityTable& mark) {
    // Screen coordinates, y down: a rising angle turns clockwise.
    return std::atan2(mark.y - n.header.y, mark.x - n.header.x) * 180.0 / std::numbers::pi;
}

// Every table rises in value while its marks go clockwise about the pivot, less than half a turn a
// step: a mistyped point shows up as a step backwards or a leap.
TEST(InstrumentRecords, NeedleTablesRiseClockwise) {
    for (const GaugeCase& c : kGauges) {
        for (ElementHeader* e : DrawOrder(*c.gauge)) {
            if (e->kind != kNeedle) continue;
            const NeedleElement& n = *ElementAs<NeedleElement>(e);
            SCOPED_TRACE(std::string(c.name) + " needle " + std::to_string(e->bitmap_id));
            ASSERT_GE(n.entries, 2u);
            ASSERT_LE(n.entries, 15u);
            for (uint32_t i = 0; i < n.entries; ++i) EXPECT_EQ(n.table[i].host_owned, 0.0);
            for (uint32_t i = 1; i < n.entries; ++i) {
                EXPECT_LT(n.table[i - 1].value, n.table[i].value) << "entry " << i;
                double turn = Bearing(n, n.table[i]) - Bearing(n, n.table[i - 1]);
                if (turn < 0) turn += 360.0;
                EXPECT_GT(turn, 0.0) << "entry " << i;
                EXPECT_LT(turn, 180.0) << "entry " << i;
            }
        }
    }
}

}  // namespace
