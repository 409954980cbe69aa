#include "control_api.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "inspect.h"

namespace host {

namespace {

using nlohmann::json;

// A bad command: the message names the field and what was expected.
struct BadCommand {
    std::string message;
};

[[noreturn]] void Bad(const std::string& message) { throw BadCommand{message}; }

const json& Field(const json& c, const char* name) {
    auto it = c.find(name);
    if (it == c.end()) Bad(std::string("missing field \"") + name + "\"");
    return *it;
}

bool Bool(const json& c, const char* name) {
    const json& v = Field(c, name);
    if (!v.is_boolean()) Bad(std::string("field \"") + name + "\" must be true or false");
    return v.get<bool>();
}

std::string String(const json& c, const char* name) {
    const json& v = Field(c, name);
    if (!v.is_string()) Bad(std::string("field \"") + name + "\" must be a string");
    return v.get<std::string>();
}

// An integer within [lo, hi]; numbers with a fraction, NaN or out of range are refused.
int64_t Integer(const json& c, const char* name, int64_t lo, int64_t hi) {
    const json& v = Field(c, name);
    const std::string expected = std::string("field \"") + name + "\" must be an integer from " +
                                 std::to_string(lo) + " to " + std::to_string(hi);
    if (v.is_number_unsigned()) {
        const uint64_t u = v.get<uint64_t>();
        if (u > static_cast<uint64_t>(hi) || static_cast<int64_t>(u) < lo) Bad(expected);
        return static_cast<int64_t>(u);
    }
    if (v.is_number_integer()) {
        const int64_t i = v.get<int64_t>();
        if (i < lo || i > hi) Bad(expected);
        return i;
    }
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (!(d >= static_cast<double>(lo) && d <= static_cast<double>(hi)) || d != std::trunc(d)) Bad(expected);
        return static_cast<int64_t>(d);
    }
    Bad(expected);
}

// A number; the strings "nan", "inf" and "-inf" give the values JSON cannot write.
double Number(const json& c, const char* name) {
    const json& v = Field(c, name);
    if (v.is_number()) return v.get<double>();
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        if (s == "nan") return std::numeric_limits<double>::quiet_NaN();
        if (s == "inf") return std::numeric_limits<double>::infinity();
        if (s == "-inf") return -std::numeric_limits<double>::infinity();
    }
    Bad(std::string("field \"") + name + "\" must be a number (or \"nan\", \"inf\", \"-inf\")");
}

uint32_t Token(const json& c) {
    const json& v = Field(c, "token");
    if (v.is_string()) {
        const TokenInfo* info = FindTokenInfo(v.get<std::string>());
        if (info == nullptr) Bad("field \"token\": no token named \"" + v.get<std::string>() + "\"");
        return info->token;
    }
    return static_cast<uint32_t>(Integer(c, "token", 1, TokenStore::kCapacity - 1));
}

// "1dd.dd" -> the four BCD digits after the leading 1.
bool ParseFrequency(const std::string& s, uint32_t* bcd) {
    if (s.size() != 6 || s[0] != '1' || s[3] != '.') return false;
    const char digits[4] = {s[1], s[2], s[4], s[5]};
    uint32_t v = 0;
    for (char d : digits) {
        if (d < '0' || d > '9') return false;
        v = v << 4 | static_cast<uint32_t>(d - '0');
    }
    *bcd = v;
    return true;
}

std::string FrequencyText(uint32_t bcd) {
    std::string s = "1";
    const char* hex = "0123456789ABCDEF";
    s += hex[(bcd >> 12) & 0xF];
    s += hex[(bcd >> 8) & 0xF];
    s += '.';
    s += hex[(bcd >> 4) & 0xF];
    s += hex[bcd & 0xF];
    return s;
}

GaugeInstance& Instance(Host& host, const json& c) {
    const std::string id = String(c, "instance");
    GaugeInstance* instance = host.FindInstance(id);
    if (instance == nullptr) Bad("field \"instance\": no instance \"" + id + "\"");
    return *instance;
}

GaugeInstance& InstalledInstance(Host& host, const json& c) {
    GaugeInstance& instance = Instance(host, c);
    if (!instance.installed) Bad("field \"instance\": \"" + instance.id + "\" is not installed");
    return instance;
}

json PlacementJson(const GaugeInstance& i) {
    return {{"window", i.placement.window}, {"x", i.placement.x}, {"y", i.placement.y},
            {"width", i.placement.width}, {"height", i.placement.height}};
}

const char* KindName(uint32_t kind) {
    switch (kind) {
        case kStaticImage: return "static";
        case kNeedle: return "needle";
        case kString: return "string";
        case kSlider: return "slider";
        case kIcon: return "icon";
        case kMovingImage: return "moving";
        case kSprite: return "sprite";
        default: return "unknown";
    }
}

// A path inside the simulation's folder: relative, without "..".
std::filesystem::path RootPath(const Host& host, const json& c) {
    const std::string p = String(c, "path");
    const std::filesystem::path path(p);
    if (p.empty() || path.is_absolute()) Bad("field \"path\" must be a path relative to the simulation's folder");
    for (const auto& part : path)
        if (part == "..") Bad("field \"path\" must stay inside the simulation's folder (no \"..\")");
    return std::filesystem::path(host.root()) / path;
}

}  // namespace

double NormalizeDegrees(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0) a += 360.0;
    if (a >= 360.0) a = 0;
    return a;
}

json ControlApi::InstanceState(const GaugeInstance& instance) {
    json elements = json::array();
    for (const ElementState& st : instance.states) {
        const ElementHeader* e = st.element;
        json j = {{"kind", KindName(e->kind)}, {"parent", st.parent},      {"bitmap", e->bitmap_id},
                  {"value", st.value},         {"visible", st.visible},    {"frozen", st.frozen}};
        switch (e->kind) {
            case kNeedle:
                j["angle"] = NormalizeDegrees(st.angle);
                j["target_angle"] = NormalizeDegrees(st.target_angle);
                break;
            case kString: j["text"] = st.text; break;
            case kIcon: j["index"] = st.index; break;
            case kSlider:
                j["value_y"] = st.value_y;
                j["shift"] = {st.shift_x, st.shift_y};
                break;
            case kMovingImage:
                j["value_y"] = st.value_y;
                j["strip"] = {st.strip_x, st.strip_y};
                break;
            case kSprite:
                j["value_y"] = st.value_y;
                j["value_rotation"] = st.value_rotation;
                j["shift"] = {st.shift_x, st.shift_y};
                j["rotation"] = st.rotation;
                break;
            default: break;
        }
        elements.push_back(std::move(j));
    }
    return elements;
}

json ControlApi::Handle(const json& command) {
    try {
        if (!command.is_object()) return {{"ok", false}, {"error", "a command must be a JSON object"}};
        return Dispatch(command);
    } catch (const BadCommand& bad) {
        return {{"ok", false}, {"error", bad.message}};
    } catch (const std::exception& e) {
        return {{"ok", false}, {"error", std::string("command failed: ") + e.what()}};
    }
}

std::string ControlApi::HandleLine(std::string_view line) {
    json command;
    try {
        command = json::parse(line);
    } catch (const json::parse_error& e) {
        return json{{"ok", false}, {"error", std::string("not JSON: ") + e.what()}}.dump();
    }
    return Handle(command).dump(-1, ' ', false, json::error_handler_t::replace);
}

json ControlApi::Dispatch(const json& c) {
    const std::string cmd = String(c, "cmd");
    json ok = {{"ok", true}};

    if (cmd == "instances") {
        json list = json::array();
        for (const auto& i : host_.instances())
            list.push_back({{"id", i->id},
                            {"module", i->module_name},
                            {"gauge", i->gauge_name},
                            {"window", i->placement.window},
                            {"placement", PlacementJson(*i)},
                            {"size", {i->width, i->height}},
                            {"installed", i->installed},
                            {"available", i->header != nullptr}});
        ok["instances"] = list;
        return ok;
    }
    if (cmd == "set") {
        const uint32_t token = Token(c);
        if (IsBcdToken(token)) {
            const json& v = Field(c, "value");
            uint32_t bcd = 0;
            if (v.is_string()) {
                if (!ParseFrequency(v.get<std::string>(), &bcd))
                    Bad("field \"value\" of a frequency token must be \"1dd.dd\" or its 32-bit BCD integer");
            } else {
                bcd = static_cast<uint32_t>(Integer(c, "value", 0, UINT32_MAX));
            }
            host_.tokens().SetBcd(token, bcd);
        } else {
            host_.tokens().Set(token, Number(c, "value"));
        }
        return ok;
    }
    if (cmd == "get") {
        const uint32_t token = Token(c);
        ok["token"] = token;
        const TokenInfo* info = FindTokenInfo(token);
        ok["name"] = info ? json(info->name) : json(nullptr);
        ok["unit"] = info ? json(info->unit) : json(nullptr);
        if (IsBcdToken(token)) {
            const uint32_t bcd = host_.tokens().GetBcd(token);
            ok["value"] = bcd;
            ok["frequency"] = FrequencyText(bcd);
        } else {
            ok["value"] = host_.tokens().Get(token);
        }
        return ok;
    }
    if (cmd == "tokens") {
        json list = json::array();
        for (const TokenInfo& t : kTokenCatalog)
            list.push_back({{"token", t.token}, {"name", t.name}, {"unit", t.unit}, {"bcd", t.bcd}});
        ok["tokens"] = list;
        return ok;
    }
    if (cmd == "failure") {
        const uint32_t key = static_cast<uint32_t>(Integer(c, "key", 1, UINT32_MAX));
        host_.SetFailure(key, Bool(c, "active"));
        ok["active"] = host_.failures().keys();
        return ok;
    }
    if (cmd == "failures") {
        ok["active"] = host_.failures().keys();
        return ok;
    }
    if (cmd == "sim") {
        host_.sim().SetRunning(Bool(c, "running"));
        ok["running"] = host_.sim().Running();
        return ok;
    }
    if (cmd == "step") {
        const int64_t n = c.contains("updates") ? Integer(c, "updates", 0, 1000000) : 1;
        for (int64_t i = 0; i < n; ++i) host_.Update();
        ok["updates"] = host_.updates();
        return ok;
    }
    if (cmd == "state") {
        GaugeInstance& instance = InstalledInstance(host_, c);
        ok["instance"] = instance.id;
        ok["elements"] = InstanceState(instance);
        return ok;
    }
    if (cmd == "press" || cmd == "click" || cmd == "hover") {
        GaugeInstance& instance = InstalledInstance(host_, c);
        const auto x = static_cast<int32_t>(Integer(c, "x", INT32_MIN, INT32_MAX));
        const auto y = static_cast<int32_t>(Integer(c, "y", INT32_MIN, INT32_MAX));
        if (cmd == "hover") {
            HoverResult h = host_.Hover(instance, x, y);
            ok["tooltip"] = h.tooltip ? json(*h.tooltip) : json(nullptr);
            ok["cursor"] = h.cursor;
            return ok;
        }
        ok["hit"] = host_.Press(instance, x, y);
        if (cmd == "click") host_.Release();
        return ok;
    }
    if (cmd == "release") {
        host_.Release();
        return ok;
    }
    if (cmd == "events") {
        ok["dropped"] = host_.dropped_events();
        json list = json::array();
        for (const EventRecord& e : host_.TakeEvents()) list.push_back({{"id", e.id}, {"arg", e.arg}});
        ok["events"] = list;
        return ok;
    }
    if (cmd == "named") {
        const std::optional<int32_t> v = host_.NamedValue(String(c, "name"));
        ok["value"] = v ? json(*v) : json(nullptr);
        return ok;
    }
    if (cmd == "window") {
        const auto id = static_cast<uint32_t>(Integer(c, "id", 0, UINT32_MAX));
        const bool shown = Bool(c, "shown");
        std::string error;
        if (!host_.SetWindowShown(id, shown, &error)) Bad("field \"id\": " + error);
        return ok;
    }
    if (cmd == "windows") {
        json list = json::array();
        for (const WindowState& w : host_.windows())
            list.push_back({{"id", w.id}, {"title", w.title}, {"width", w.width}, {"height", w.height},
                            {"shown", w.shown}});
        ok["windows"] = list;
        return ok;
    }
    if (cmd == "install") {
        std::string error;
        if (!host_.Install(Instance(host_, c), &error)) return {{"ok", false}, {"error", error}};
        return ok;
    }
    if (cmd == "kill") {
        host_.Kill(Instance(host_, c));
        return ok;
    }
    if (cmd == "inspect") {
        const std::string name = String(c, "module");
        const LoadedModule* module = host_.FindModule(name);
        if (module == nullptr) Bad("field \"module\": no module \"" + name + "\" is loaded");
        ok["inspect"] = InspectModule(*module);
        return ok;
    }
    if (cmd == "control") {
        const std::string name = String(c, "name");
        const double value = Number(c, "value");
        if (!host_.sim().SetControl(name, value))
            Bad("field \"name\"/\"value\": the model has no control \"" + name + "\" taking that value");
        return ok;
    }
    if (cmd == "controls") {
        ok["controls"] = host_.sim().ControlNames();
        return ok;
    }
    if (cmd == "demo") {
        host_.sim().SetDemo(Bool(c, "on"));
        ok["demo"] = host_.sim().DemoActive();
        return ok;
    }
    if (cmd == "reset") {
        const bool demo = c.contains("demo") ? Bool(c, "demo") : true;
        host_.sim().Reset(demo);
        return ok;
    }
    if (cmd == "status") {
        ok["running"] = host_.sim().Running();
        ok["demo"] = host_.sim().DemoActive();
        ok["phase"] = host_.sim().DemoPhase();
        ok["sim_time"] = host_.sim().Time();
        ok["updates"] = host_.updates();
        ok["host_time"] = static_cast<double>(host_.updates()) / Host::kUpdatesPerSecond;
        ok["updates_per_second"] = Host::kUpdatesPerSecond;
        ok["root"] = host_.root();
        return ok;
    }
    if (cmd == "write_file") {
        const std::filesystem::path path = RootPath(host_, c);
        const std::string content = String(c, "content");
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.good()) Bad("field \"path\": cannot write " + path.string());
        return ok;
    }
    if (cmd == "read_file") {
        const std::filesystem::path path = RootPath(host_, c);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            ok["content"] = nullptr;
            return ok;
        }
        std::ostringstream text;
        text << in.rdbuf();
        ok["content"] = text.str();
        return ok;
    }
    if (cmd == "remove_file") {
        std::error_code ec;
        std::filesystem::remove(RootPath(host_, c), ec);
        return ok;
    }
    Bad("field \"cmd\": unknown command \"" + cmd + "\"");
}

}  // namespace host
