// panelhost: the panel host's front ends in one executable.
//
//   panelhost [options] console          JSON commands on stdin, one answer a line on stdout
//   panelhost [options] run FILE...      scenario files; exit 1 at the first failure
//   panelhost [options] inspect MODULE   JSON dump of a module's Linkage and records
//   panelhost [options] serve ...        the live panel in a browser (serve.cpp)
//   panelhost [options] render ...       a PNG of a window or an instance (render.cpp)
//
// Options: --module PATH (repeatable), --no-default-modules, --config FILE, --root DIR.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "control_api.h"
#include "front_ends.h"
#include "inspect.h"
#include "launch.h"
#include "scenario.h"

namespace {

constexpr const char* kUsage =
    "usage: panelhost [options] console | run FILE... | inspect MODULE | serve ... | render ...\n"
    "  serve [--port N] [--bind ADDR] [--no-token]   the live panel at http://127.0.0.1:8080\n"
    "  render --out FILE.png [--window ID | --instance NAME] [--scale S] [--updates N]\n"
    "options:\n"
    "  --module PATH          load this gauge module (repeatable)\n"
    "  --no-default-modules   do not load the build's Skelvan and Q4d modules\n"
    "  --config FILE          panel configuration (default: the embedded Skelvan panel)\n"
    "  --root DIR             the simulation's folder, holding aircraft/ (default ./sim-root;\n"
    "                         for run, a fresh temporary folder per file)\n";

int Console(const host::LaunchOptions& options) {
    std::vector<std::string> modules = options.modules;
    if (options.default_modules)
        for (const std::string& m : host::DefaultModulePaths(options.exe_dir)) modules.push_back(m);
    std::string error;
    auto h = host::StartHost(options, modules, nullptr, &error);
    if (!h) {
        std::cerr << "panelhost: " << error << "\n";
        return 1;
    }
    host::ControlApi api(*h);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::cout << api.HandleLine(line) << std::endl;
    }
    return 0;
}

int Inspect(const host::LaunchOptions& options, const std::string& module) {
    std::string path = module;
    if (module.find('/') == std::string::npos && module.find(".so") == std::string::npos) {
        path = host::FindModuleFile(module, options.exe_dir);
        if (path.empty()) {
            std::cerr << "panelhost: no module named " << module << " in the build (give its path)\n";
            return 1;
        }
    }
    std::string error;
    auto loaded = host::LoadedModule::Load(std::filesystem::absolute(path).string(), host::Host::ServiceTable(),
                                           &error);
    if (!loaded) {
        std::cerr << "panelhost: " << error << "\n";
        return 1;
    }
    std::cout << host::InspectModule(*loaded).dump(2) << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    host::LaunchOptions options;
    options.exe_dir = host::ExecutableDir();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        // serve and render take options of their own after the command's name.
        if (!args.empty() && (args[0] == "serve" || args[0] == "render")) {
            args.push_back(a);
            continue;
        }
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "panelhost: " << name << " needs a value\n" << kUsage;
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--module") options.modules.push_back(std::filesystem::absolute(value("--module")).string());
        else if (a == "--no-default-modules") options.default_modules = false;
        else if (a == "--config") options.config_path = std::filesystem::absolute(value("--config")).string();
        else if (a == "--root") options.root = std::filesystem::absolute(value("--root")).string();
        else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a.rfind("--", 0) == 0) {
            std::cerr << "panelhost: unknown option " << a << "\n" << kUsage;
            return 2;
        } else args.push_back(a);
    }
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args[0];
    if (command == "console") {
        if (options.root.empty()) options.root = std::filesystem::absolute("sim-root").string();
        return Console(options);
    }
    if (command == "run") {
        if (args.size() < 2) {
            std::cerr << "panelhost: run needs at least one scenario file\n" << kUsage;
            return 2;
        }
        for (size_t i = 1; i < args.size(); ++i)
            if (!host::RunScenarioFile(std::filesystem::absolute(args[i]).string(), options, std::cout)) return 1;
        return 0;
    }
    if (command == "inspect") {
        if (args.size() != 2) {
            std::cerr << "panelhost: inspect needs one module (a name or a path)\n" << kUsage;
            return 2;
        }
        return Inspect(options, args[1]);
    }
    if (command == "serve") {
        if (options.root.empty()) options.root = std::filesystem::absolute("sim-root").string();
        return ServeFrontEnd(options, std::vector<std::string>(args.begin() + 1, args.end()));
    }
    if (command == "render") return RenderFrontEnd(options, std::vector<std::string>(args.begin() + 1, args.end()));
    std::cerr << "panelhost: unknown command " << command << "\n" << kUsage;
    return 2;
}
