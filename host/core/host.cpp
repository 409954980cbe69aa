#include "host.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "help_texts.h"
#include "mouse_router.h"

namespace host {

namespace {

// Module code reaches the host only through the service table's plain functions; this is the host
// they act on. Set while the host calls into module code (one host per process at a time).
Host* g_active_host = nullptr;

uint32_t SvcQuery(ElementHeader*) { return g_active_host ? g_active_host->ElementListOther() : 0; }
uint32_t SvcInstall(ElementHeader*, uint32_t) { return g_active_host ? g_active_host->ElementListInstall() : 0; }
uint32_t SvcInitialize(ElementHeader*) { return g_active_host ? g_active_host->ElementListOther() : 0; }
uint32_t SvcUpdate(ElementHeader*) { return g_active_host ? g_active_host->ElementListUpdate() : 0; }
uint32_t SvcGenerate(ElementHeader*, uint32_t) { return g_active_host ? g_active_host->ElementListOther() : 0; }
uint32_t SvcDraw(ElementHeader*) { return g_active_host ? g_active_host->ElementListOther() : 0; }
uint32_t SvcUnused(ElementHeader*) { return 0; }
uint32_t SvcKill(ElementHeader*) { return g_active_host ? g_active_host->ElementListKill() : 0; }
uint32_t SvcToggle(uint32_t id) { return g_active_host ? g_active_host->TogglePanelWindow(id) : 0; }
uint32_t SvcTrigger(uint32_t id, uint32_t arg) { return g_active_host ? g_active_host->TriggerEvent(id, arg) : 0; }
uint32_t SvcRegister(void* address, uint32_t type, const char* name) {
    return g_active_host ? g_active_host->RegisterNamedVariable(address, type, name) : 0;
}
uint32_t SvcBind(HostVariable* variable, const char* name) {
    return g_active_host ? g_active_host->BindNamedVariable(variable, name) : 0;
}
uint32_t SvcLookup(HostVariable* variable) { return g_active_host ? g_active_host->LookupVariable(variable) : 0; }
uint32_t SvcUnregister(const char* name) {
    return g_active_host ? g_active_host->UnregisterNamedVariable(name) : 0;
}

HostServiceTable g_service_table = {
    .element_list_query = SvcQuery,
    .element_list_install = SvcInstall,
    .element_list_initialize = SvcInitialize,
    .element_list_update = SvcUpdate,
    .element_list_generate = SvcGenerate,
    .element_list_draw = SvcDraw,
    .element_list_unused = SvcUnused,
    .element_list_kill = SvcKill,
    .toggle_panel_window = SvcToggle,
    .trigger_event = SvcTrigger,
    .register_named_variable = SvcRegister,
    .bind_named_variable = SvcBind,
    .lookup_variable = SvcLookup,
    .unregister_named_variable = SvcUnregister,
};

}  // namespace

// Marks the host and the instance that module code called now acts on; restores the outer ones.
class ActiveScope {
public:
    ActiveScope(Host* host, GaugeInstance* instance)
        : previous_host_(g_active_host), host_(host), previous_instance_(host->current_) {
        g_active_host = host;
        host->current_ = instance;
    }
    ~ActiveScope() {
        host_->current_ = previous_instance_;
        g_active_host = previous_host_;
    }

private:
    Host* previous_host_;
    Host* host_;
    GaugeInstance* previous_instance_;
};

HostServiceTable* Host::ServiceTable() { return &g_service_table; }

Host::Host(const std::string& root) {
    std::error_code ec;
    original_cwd_ = std::filesystem::current_path(ec).string();
    const std::filesystem::path dir = std::filesystem::absolute(root, ec);
    root_ = dir.string();
    std::filesystem::create_directories(dir / "aircraft", ec);
    if (ec || chdir(root_.c_str()) != 0) root_error_ = "cannot use " + root_ + " as the simulation's folder";
    sim_ = std::make_unique<Simulation>(tokens_);
    events_.reserve(kEventLogCapacity);
}

Host::~Host() {
    Shutdown();
    if (!original_cwd_.empty() && chdir(original_cwd_.c_str()) != 0) {
        // Nothing to do: the folder we came from has gone.
    }
}

std::string Host::Resolve(const std::string& path) const {
    if (path.empty() || path[0] == '/') return path;
    return (std::filesystem::path(original_cwd_) / path).lexically_normal().string();
}

bool Host::LoadModule(const std::string& path, std::string* error) {
    auto module = LoadedModule::Load(Resolve(path), ServiceTable(), error);
    if (!module) return false;
    if (FindModule(module->name()) != nullptr) {
        *error = "module " + path + ": a module named " + module->name() + " is loaded already";
        return false;
    }
    modules_.push_back(std::move(module));
    return true;
}

LoadedModule* Host::FindModule(std::string_view name) const {
    for (const auto& m : modules_)
        if (m->name() == name) return m.get();
    return nullptr;
}

bool Host::Configure(const PanelConfig& config, std::string* error) {
    for (const WindowConfig& w : config.windows)
        windows_.push_back(WindowState{w.id, w.title, w.width, w.height, w.shown});
    help_ = config.help;
    std::map<std::string, int> placed;
    for (const PlacementConfig& p : config.gauges) {
        auto instance = std::make_unique<GaugeInstance>();
        const int n = ++placed[p.gauge];
        instance->id = n == 1 ? p.gauge : p.gauge + "#" + std::to_string(n);
        instance->module_name = p.module;
        instance->gauge_name = p.gauge;
        instance->module = FindModule(p.module);
        instance->header = instance->module ? instance->module->FindGauge(p.gauge) : nullptr;
        if (instance->header == nullptr) instance->module = nullptr;
        // The gauge's pixel size is its root bitmap's; without the bitmap, the placement's.
        BitmapSize size;
        const BitmapResource* bitmap =
            instance->header ? FindBitmap(instance->module->bitmaps(),
                                          static_cast<uint32_t>(instance->header->elements[0]->bitmap_id))
                             : nullptr;
        if (bitmap != nullptr && ReadBitmapSize(*bitmap, &size)) {
            instance->width = size.width;
            instance->height = size.height;
        } else {
            instance->width = p.width > 0 ? p.width : 100;
            instance->height = p.height > 0 ? p.height : 100;
        }
        instance->placement = Placement{p.window, p.x, p.y, p.width > 0 ? p.width : instance->width,
                                        p.height > 0 ? p.height : instance->height};
        instances_.push_back(std::move(instance));
    }
    if (!root_error_.empty()) {
        *error = root_error_;
        return false;
    }
    return true;
}

void Host::Start() {
    for (const WindowState& w : windows_)
        if (w.shown) InstallWindow(w.id);
    ApplyWindowChanges();
}

void Host::Shutdown() {
    if (shut_down_) return;
    shut_down_ = true;
    while (!install_order_.empty()) Kill(*install_order_.back());
    window_changes_.clear();
    for (auto& instance : instances_) {
        instance->module = nullptr;
        instance->header = nullptr;
    }
    while (!modules_.empty()) modules_.pop_back();  // last loaded, first unloaded
    named_.clear();
}

std::vector<GaugeInstance*> Host::WindowInstances(uint32_t id) {
    // Set up in the modules' Linkage order (so that a gauge that publishes a name comes before the
    // gauge that binds it), modules in load order, placements of one gauge in panel order.
    std::vector<GaugeInstance*> list;
    for (auto& instance : instances_)
        if (instance->placement.window == id && instance->header != nullptr) list.push_back(instance.get());
    auto key = [this](const GaugeInstance* i) {
        size_t module_index = 0;
        while (module_index < modules_.size() && modules_[module_index].get() != i->module) ++module_index;
        return std::pair<size_t, int>(module_index, i->module->GaugeIndex(i->header));
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const GaugeInstance* a, const GaugeInstance* b) { return key(a) < key(b); });
    return list;
}

void Host::InstallWindow(uint32_t id) {
    std::string ignored;
    for (GaugeInstance* instance : WindowInstances(id))
        if (!instance->installed) Install(*instance, &ignored);
}

void Host::KillWindow(uint32_t id) {
    auto list = WindowInstances(id);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->installed) Kill(**it);
}

void Host::ApplyWindowChanges() {
    // Windows that module code showed or hid (TogglePanelWindow) change once that code has
    // returned, so that no gauge is installed or killed while another gauge's handler runs.
    while (!window_changes_.empty() && !shut_down_) {
        const uint32_t id = window_changes_.front();
        window_changes_.erase(window_changes_.begin());
        WindowState* w = FindWindow(id);
        if (w == nullptr) continue;
        if (w->shown) InstallWindow(id);
        else KillWindow(id);
    }
}

bool Host::Install(GaugeInstance& instance, std::string* error) {
    if (instance.header == nullptr) {
        *error = "instance " + instance.id + ": gauge " + instance.gauge_name + " is not in a loaded module" +
                 (FindModule(instance.module_name) ? "" : " (no module " + instance.module_name + ")");
        return false;
    }
    if (instance.installed) return true;
    GaugeHeader* header = instance.header;
    {
        ActiveScope scope(this, &instance);
        if (header->service) header->service(0, kServiceInstall, 0);
        install_error_.clear();
        if (header->routines.install) header->routines.install(0);
        else ElementListInstall();
        if (instance.states.empty() && install_error_.empty()) ElementListInstall();  // routine did not ask
        if (!install_error_.empty()) {
            // Undo what code 2 set up.
            if (header->service) header->service(0, kServiceKill, 0);
            *error = "instance " + instance.id + ": " + install_error_;
            ReleaseInstance(instance);
            return false;
        }
        instance.installed = true;
        install_order_.push_back(&instance);
        if (header->routines.initialize) header->routines.initialize();
    }
    ApplyWindowChanges();
    return true;
}

void Host::Kill(GaugeInstance& instance) {
    if (!instance.installed) return;
    GaugeHeader* header = instance.header;
    {
        ActiveScope scope(this, &instance);
        if (header->service) header->service(0, kServiceKill, 0);
        if (header->routines.kill) header->routines.kill();
    }
    ReleaseInstance(instance);
    instance.installed = false;
    install_order_.erase(std::remove(install_order_.begin(), install_order_.end(), &instance),
                         install_order_.end());
    if (hold_.instance == &instance) hold_ = Hold{};
    ApplyWindowChanges();
}

void Host::Update() {
    if (hold_.instance != nullptr && (hold_.child->event_flags & kMouseRepeatBit) != 0) {
        ++hold_.updates;
        // Held for updates * 1000 / 18 ms; the next repeat is due at 300 + 100 * repeats ms.
        const int64_t held = hold_.updates * 1000;
        if (held >= (kRepeatDelayMs + kRepeatIntervalMs * hold_.repeats) * kUpdatesPerSecond) {
            ++hold_.repeats;
            Act(*hold_.instance, *hold_.child, hold_.point);
        }
    }
    sim_->Advance(1.0 / kUpdatesPerSecond);
    for (auto& instance : instances_) {
        if (!instance->installed) continue;
        ActiveScope scope(this, instance.get());
        if (instance->header->routines.update) instance->header->routines.update();
        else ElementListUpdate();
    }
    ++updates_;
    ApplyWindowChanges();
}

GaugeInstance* Host::FindInstance(std::string_view id) const {
    for (const auto& instance : instances_)
        if (instance->id == id) return instance.get();
    return nullptr;
}

WindowState* Host::FindWindow(uint32_t id) {
    for (WindowState& w : windows_)
        if (w.id == id) return &w;
    return nullptr;
}

bool Host::SetWindowShown(uint32_t id, bool shown, std::string* error) {
    WindowState* w = FindWindow(id);
    if (w == nullptr) {
        *error = "no window " + std::to_string(id);
        return false;
    }
    w->shown = shown;
    if (shown) InstallWindow(id);
    else KillWindow(id);
    ApplyWindowChanges();
    return true;
}

void Host::SetFailure(uint32_t key, bool active) {
    failures_.Set(key, active);
    sim_->SetFailure(key, active);
}

void Host::Act(GaugeInstance& instance, const MouseArea& child, MousePoint point) {
    if (child.action.handler != nullptr) {
        ActiveScope scope(this, &instance);
        child.action.handler(&point, child.event_flags);
    } else if (child.event_id != 0) {
        TriggerEvent(child.event_id, 0);  // the host sends it by itself: no module code runs
    }
}

bool Host::Press(GaugeInstance& instance, int32_t x, int32_t y) {
    hold_ = Hold{};
    if (!instance.installed) return false;
    const MouseHit hit = HitTest(instance.header->mouse_areas, x, y, instance.width, instance.height);
    if (hit.child == nullptr || (hit.child->event_flags & kMouseLeftSingle) == 0) return false;
    const MousePoint point{x, y};
    if ((hit.child->event_flags & kMouseRepeatBit) != 0) hold_ = Hold{&instance, hit.child, point, 0, 0};
    Act(instance, *hit.child, point);
    ApplyWindowChanges();
    return true;
}

void Host::Release() { hold_ = Hold{}; }

HoverResult Host::Hover(GaugeInstance& instance, int32_t x, int32_t y) {
    HoverResult result;
    if (!instance.installed) return result;
    const MouseHit hit = HitTest(instance.header->mouse_areas, x, y, instance.width, instance.height);
    if (hit.child != nullptr) result.cursor = hit.child->cursor;
    if (hit.tooltip != nullptr) {
        if (hit.tooltip->action.text == nullptr) return result;
        std::string text = hit.tooltip->action.text;
        TooltipArgs* args = hit.tooltip->tooltip_args;
        static constexpr std::string_view kInsert = "%1!d!";
        if (args != nullptr && args->callback != nullptr && text.find(kInsert) != std::string::npos) {
            double value;
            {
                ActiveScope scope(this, &instance);
                value = args->callback(args);
            }
            // Truncated toward zero into a 32-bit integer; NaN gives 0, beyond the range the limit.
            int32_t n = 0;
            if (!std::isnan(value))
                n = value >= 2147483647.0 ? INT32_MAX
                    : value <= -2147483648.0 ? INT32_MIN
                                              : static_cast<int32_t>(value);
            const std::string number = std::to_string(n);
            for (size_t at = text.find(kInsert); at != std::string::npos;
                 at = text.find(kInsert, at + number.size()))
                text.replace(at, kInsert.size(), number);
        }
        result.tooltip = std::move(text);
    } else if (hit.parent != nullptr) {
        result.tooltip = HelpText(hit.parent->help_id);
    }
    ApplyWindowChanges();
    return result;
}

std::vector<EventRecord> Host::TakeEvents() {
    std::vector<EventRecord> taken(events_.begin(), events_.end());
    events_.clear();  // keeps its capacity: logging allocates nothing
    dropped_events_ = 0;
    return taken;
}

std::optional<int32_t> Host::NamedValue(std::string_view name) const {
    auto it = named_.find(name);
    if (it == named_.end() || it->second.address == nullptr) return std::nullopt;
    int32_t value;
    std::memcpy(&value, it->second.address, sizeof value);
    return value;
}

std::optional<std::string> Host::HelpText(uint32_t id) const {
    if (id == 0) return std::nullopt;
    if (auto it = help_.find(id); it != help_.end()) return it->second;
    if (const char* text = BuiltinHelpText(id)) return std::string(text);
    return std::nullopt;
}

std::vector<InstanceView> Host::Views() const {
    std::vector<InstanceView> views;
    for (const auto& instance : instances_) {
        if (!instance->installed) continue;
        views.push_back(InstanceView{instance.get(), instance->header, instance->placement, instance->width,
                                     instance->height, &instance->module->bitmaps(),
                                     instance->states.data(), instance->states.size()});
    }
    return views;
}

// --- Host operations ---------------------------------------------------------------------------

uint32_t Host::ElementListInstall() {
    if (current_ == nullptr || current_->header == nullptr) return 0;
    if (!current_->states.empty()) return 1;
    std::string error;
    if (!PrepareInstance(*current_, &error)) {
        install_error_ = error;
        return 0;
    }
    return 1;
}

uint32_t Host::ElementListUpdate() {
    if (current_ == nullptr || !current_->installed) return 0;
    UpdateInstance(*current_, tokens_, failures_);
    return 1;
}

uint32_t Host::ElementListKill() { return current_ != nullptr ? 1 : 0; }

uint32_t Host::ElementListOther() const { return current_ != nullptr ? 1 : 0; }

uint32_t Host::TogglePanelWindow(uint32_t window_id) {
    // 1: the window is now shown; 0: it is now hidden, or there is no such window.
    WindowState* w = FindWindow(window_id);
    if (w == nullptr) return 0;
    w->shown = !w->shown;
    window_changes_.push_back(window_id);
    return w->shown ? 1 : 0;
}

uint32_t Host::TriggerEvent(uint32_t event_id, uint32_t argument) {
    if (events_.size() < kEventLogCapacity) events_.push_back(EventRecord{event_id, argument});
    else ++dropped_events_;
    sim_->Event(event_id, argument);
    return 1;
}

uint32_t Host::RegisterNamedVariable(void* address, uint32_t type, const char* name) {
    if (name == nullptr || address == nullptr) return 0;
    named_[name] = NamedVariable{address, type};
    return 1;
}

uint32_t Host::BindNamedVariable(HostVariable* variable, const char* name) {
    if (variable == nullptr) return 0;
    auto it = name != nullptr ? named_.find(std::string_view(name)) : named_.end();
    if (it == named_.end()) {
        variable->pointer = nullptr;  // nobody publishes the name
        return 0;
    }
    variable->pointer = it->second.address;
    variable->type = it->second.type;
    return 1;
}

uint32_t Host::LookupVariable(HostVariable* variable) {
    if (variable == nullptr) return 0;
    RefreshVariable(*variable, tokens_);
    return 1;
}

uint32_t Host::UnregisterNamedVariable(const char* name) {
    if (name == nullptr) return 0;
    auto it = named_.find(std::string_view(name));
    if (it == named_.end()) return 0;
    named_.erase(it);
    return 1;
}

}  // namespace host
