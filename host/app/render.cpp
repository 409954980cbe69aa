// `panelhost render`: a PNG of a window or of one gauge instance, as the Cairo renderer draws it.
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "control_api.h"
#include "front_ends.h"

namespace {

constexpr const char* kRenderUsage =
    "usage: panelhost [options] render --out FILE.png [--window ID | --instance NAME] [--scale S]\n"
    "                                  [--updates N]\n"
    "  --out FILE.png   where to write the picture\n"
    "  --window ID      the panel window to draw (default 1, the main panel)\n"
    "  --instance NAME  one gauge instance alone, on a see-through background\n"
    "  --scale S        picture pixels per panel pixel, above 0 and at most 16 (default 1)\n"
    "  --updates N      host updates before drawing (default 1; 18 a second of the demo flight)\n";

bool ParseDouble(const std::string& s, double* out) {
    char* end = nullptr;
    *out = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0';
}

bool ParseUnsigned(const std::string& s, uint64_t max, uint64_t* out) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || s.size() > 12) return false;
    *out = std::stoull(s);
    return *out <= max;
}

}  // namespace

int RenderFrontEnd(const host::LaunchOptions& launch, const std::vector<std::string>& args) {
    std::string out, instance;
    uint64_t window = host::kMainPanelWindow, updates = 1;
    double scale = 1;
    bool window_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << kRenderUsage;
            return 0;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "panelhost: render: unexpected \"" << a << "\"\n" << kRenderUsage;
            return 2;
        }
        const std::string& v = args[++i];
        if (a == "--out") out = v;
        else if (a == "--instance") instance = v;
        else if (a == "--window" && ParseUnsigned(v, UINT32_MAX, &window)) window_given = true;
        else if (a == "--scale" && ParseDouble(v, &scale) && scale > 0 && scale <= render::kMaxScale) continue;
        else if (a == "--updates" && ParseUnsigned(v, 1000000, &updates)) continue;
        else {
            std::cerr << "panelhost: render: bad " << a << " \"" << v << "\"\n" << kRenderUsage;
            return 2;
        }
    }
    if (out.empty() || (window_given && !instance.empty())) {
        std::cerr << "panelhost: render needs --out, and a window or an instance, not both\n" << kRenderUsage;
        return 2;
    }

    host::LaunchOptions options = launch;
    std::filesystem::path temporary;
    if (options.root.empty()) {
        // Without --root the picture is taken in a folder of its own, removed afterwards.
        std::error_code ec;
        char pattern[] = "/tmp/panelhost-render-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::cerr << "panelhost: cannot make a temporary folder\n";
            return 1;
        }
        temporary = pattern;
        options.root = temporary.string();
    }
    const std::string out_path = std::filesystem::absolute(out).string();
    int status = 0;
    {
        std::vector<std::string> modules = options.modules;
        if (options.default_modules)
            for (const std::string& m : host::DefaultModulePaths(options.exe_dir)) modules.push_back(m);
        std::string error;
        auto h = host::StartHost(options, modules, nullptr, &error);
        if (!h) {
            std::cerr << "panelhost: " << error << "\n";
            status = 1;
        } else {
            for (uint64_t i = 0; i < updates; ++i) h->Update();
            host::PanelPictures pictures(*h);
            render::Image image;
            bool drawn = false;
            if (!instance.empty()) {
                const host::GaugeInstance* in = h->FindInstance(instance);
                if (in == nullptr) error = "no instance " + instance;
                else drawn = pictures.RenderInstance(*in, scale, image, &error);
            } else {
                drawn = pictures.RenderWindow(static_cast<uint32_t>(window), scale, image, &error);
            }
            if (!drawn || !render::WritePng(image, out_path, &error)) {
                std::cerr << "panelhost: " << error << "\n";
                status = 1;
            } else {
                std::cout << out_path << ": " << image.width << " x " << image.height << "\n";
            }
        }
    }
    if (!temporary.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(temporary, ec);
    }
    return status;
}
