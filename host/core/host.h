// The panel host: loads the gauge modules, serves them the host operations, keeps the token store
// and the aircraft model, installs and kills gauge instances by panel window, updates them, applies
// failures and routes the mouse. Every front end drives it through the control API.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "module_loader.h"
#include "panel_config.h"
#include "runtime.h"
#include "simulation.h"
#include "token_store.h"

namespace host {

struct EventRecord {
    uint32_t id;
    uint32_t arg;
};

struct WindowState {
    uint32_t id = 0;
    std::string title;
    int32_t width = 0;
    int32_t height = 0;
    bool shown = false;
};

// What the renderer needs of one installed instance.
struct InstanceView {
    const GaugeInstance* instance;
    const GaugeHeader* header;
    Placement placement;  // window and box in panel pixels
    int32_t width;        // gauge pixels
    int32_t height;
    const BitmapTable* bitmaps;  // the module's exported ModuleBitmaps
    const ElementState* states;  // draw order, root first
    size_t count;
};

struct HoverResult {
    std::optional<std::string> tooltip;
    int32_t cursor = kCursorNone;
};

class Host {
public:
    // Updates per second: the model advances 1/18 s per update, and the mouse repeat is counted in
    // updates.
    static constexpr int kUpdatesPerSecond = 18;
    // The event log keeps at most this many events between two reads; later ones are counted as
    // dropped.
    static constexpr size_t kEventLogCapacity = 4096;

    // `root` is the simulation's folder, the modules' working directory; the host creates its
    // "aircraft" folder. The process changes into it (modules open files by relative path).
    explicit Host(const std::string& root);
    ~Host();  // Shutdown()

    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Modules, in load order.
    bool LoadModule(const std::string& path, std::string* error);
    LoadedModule* FindModule(std::string_view name) const;
    const std::vector<std::unique_ptr<LoadedModule>>& modules() const { return modules_; }

    // Windows and instances from a configuration; modules are loaded first. Placements of gauges
    // that no loaded module has become instances that cannot be installed ("available": false).
    bool Configure(const PanelConfig& config, std::string* error);
    // Installs the gauges of every window shown at start.
    void Start();
    // Kills every installed gauge (last installed first) and unloads the modules. Idempotent.
    void Shutdown();

    // One host update: mouse repeat, the model (if running), then every installed instance in
    // panel order.
    void Update();
    uint64_t updates() const { return updates_; }

    const std::vector<std::unique_ptr<GaugeInstance>>& instances() const { return instances_; }
    GaugeInstance* FindInstance(std::string_view id) const;
    // Code 2, install (and initialize); code 12, kill. False with a message when the gauge is not
    // available or its records cannot be driven.
    bool Install(GaugeInstance& instance, std::string* error);
    void Kill(GaugeInstance& instance);

    const std::vector<WindowState>& windows() const { return windows_; }
    WindowState* FindWindow(uint32_t id);
    bool SetWindowShown(uint32_t id, bool shown, std::string* error);

    void SetFailure(uint32_t key, bool active);
    const FailureSet& failures() const { return failures_; }

    // Mouse, in gauge pixels. Press returns false (and nothing happens) when no child that takes
    // the left button lies under the point.
    bool Press(GaugeInstance& instance, int32_t x, int32_t y);
    void Release();
    HoverResult Hover(GaugeInstance& instance, int32_t x, int32_t y);

    std::vector<EventRecord> TakeEvents();
    uint64_t dropped_events() const { return dropped_events_; }
    // The 32-bit value published under the name, if any.
    std::optional<int32_t> NamedValue(std::string_view name) const;

    // The help text for an id: the configuration's, else the host's own.
    std::optional<std::string> HelpText(uint32_t id) const;

    TokenStore& tokens() { return tokens_; }
    Simulation& sim() { return *sim_; }
    const std::string& root() const { return root_; }

    std::vector<InstanceView> Views() const;

    // --- The host operations, as the modules reach them through the service table. -------------
    uint32_t ElementListInstall();
    uint32_t ElementListUpdate();
    uint32_t ElementListKill();
    uint32_t ElementListOther() const;
    uint32_t TogglePanelWindow(uint32_t window_id);
    uint32_t TriggerEvent(uint32_t event_id, uint32_t argument);
    uint32_t RegisterNamedVariable(void* address, uint32_t type, const char* name);
    uint32_t BindNamedVariable(HostVariable* variable, const char* name);
    uint32_t LookupVariable(HostVariable* variable);
    uint32_t UnregisterNamedVariable(const char* name);

    // The table whose address goes into every module's ImportTable.
    static HostServiceTable* ServiceTable();

private:
    friend class ActiveScope;
    struct NamedVariable {
        void* address;
        uint32_t type;
    };
    struct Hold {
        GaugeInstance* instance = nullptr;
        const MouseArea* child = nullptr;
        MousePoint point{};
        int64_t updates = 0;
        int64_t repeats = 0;
    };

    void Act(GaugeInstance& instance, const MouseArea& child, MousePoint point);
    void ApplyWindowChanges();
    void InstallWindow(uint32_t id);
    void KillWindow(uint32_t id);
    std::vector<GaugeInstance*> WindowInstances(uint32_t id);

    // A path given relative to the folder the host was started in.
    std::string Resolve(const std::string& path) const;

    std::string root_;
    std::string root_error_;
    std::string original_cwd_;
    TokenStore tokens_;
    std::unique_ptr<Simulation> sim_;
    std::vector<std::unique_ptr<LoadedModule>> modules_;
    std::vector<std::unique_ptr<GaugeInstance>> instances_;  // panel order
    std::vector<GaugeInstance*> install_order_;
    std::vector<WindowState> windows_;
    std::vector<uint32_t> window_changes_;  // windows toggled by module code, applied after the call
    std::map<uint32_t, std::string> help_;
    std::map<std::string, NamedVariable, std::less<>> named_;
    FailureSet failures_;
    std::vector<EventRecord> events_;
    uint64_t dropped_events_ = 0;
    uint64_t updates_ = 0;
    Hold hold_;
    GaugeInstance* current_ = nullptr;  // the instance the host is installing, updating, killing
    std::string install_error_;
    bool shut_down_ = false;
};

}  // namespace host
