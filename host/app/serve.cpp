// `panelhost serve`: the live panel in a browser (docs/live-panel.md).
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "front_ends.h"
#include "server.h"

namespace {

constexpr const char* kServeUsage =
    "usage: panelhost [options] serve [--port N] [--bind ADDR] [--no-token]\n"
    "  --port N      port to listen on (default 8080; 0: any free port)\n"
    "  --bind ADDR   address to listen on (default 127.0.0.1, this machine only); any other\n"
    "                address asks for an access token, printed in the page's address\n"
    "  --no-token    listen beyond this machine without an access token (anyone who reaches\n"
    "                the port can fly the panel and write in the simulation's folder)\n";

}  // namespace

int ServeFrontEnd(const host::LaunchOptions& options, const std::vector<std::string>& args) {
    web::ServeOptions serve;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        if (a == "--port" && has_value) {
            const std::string& v = args[++i];
            char* end = nullptr;
            const long port = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || port < 0 || port > 65535) {
                std::cerr << "panelhost: --port takes a number from 0 to 65535, found \"" << v << "\"\n";
                return 2;
            }
            serve.port = static_cast<int>(port);
        } else if (a == "--bind" && has_value) {
            serve.bind = args[++i];
        } else if (a == "--no-token") {
            serve.token_waived = true;
        } else if (a == "--help" || a == "-h") {
            std::cout << kServeUsage;
            return 0;
        } else {
            std::cerr << "panelhost: serve: unexpected \"" << a << "\"\n" << kServeUsage;
            return 2;
        }
    }

    // SIGINT and SIGTERM are taken by this thread alone (sigwait below), so the server's and the
    // host's threads, which inherit the mask, are never interrupted by them. A peer that closes
    // its connection must not kill the process either.
    signal(SIGPIPE, SIG_IGN);
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    std::vector<std::string> modules = options.modules;
    if (options.default_modules)
        for (const std::string& m : host::DefaultModulePaths(options.exe_dir)) modules.push_back(m);
    std::string error;
    auto h = host::StartHost(options, modules, nullptr, &error);
    if (!h) {
        std::cerr << "panelhost: " << error << "\n";
        return 1;
    }
    web::PanelServer server(std::move(h), serve);
    if (!server.Bind(&error)) {
        std::cerr << "panelhost: " << error << "\n";
        return 1;
    }
    std::cout << "Skelvan live panel: " << server.Url() << std::endl;
    if (!web::IsLoopbackName(serve.bind) && serve.token_waived)
        std::cout << "warning: listening on " << serve.bind << " without an access token" << std::endl;

    const pthread_t main_thread = pthread_self();
    std::atomic<bool> finished_alone{false};
    std::thread serving([&] {
        server.Run();
        finished_alone = true;
        pthread_kill(main_thread, SIGTERM);  // wakes sigwait below if the server stopped by itself
    });
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    const bool failed = finished_alone.load();
    server.Stop();
    serving.join();
    if (failed) {
        std::cerr << "panelhost: the server stopped by itself\n";
        return 1;
    }
    std::cout << "panelhost: stopped (" << (signal_number == SIGINT ? "interrupt" : "terminate") << ")" << std::endl;
    return 0;
}
