#include "launch.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace host {

std::string ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::vector<std::string> DefaultModulePaths(const std::string& exe_dir) {
    const std::filesystem::path dir(exe_dir);
    return {(dir / "../panel/libSkelvan.so").lexically_normal().string(),
            (dir / "../flightcomputer/libQ4d.so").lexically_normal().string()};
}

std::string FindModuleFile(const std::string& name, const std::string& exe_dir) {
    const std::filesystem::path dir(exe_dir);
    for (const char* folder : {"../panel", "../flightcomputer", "../tests/fixture", "../tests/host"}) {
        const auto path = (dir / folder / ("lib" + name + ".so")).lexically_normal();
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) return path.string();
    }
    return "";
}

std::unique_ptr<Host> StartHost(const LaunchOptions& options, const std::vector<std::string>& modules,
                                const PanelConfig* config, std::string* error) {
    PanelConfig loaded;
    if (config == nullptr) {
        if (!options.config_path.empty()) {
            std::ifstream in(options.config_path);
            if (!in) {
                *error = "cannot read the panel configuration " + options.config_path;
                return nullptr;
            }
            std::stringstream text;
            text << in.rdbuf();
            if (!ParsePanelConfig(text.str(), options.config_path, &loaded, error)) return nullptr;
        } else if (!ParsePanelConfig(DefaultPanelConfigText(), "default configuration", &loaded, error)) {
            return nullptr;
        }
        config = &loaded;
    }
    auto host = std::make_unique<Host>(options.root);
    for (const std::string& path : modules)
        if (!host->LoadModule(path, error)) return nullptr;
    if (!host->Configure(*config, error)) return nullptr;
    host->Start();
    return host;
}

}  // namespace host
