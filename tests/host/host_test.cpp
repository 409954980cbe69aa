// The host driving its own fixture module: lifecycle order, the runtime's mapping by kind, wild
// values, failures, mouse and tooltips, windows, shared module state, the control API and the
// scenario runner.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "control_api.h"
#include "host.h"
#include "inspect.h"
#include "scenario.h"

namespace host {
namespace {

using nlohmann::json;

constexpr const char* kConfig = R"(window 1 "Main" 400 300 shown
gauge HostFixture Binder 0 0 20 20
gauge HostFixture Dial 100 0 100 100
gauge HostFixture Publisher 0 20 20 20
gauge Fixture FixtureA 200 0
gauge Missing Nothing 0 0 10 10
window 77 "Popup" 50 50 hidden
gauge HostFixture Plain 0 0
window 2 "Second" 200 200 hidden
gauge HostFixture Dial 0 0 100 100
help 101 "Fixture button"
)";

// Element places in "Dial", draw order.
enum : size_t { kRoot, kNeedle, kText, kDisc, kLamp, kSlider, kStrip, kSprite, kWildText };

std::string TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "host-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return "";
    return pattern;
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = TempFolder();
        ASSERT_FALSE(root_.empty());
        host_ = std::make_unique<Host>(root_);
        std::string error;
        ASSERT_TRUE(host_->LoadModule(HOST_FIXTURE_PATH, &error)) << error;
        ASSERT_TRUE(host_->LoadModule(FIXTURE_MODULE_PATH, &error)) << error;
        PanelConfig config;
        ASSERT_TRUE(ParsePanelConfig(kConfig, "test", &config, &error)) << error;
        ASSERT_TRUE(host_->Configure(config, &error)) << error;
        host_->sim().SetRunning(false);
        host_->Start();
        api_ = std::make_unique<ControlApi>(*host_);
    }
    void TearDown() override {
        api_.reset();
        host_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    json Do(const json& command) { return api_->Handle(command); }
    json Ok(const json& command) {
        json answer = Do(command);
        EXPECT_TRUE(answer["ok"].get<bool>()) << command.dump() << " -> " << answer.dump();
        return answer;
    }
    void Set(const char* token, double value) { host_->tokens().Set(FindTokenInfo(token)->token, value); }
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) host_->Update();
    }
    const ElementState& Dial(size_t element, const char* id = "Dial") {
        return host_->FindInstance(id)->states.at(element);
    }
    std::vector<std::pair<uint32_t, uint32_t>> Logged() {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        for (const EventRecord& e : host_->TakeEvents()) out.emplace_back(e.id, e.arg);
        return out;
    }

    std::string root_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<ControlApi> api_;
};

using Events = std::vector<std::pair<uint32_t, uint32_t>>;

TEST_F(HostTest, SetsUpInLinkageOrderAndTearsDownInReverse) {
    // Binder comes first in panel order, but Publisher comes first in Linkage: it publishes before
    // Binder binds (the bound value 7 arrives). Code 2 comes while the gauge is not installed yet.
    EXPECT_EQ(Logged(), (Events{{0xE002, 0}, {0xE102, 7}}));
    EXPECT_EQ(host_->NamedValue("hostfixture.value"), 7);
    std::string error;
    ASSERT_TRUE(host_->SetWindowShown(1, false, &error));
    // Code 12 comes while the gauge is still installed; the binder goes first.
    EXPECT_EQ(Logged(), (Events{{0xE10C, 0}, {0xE00C, 1}}));
    EXPECT_EQ(host_->NamedValue("hostfixture.value"), std::nullopt);
    EXPECT_FALSE(host_->FindInstance("Dial")->installed);
}

TEST_F(HostTest, BindingANameNobodyPublishesLeavesNoPointer) {
    std::string error;
    ASSERT_TRUE(host_->SetWindowShown(1, false, &error));
    Logged();
    GaugeInstance* binder = host_->FindInstance("Binder");
    ASSERT_TRUE(host_->Install(*binder, &error)) << error;
    EXPECT_EQ(Logged(), (Events{{0xE102, 0xFFFFFFFF}}));
}

TEST_F(HostTest, ElementsInDrawOrderDepthFirst) {
    const GaugeInstance* dial = host_->FindInstance("Dial");
    std::vector<int32_t> parents;
    for (const ElementState& st : dial->states) parents.push_back(st.parent);
    // The text box hangs below the needle: it comes right after it, before the needle's siblings.
    EXPECT_EQ(parents, (std::vector<int32_t>{-1, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(dial->states[kText].element->kind, kString);
    EXPECT_EQ(host_->FindInstance("FixtureA")->states.size(), 2u);  // a root with no zero entry after it
    EXPECT_FALSE(host_->FindInstance("Nothing")->installed);
    // What the renderer reads: the installed instances in panel order, with their states.
    const std::vector<InstanceView> views = host_->Views();
    ASSERT_EQ(views.size(), 4u);
    EXPECT_STREQ(views[1].header->name, "Dial");
    EXPECT_EQ(views[1].placement.x, 100);
    EXPECT_EQ(views[1].count, dial->states.size());
    EXPECT_EQ(views[1].states, dial->states.data());
    EXPECT_EQ(views[1].bitmaps->count, 0u);
}

TEST_F(HostTest, NeedleSnapsAtFirstUpdateThenTurnsAtItsLimit) {
    Set("airspeed", 100);
    Step();
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 90);
    Set("airspeed", 200);
    Step();
    EXPECT_DOUBLE_EQ(Dial(kNeedle).target_angle, 180);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 96);
    Step(14);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 180);
    Set("airspeed", 300);  // past the last mark: the last interval's rate
    Step(15);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).target_angle, 270);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 270);
}

TEST_F(HostTest, DiscTurnsClockwisePastItsOppositeMarks) {
    Step();
    for (int i = 0; i < 18; ++i) Ok({{"cmd", "click"}, {"instance", "Dial"}, {"x", 35}, {"y", 5}});
    Step();
    EXPECT_DOUBLE_EQ(Dial(kDisc).value, 1800);
    EXPECT_NEAR(Dial(kDisc).target_angle, 180.0 + 180.0 / 1799, 1e-9);
    EXPECT_DOUBLE_EQ(Dial(kDisc).angle, 6);  // clockwise, although the short way is the other
}

TEST_F(HostTest, TextBoxesGetAClearedBufferOfTheirCountAndAlwaysEnd) {
    Set("kollsman_setting", 999.9);
    Step();
    EXPECT_STREQ(Dial(kText).text, " 999");
    Set("kollsman_setting", -12.7);
    Step();
    EXPECT_STREQ(Dial(kText).text, " -12");
    // Writes its whole buffer with no terminator and returns NaN: cut at its count.
    EXPECT_STREQ(Dial(kWildText).text, "XXX");
    EXPECT_TRUE(std::isnan(Dial(kWildText).value));
    const json state = json::parse(api_->HandleLine(R"({"cmd":"state","instance":"Dial"})"));
    EXPECT_TRUE(state["elements"][kWildText]["value"].is_null());
}

TEST_F(HostTest, WildValuesGiveDefinedResults) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double starter;  // the lamp icon: three icons
        int32_t index;
    } icons[] = {{1, 1}, {1.7, 1}, {2, 2}, {99, 2}, {-5, 0}, {inf, 2}, {-inf, 0}, {1e300, 2}, {nan, 2}};
    for (const Case& c : icons) {
        Set("starter", c.starter);
        Step();
        EXPECT_EQ(Dial(kLamp).index, c.index) << c.starter;
    }
    Set("starter", 1);
    Step();
    Set("starter", nan);  // NaN leaves what was shown
    Step();
    EXPECT_EQ(Dial(kLamp).index, 1);

    Set("slip_ball", 1e300);
    Set("heading", 500);
    Set("pitch", -inf);
    Set("bank", 90);
    Step();
    EXPECT_EQ(Dial(kSlider).shift_x, kMaxShift);
    EXPECT_EQ(Dial(kStrip).strip_x, 360);
    EXPECT_EQ(Dial(kStrip).strip_y, 0);  // the callback's 1.0, held within 0 to 0
    EXPECT_EQ(Dial(kSprite).shift_y, -kMaxShift);
    EXPECT_EQ(Dial(kSprite).rotation, -90);
    Set("slip_ball", nan);
    Set("heading", nan);
    Step();
    EXPECT_EQ(Dial(kSlider).shift_x, kMaxShift);
    EXPECT_EQ(Dial(kStrip).strip_x, 360);

    Set("airspeed", inf);
    Step(3);
    EXPECT_TRUE(std::isfinite(Dial(kNeedle).angle));
    EXPECT_TRUE(std::isfinite(Dial(kNeedle).target_angle));
}

TEST_F(HostTest, FailuresZeroFreezeAndHidePerElement) {
    Set("airspeed", 100);
    Set("slip_ball", 10);
    Step();
    host_->SetFailure(kFailAirspeed, true);  // zero on the needle
    Step();
    EXPECT_EQ(Dial(kNeedle).value, 0);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 84);  // turning toward 0 at its limit
    host_->SetFailure(kFailAirspeed, false);
    host_->SetFailure(kFailPitotStatic, true);  // freeze on the needle
    Set("airspeed", 200);
    Step(5);
    EXPECT_TRUE(Dial(kNeedle).frozen);
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 84);  // what it showed when the failure began
    EXPECT_EQ(Dial(kNeedle).value, 200);         // the callback side still runs
    host_->SetFailure(kFailPitotStatic, false);
    Step();
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 90);

    host_->SetFailure(kFailElectrical, true);  // hides the lamp and a text box
    host_->SetFailure(kFailAltimeter, true);   // freezes the root
    Set("slip_ball", 20);
    Step();
    EXPECT_FALSE(Dial(kLamp).visible);
    EXPECT_FALSE(Dial(kWildText).visible);
    EXPECT_TRUE(Dial(kRoot).frozen);
    EXPECT_TRUE(Dial(kText).visible);  // no list: no failure touches it
    // The slider's list is empty: it ignores every failure.
    EXPECT_TRUE(Dial(kSlider).visible);
    EXPECT_FALSE(Dial(kSlider).frozen);
    EXPECT_EQ(Dial(kSlider).shift_x, 10);
}

TEST_F(HostTest, ChildrenActByEventOrHandlerWhereTheyLie) {
    struct Case {
        int32_t x, y;
        bool hit;
        Events events;
    } cases[] = {
        {5, 5, true, {{0x10001, 0}}},    // event child: the host sends it, no module code
        {9, 9, true, {{0x10001, 0}}},
        {10, 0, true, {{0x10002, 0}}},   // left edge belongs to the box, right edge does not
        {25, 85, true, {{0xE200, 25}}},  // handler child sharing a nested parent's box
        {5, 85, false, {}},              // nested parent with help id 0: no click
        {65, 5, false, {}},              // a child without the left-button flag
        {-1, 5, false, {}},
        {150, 5, false, {}},             // outside the gauge
    };
    Logged();
    for (const Case& c : cases) {
        json answer = Ok({{"cmd", "click"}, {"instance", "Dial"}, {"x", c.x}, {"y", c.y}});
        EXPECT_EQ(answer["hit"], c.hit) << c.x << "," << c.y;
        EXPECT_EQ(Logged(), c.events) << c.x << "," << c.y;
    }
}

TEST_F(HostTest, RepeatChildrenActWhileHeldAtTheHostRate) {
    Logged();
    ASSERT_TRUE(host_->Press(*host_->FindInstance("Dial"), 15, 5));
    EXPECT_EQ(Logged().size(), 1u);  // the press itself
    // 18 updates a second: repeats at 300 ms, then every 100 ms: after updates 6, 8, 9, 11, 13.
    std::vector<size_t> per_update;
    for (int i = 0; i < 13; ++i) {
        Step();
        per_update.push_back(Logged().size());
    }
    EXPECT_EQ(per_update, (std::vector<size_t>{0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 1}));
    host_->Release();
    Step(20);
    EXPECT_TRUE(Logged().empty());
    // A single-click child held down acts once.
    ASSERT_TRUE(host_->Press(*host_->FindInstance("Dial"), 5, 5));
    Step(20);
    EXPECT_EQ(Logged().size(), 1u);
    host_->Release();
}

TEST_F(HostTest, HoverGivesHelpTextsTooltipInsertsAndCursors) {
    struct Case {
        int32_t x, y;
        json tooltip;
        int32_t cursor;
    } cases[] = {
        {25, 85, "Fixture button", kCursorHand},  // innermost parent with a help id
        {5, 85, "Value: 42 units", kCursorNone},  // a help-id-0 parent gives way to the outer one
        {5, 5, "Value: 42 units", kCursorDownArrow},
        {150, 150, nullptr, kCursorNone},
    };
    for (const Case& c : cases) {
        json answer = Ok({{"cmd", "hover"}, {"instance", "Dial"}, {"x", c.x}, {"y", c.y}});
        EXPECT_EQ(answer["tooltip"], c.tooltip) << c.x << "," << c.y;
        EXPECT_EQ(answer["cursor"], c.cursor) << c.x << "," << c.y;
    }
    EXPECT_EQ(host_->HelpText(43850), "Master switch");  // the host's own text
    EXPECT_EQ(host_->HelpText(999), std::nullopt);
}

TEST_F(HostTest, TogglingAWindowFromAHandlerInstallsAfterTheHandler) {
    Logged();
    Ok({{"cmd", "click"}, {"instance", "Dial"}, {"x", 45}, {"y", 5}});
    EXPECT_EQ(Logged(), (Events{{0xE300, 1}}));
    EXPECT_TRUE(host_->FindWindow(77)->shown);
    EXPECT_TRUE(host_->FindInstance("Plain")->installed);
    Ok({{"cmd", "click"}, {"instance", "Dial"}, {"x", 45}, {"y", 5}});
    EXPECT_EQ(Logged(), (Events{{0xE300, 0}}));
    EXPECT_FALSE(host_->FindInstance("Plain")->installed);
}

TEST_F(HostTest, InstancesShareModuleStateAndNothingElse) {
    Set("airspeed", 0);
    Step();
    Set("airspeed", 200);
    Step();
    Ok({{"cmd", "click"}, {"instance", "Dial"}, {"x", 35}, {"y", 5}});
    Ok({{"cmd", "window"}, {"id", 2}, {"shown", true}});
    Step();
    EXPECT_EQ(Dial(kDisc, "Dial#2").value, 100);         // module state: the same disc
    EXPECT_DOUBLE_EQ(Dial(kNeedle).angle, 12);           // still turning
    EXPECT_DOUBLE_EQ(Dial(kNeedle, "Dial#2").angle, 180);  // its own needle, shown at once
    EXPECT_STREQ(Dial(kWildText, "Dial#2").text, "XXX");
}

TEST_F(HostTest, ControlApiAnswersBadCommandsWithTheFieldAndWhatWasExpected) {
    struct Case {
        const char* line;
        const char* error;
    } cases[] = {
        {"", "not JSON"},
        {"[1,2]", "a command must be a JSON object"},
        {"{}", "missing field \"cmd\""},
        {R"({"cmd":7})", "field \"cmd\" must be a string"},
        {R"({"cmd":"fly"})", "unknown command \"fly\""},
        {R"({"cmd":"set","token":0,"value":1})", "field \"token\" must be an integer from 1 to 1023"},
        {R"({"cmd":"set","token":1.5,"value":1})", "field \"token\" must be an integer"},
        {R"({"cmd":"set","token":"nope","value":1})", "no token named \"nope\""},
        {R"({"cmd":"set","token":61,"value":"fast"})", "field \"value\" must be a number"},
        {R"({"cmd":"set","token":23,"value":"12.345"})", "\"1dd.dd\""},
        {R"({"cmd":"set","token":23,"value":-1})", "field \"value\" must be an integer from 0 to 4294967295"},
        {R"({"cmd":"get"})", "missing field \"token\""},
        {R"({"cmd":"failure","key":6})", "missing field \"active\""},
        {R"({"cmd":"failure","key":6,"active":"yes"})", "field \"active\" must be true or false"},
        {R"({"cmd":"step","updates":-1})", "field \"updates\" must be an integer from 0"},
        {R"({"cmd":"step","updates":1e300})", "field \"updates\" must be an integer from 0"},
        {R"({"cmd":"state","instance":"Nope"})", "no instance \"Nope\""},
        {R"({"cmd":"state","instance":"Plain"})", "\"Plain\" is not installed"},
        {R"({"cmd":"press","instance":"Dial","x":1})", "missing field \"y\""},
        {R"({"cmd":"press","instance":"Dial","x":1,"y":5000000000})", "field \"y\" must be an integer"},
        {R"({"cmd":"window","id":5,"shown":true})", "no window 5"},
        {R"({"cmd":"install","instance":"Nothing"})", "not in a loaded module (no module Missing)"},
        {R"({"cmd":"inspect","module":"Skelvan"})", "no module \"Skelvan\" is loaded"},
        {R"({"cmd":"control","name":"warp","value":1})", "no control \"warp\""},
        {R"({"cmd":"write_file","path":"../x","content":""})", "no \"..\""},
        {R"({"cmd":"write_file","path":"/etc/x","content":""})", "relative to the simulation's folder"},
    };
    for (const Case& c : cases) {
        const json answer = json::parse(api_->HandleLine(c.line));
        EXPECT_FALSE(answer.value("ok", true)) << c.line;
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos)
            << c.line << " -> " << answer["error"];
    }
}

TEST_F(HostTest, ControlApiSurvivesAnyValueInAnyField) {
    // Every field of every command replaced by values of every JSON type and wild numbers: an
    // answer each time, never a crash or an exception.
    const json commands[] = {
        {{"cmd", "set"}, {"token", 61}, {"value", 1}},
        {{"cmd", "set"}, {"token", 23}, {"value", "123.45"}},
        {{"cmd", "get"}, {"token", 23}},
        {{"cmd", "failure"}, {"key", 6}, {"active", true}},
        {{"cmd", "sim"}, {"running", false}},
        {{"cmd", "step"}, {"updates", 2}},
        {{"cmd", "state"}, {"instance", "Dial"}},
        {{"cmd", "press"}, {"instance", "Dial"}, {"x", 15}, {"y", 5}},
        {{"cmd", "click"}, {"instance", "Dial"}, {"x", 45}, {"y", 5}},
        {{"cmd", "hover"}, {"instance", "Dial"}, {"x", 5}, {"y", 5}},
        {{"cmd", "named"}, {"name", "hostfixture.value"}},
        {{"cmd", "window"}, {"id", 77}, {"shown", true}},
        {{"cmd", "install"}, {"instance", "Plain"}},
        {{"cmd", "kill"}, {"instance", "Dial"}},
        {{"cmd", "inspect"}, {"module", "HostFixture"}},
        {{"cmd", "control"}, {"name", "throttle"}, {"value", 0.5}},
        {{"cmd", "demo"}, {"on", false}},
        {{"cmd", "reset"}, {"demo", false}},
        {{"cmd", "write_file"}, {"path", "aircraft/a"}, {"content", "x"}},
        {{"cmd", "read_file"}, {"path", "aircraft/a"}},
    };
    const json wild[] = {nullptr, true, -1, 0, 4294967296.0, -1e300, 1e300, 0.5, "", "nan", "x",
                         json::array(), json::object(), json::array({1, 2})};
    for (const json& command : commands) {
        for (auto field = command.begin(); field != command.end(); ++field) {
            for (const json& value : wild) {
                json c = command;
                c[field.key()] = value;
                json answer = api_->Handle(c);
                ASSERT_TRUE(answer.is_object() && answer.contains("ok")) << c.dump();
                json parsed = json::parse(api_->HandleLine(c.dump()));
                ASSERT_TRUE(parsed["ok"].is_boolean()) << c.dump();
            }
        }
        Step();
    }
}

TEST_F(HostTest, ControlApiDrivesTheHost) {
    Ok({{"cmd", "set"}, {"token", "com_active_frequency"}, {"value", "123.45"}});
    EXPECT_EQ(Ok({{"cmd", "get"}, {"token", 23}})["value"], 0x2345);
    EXPECT_EQ(Ok({{"cmd", "get"}, {"token", 23}})["frequency"], "123.45");
    Ok({{"cmd", "set"}, {"token", 61}, {"value", "nan"}});
    EXPECT_TRUE(std::isnan(host_->tokens().Get(61)));
    Ok({{"cmd", "failure"}, {"key", 20}, {"active", true}});
    EXPECT_TRUE(host_->failures().Active(20));
    Ok({{"cmd", "sim"}, {"running", true}});
    EXPECT_TRUE(host_->sim().Running());
    EXPECT_EQ(Ok({{"cmd", "step"}, {"updates", 3}})["updates"], 3);
    json instances = Ok({{"cmd", "instances"}})["instances"];
    EXPECT_EQ(instances[1]["id"], "Dial");
    EXPECT_EQ(instances[1]["placement"], (json{{"window", 1}, {"x", 100}, {"y", 0}, {"width", 100}, {"height", 100}}));
    EXPECT_EQ(instances[4]["available"], false);
    EXPECT_EQ(Ok({{"cmd", "named"}, {"name", "hostfixture.value"}})["value"], 7);
    EXPECT_TRUE(Ok({{"cmd", "named"}, {"name", "nobody"}})["value"].is_null());
    Ok({{"cmd", "write_file"}, {"path", "aircraft/x.txt"}, {"content", "01 "}});
    EXPECT_EQ(Ok({{"cmd", "read_file"}, {"path", "aircraft/x.txt"}})["content"], "01 ");
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(root_) / "aircraft"));
    json inspect = Ok({{"cmd", "inspect"}, {"module", "HostFixture"}})["inspect"];
    EXPECT_EQ(inspect["gauges"][0]["root"]["children"][0]["table"][1], (json{100, 50, 100.0}));
}

TEST(Inspect, DumpsLinkageRecordsAndMouseAreas) {
    std::string error;
    auto module = LoadedModule::Load(HOST_FIXTURE_PATH, Host::ServiceTable(), &error);
    ASSERT_NE(module, nullptr) << error;
    const json j = InspectModule(*module);
    EXPECT_EQ(j["linkage"], (json{{"module_id", 0x13}, {"version", 0x800}, {"status", 0}, {"reserved", 0}}));
    const json& dial = j["gauges"][0];
    EXPECT_EQ(dial["name"], "Dial");
    EXPECT_EQ(dial["size_mm"], 100);
    EXPECT_EQ(j["gauges"][1]["service_callback"], true);
    const json& root = dial["root"];
    EXPECT_EQ(root["failures"], (json{{7, 1}}));
    EXPECT_EQ(root["children"][3]["failures"], json::array());  // empty list, not none
    EXPECT_TRUE(root["children"][1]["failures"].is_null());
    EXPECT_EQ(root["children"][0]["children"][0]["font"], "Courier New");
    EXPECT_EQ(root["children"][0]["children"][0]["chars"], 4);
    EXPECT_EQ(root["children"][5]["rotation"], (json{{"token", 80}, {"scale", -1.0}, {"callback", false}}));
    EXPECT_EQ(root["children"][4]["y"]["callback"], true);
    const json& mouse = dial["mouse"];
    EXPECT_EQ(mouse[1]["kind"], "tooltip");
    EXPECT_EQ(mouse[1]["text"], "Value: %1!d! units");
    EXPECT_EQ(mouse[1]["tooltip_callback"], true);
    EXPECT_EQ(mouse[6]["handler"], true);
    EXPECT_EQ(mouse.back()["kind"], "end_list");
}

class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = TempFolder(); }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    bool Run(const std::string& text, std::string* output) {
        const std::string path = dir_ + "/test.scn";
        std::ofstream(path) << text;
        LaunchOptions options;
        options.default_modules = false;
        options.modules = {HOST_FIXTURE_PATH};
        std::ostringstream out;
        const bool ok = RunScenarioFile(path, options, out);
        *output = out.str();
        return ok;
    }
    std::string dir_;
};

TEST_F(ScenarioTest, PassesAndStopsAtTheFirstFailedExpectationWithFileAndLine) {
    const std::string head =
        "# a scenario\n"
        "@window 1 \"Main\" 100 100 shown\n"
        "@gauge HostFixture Dial 0 0\n"
        "{\"cmd\":\"sim\",\"running\":false}\n"
        "{\"cmd\":\"set\",\"token\":\"kollsman_setting\",\"value\":1013}\n"
        "{\"cmd\":\"step\"}\n";
    std::string out;
    EXPECT_TRUE(Run(head + "{\"expect\":\"text\",\"instance\":\"Dial\",\"element\":2,\"text\":\"1013\"}\n"
                           "{\"cmd\":\"click\",\"instance\":\"Dial\",\"x\":5,\"y\":5}\n"
                           "{\"expect\":\"events\",\"events\":[[65537,0]]}\n"
                           "{\"expect\":\"value\",\"instance\":\"Dial\",\"element\":1,\"field\":\"angle\",\"value\":0}\n"
                           "{\"expect\":\"file\",\"path\":\"aircraft/none\",\"content\":null}\n",
                    &out))
        << out;
    EXPECT_NE(out.find("ok (4 commands, 4 expectations)"), std::string::npos) << out;

    EXPECT_FALSE(Run(head + "{\"expect\":\"text\",\"instance\":\"Dial\",\"element\":2,\"text\":\"1012\"}\n"
                            "{\"cmd\":\"never\"}\n",
                     &out));
    EXPECT_NE(out.find("test.scn:7: expected text \"1012\""), std::string::npos) << out;
    EXPECT_NE(out.find("test.scn:7: found    \"1013\""), std::string::npos) << out;

    EXPECT_FALSE(Run(head + "{\"cmd\":\"step\",\"updates\":\"many\"}\n", &out));
    EXPECT_NE(out.find("test.scn:7: expected command"), std::string::npos) << out;
    EXPECT_FALSE(Run(head + "@gauge HostFixture Dial 0 0\n", &out));
    EXPECT_NE(out.find("test.scn:7: expected \"@\" lines before the first command"), std::string::npos) << out;
}

}  // namespace
}  // namespace host
