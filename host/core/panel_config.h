// The panel configuration: which windows the panel has and where each gauge sits, in a small text
// format that a user edits without rebuilding (docs/panel-config.md).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct WindowConfig {
    uint32_t id = 0;
    std::string title;
    int32_t width = 0;
    int32_t height = 0;
    bool shown = true;  // shown at start
};

struct PlacementConfig {
    std::string module;
    std::string gauge;
    uint32_t window = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;  // 0 with height 0: the gauge's own pixel size
    int32_t height = 0;
    int line = 0;
};

struct PanelConfig {
    std::vector<WindowConfig> windows;
    std::vector<PlacementConfig> gauges;  // panel order
    std::map<uint32_t, std::string> help;  // help texts added or replaced by the configuration
};

// Parses a configuration. `origin` names it in messages ("panel.cfg", "scenario.scn"); `first_line`
// is the number of the text's first line. A bad line gives "origin:N: ..." with what was expected.
bool ParsePanelConfig(std::string_view text, std::string_view origin, PanelConfig* config,
                      std::string* error, int first_line = 1);
// Parses one line into the configuration (the scenario files' "@" lines).
bool ParsePanelConfigLine(std::string_view line, std::string_view origin, int line_number,
                          PanelConfig* config, std::string* error);

// The embedded default: all panel gauges on the main panel, the flight computer in window 10101.
std::string_view DefaultPanelConfigText();

inline constexpr uint32_t kMainPanelWindow = 1;
inline constexpr uint32_t kFlightComputerWindow = 10101;

}  // namespace host
