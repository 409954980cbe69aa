#include "control_api.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
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

json RectJson(const render::Rect& r) { return {r.x, r.y, r.width, r.height}; }

json AffineJson(const render::Affine& a) { return {a.xx, a.yx, a.xy, a.yy, a.x0, a.y0}; }

std::string Rgb(uint32_t rgb) {
    char s[8];
    std::snprintf(s, sizeof s, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return s;
}

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// Scale of a picture command: above 0 and at most the renderer's largest.
double Scale(const json& c) {
    if (!c.contains("scale")) return 1.0;
    const double s = Number(c, "scale");
    if (!(s > 0 && s <= render::kMaxScale))
        Bad("field \"scale\" must be a number above 0 and at most " + std::to_string(int(render::kMaxScale)));
    return s;
}

}  // namespace

// --- Pictures -----------------------------------------------------------------------------------

const render::ModuleBitmaps& PanelPictures::Bitmaps(const LoadedModule& module) {
    auto& slot = bitmaps_[&module];
    if (!slot) {
        slot = std::make_unique<render::ModuleBitmaps>();
        std::string error;
        slot->Load(module.bitmaps(), &error);  // a picture that does not decode is left out, named in `error`
    }
    return *slot;
}

bool PanelPictures::Input(const GaugeInstance& instance, render::InstanceInput& input) {
    if (!instance.installed || instance.header == nullptr || instance.module == nullptr) return false;
    const Placement& p = instance.placement;
    input = {.gauge = instance.header,
             .states = instance.states,
             .bitmaps = &Bitmaps(*instance.module),
             .placement = {double(p.x), double(p.y), double(p.width), double(p.height)}};
    return true;
}

void PanelPictures::Refresh() {
    const auto& instances = host_.instances();
    if (entries_.size() != instances.size()) entries_.resize(instances.size());
    for (size_t i = 0; i < instances.size(); ++i) {
        Entry& e = entries_[i];
        render::InstanceInput in;
        e.next.Clear();
        if (Input(*instances[i], in)) {
            int root_w = 0, root_h = 0;
            if (render::RootSize(*in.gauge, *in.bitmaps, root_w, root_h)) {
                const render::Affine to_window = render::PlacementTransform(
                    in.placement.x, in.placement.y, in.placement.width, in.placement.height, root_w, root_h, 1.0);
                render::BuildDisplayList(*in.gauge, in.states, to_window, *in.bitmaps, e.next, &e.freeze);
            }
        } else {
            e.freeze.Clear();  // a new install starts afresh
        }
        if (!(e.next == e.list)) {
            std::swap(e.next, e.list);
            ++e.revision;
        }
    }
}

bool PanelPictures::RenderWindow(uint32_t window, double scale, render::Image& out, std::string* error) {
    const WindowState* w = host_.FindWindow(window);
    if (w == nullptr) {
        *error = "no window " + std::to_string(window);
        return false;
    }
    std::vector<render::InstanceInput> inputs;
    for (const auto& instance : host_.instances()) {
        render::InstanceInput in;
        if (instance->placement.window == window && Input(*instance, in)) inputs.push_back(in);
    }
    return render::RenderWindow(inputs, {.width = w->width, .height = w->height, .scale = scale}, out, error);
}

bool PanelPictures::RenderInstance(const GaugeInstance& instance, double scale, render::Image& out,
                                   std::string* error) {
    render::InstanceInput in;
    if (!Input(instance, in)) {
        *error = "\"" + instance.id + "\" is not installed";
        return false;
    }
    return render::RenderInstance(in, scale, out, error);
}

json PanelPictures::ListJson(const render::DisplayList& list) {
    json commands = json::array();
    for (const render::DrawCommand& c : list.commands) {
        if (c.kind == render::CommandKind::kBitmap) {
            const render::BitmapDraw& b = c.bitmap;
            json j = {{"kind", "bitmap"},   {"element", c.element},       {"bitmap", b.bitmap_id},
                      {"transform", AffineJson(b.transform)}, {"color_key", b.color_key}, {"smooth", b.smooth}};
            if (b.companion != nullptr) {
                j["companion"] = b.companion_id;
                j["companion_transform"] = AffineJson(b.companion_transform);
            }
            commands.push_back(std::move(j));
        } else {
            const render::TextDraw& t = c.text;
            commands.push_back({{"kind", "text"},
                                {"element", c.element},
                                {"box", RectJson(t.box)},
                                {"text", t.text},
                                {"font", t.font_face},
                                {"weight", t.font_weight},
                                {"fore", Rgb(t.fore_rgb)},
                                {"back", Rgb(t.back_rgb)},
                                {"format_flags", t.format_flags},
                                {"size", t.font_size},
                                {"origin", {t.origin.x, t.origin.y}}});
        }
    }
    return {{"clip", RectJson(list.clip)}, {"commands", commands}, {"missing_bitmaps", list.missing_bitmaps}};
}

bool EncodePng(const render::Image& image, std::vector<unsigned char>& out) {
    if (image.width <= 0 || image.height <= 0) return false;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return false;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* in = image.rgba.data() + static_cast<size_t>(y) * image.width * 4;
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x, in += 4) {
            const uint32_t a = in[3];
            auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = a << 24 | pre(in[0]) << 16 | pre(in[1]) << 8 | pre(in[2]);
        }
    }
    cairo_surface_mark_dirty(s);
    out.clear();
    const bool ok = cairo_surface_write_to_png_stream(s, AppendPng, &out) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

std::string Base64(const std::vector<unsigned char>& bytes) {
    static const char* k = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += k[(v >> s) & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = uint32_t(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= uint32_t(bytes[i + 1]) << 8;
        out += k[(v >> 18) & 63];
        out += k[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? k[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

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
    if (cmd == "render") {
        // A PNG of a window (default: the main panel) or of one instance, into the simulation's
        // folder when a path is given, else in the answer as base64.
        const double scale = Scale(c);
        render::Image image;
        std::string error;
        if (c.contains("instance")) {
            if (c.contains("window")) Bad("fields \"window\" and \"instance\": give one of them");
            if (!pictures_.RenderInstance(InstalledInstance(host_, c), scale, image, &error)) Bad(error);
        } else {
            const auto window =
                c.contains("window") ? static_cast<uint32_t>(Integer(c, "window", 0, UINT32_MAX)) : kMainPanelWindow;
            if (!pictures_.RenderWindow(window, scale, image, &error)) Bad("field \"window\": " + error);
        }
        std::vector<unsigned char> png;
        if (!EncodePng(image, png)) Bad("the picture could not be encoded as PNG");
        ok["width"] = image.width;
        ok["height"] = image.height;
        if (c.contains("path")) {
            const std::filesystem::path path = RootPath(host_, c);
            std::error_code ec;
            std::filesystem::create_directories(path.parent_path(), ec);
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
            if (!out.good()) Bad("field \"path\": cannot write " + path.string());
            ok["path"] = path.string();
        } else {
            ok["png"] = Base64(png);
        }
        return ok;
    }
    if (cmd == "display") {
        // The display lists of the installed instances (of one window, if given), window pixels.
        const bool one = c.contains("window");
        const auto window = one ? static_cast<uint32_t>(Integer(c, "window", 0, UINT32_MAX)) : 0u;
        if (one && host_.FindWindow(window) == nullptr) Bad("field \"window\": no window " + std::to_string(window));
        pictures_.Refresh();
        json list = json::array();
        const auto& instances = host_.instances();
        for (size_t i = 0; i < instances.size(); ++i) {
            const GaugeInstance& in = *instances[i];
            if (!in.installed || (one && in.placement.window != window)) continue;
            json j = PanelPictures::ListJson(pictures_.entries()[i].list);
            j["id"] = in.id;
            j["module"] = in.module_name;
            j["window"] = in.placement.window;
            j["revision"] = pictures_.entries()[i].revision;
            list.push_back(std::move(j));
        }
        ok["instances"] = list;
        return ok;
    }
    Bad("field \"cmd\": unknown command \"" + cmd + "\"");
}

}  // namespace host
