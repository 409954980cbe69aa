// Starting a host the way the front ends do: which modules, which panel configuration, which
// simulation folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host.h"
#include "panel_config.h"

namespace host {

struct LaunchOptions {
    std::vector<std::string> modules;  // --module PATH, in order
    bool default_modules = true;       // also the build's Skelvan and Q4d modules
    std::string config_path;           // --config FILE; empty: the embedded default
    std::string root;                  // --root DIR; empty: the front end's default
    std::string exe_dir;               // the folder of the panelhost executable
};

// The folder of the running executable.
std::string ExecutableDir();

// The build's modules next to the executable: ../panel/libSkelvan.so, ../flightcomputer/libQ4d.so.
std::vector<std::string> DefaultModulePaths(const std::string& exe_dir);

// A module given by name ("Fixture") is looked for as lib<Name>.so in the build's module folders
// (../panel, ../flightcomputer, ../tests/fixture, ../tests/host relative to the executable's
// folder). Empty when there is none.
std::string FindModuleFile(const std::string& name, const std::string& exe_dir);

// Loads the modules, applies the configuration (`config`, else options.config_path, else the
// default) and installs the windows shown at start.
std::unique_ptr<Host> StartHost(const LaunchOptions& options, const std::vector<std::string>& modules,
                                const PanelConfig* config, std::string* error);

}  // namespace host
