// The live panel over HTTP: the page, the control API at POST /api, the bitmaps, and a stream of
// the changed display lists at the host's update rate (server-sent events at /events).
//
// The host is single-threaded: one host thread runs the 18 updates a second and every request's
// host work, handed to it through a queue. HTTP threads never touch the host themselves.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "control_api.h"
#include "host.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace web {

struct ServeOptions {
    std::string bind = "127.0.0.1";
    int port = 8080;              // 0: any free port (see PanelServer::port())
    bool token_waived = false;    // listen beyond the loopback address without an access token
    std::string token;            // the access token; empty: a random one where one is needed
    size_t max_body = 64 * 1024;  // bytes of a request body
    int max_streams = 16;         // update streams open at once
};

// Whether an address or host name (without port) is on this machine only: 127.0.0.0/8, ::1,
// "localhost".
bool IsLoopbackName(std::string_view name);
// The host name of a Host or Origin header value ("127.0.0.1:8080", "[::1]:8080",
// "http://localhost:8080"), lower-cased, without the port and scheme.
std::string HostNameOf(std::string_view value);
// Host and port of a Host or Origin header value, lower-cased, without scheme and path: two are
// the same site only when these are equal.
std::string AuthorityOf(std::string_view value);
// Compares in time independent of where the texts differ.
bool SameSecret(std::string_view a, std::string_view b);

class PanelServer {
public:
    explicit PanelServer(std::unique_ptr<host::Host> host, ServeOptions options = {});
    ~PanelServer();
    PanelServer(const PanelServer&) = delete;
    PanelServer& operator=(const PanelServer&) = delete;

    // Binds the listening socket. False with a message when the address or port cannot be had.
    bool Bind(std::string* error);
    int port() const { return port_; }
    // Empty when no token is asked for.
    const std::string& token() const { return token_; }
    // The page's address, with the token when one is asked for.
    std::string Url() const;

    // Serves until Stop(): starts the host thread (18 updates a second) and answers requests on
    // this thread. At the end the host thread kills the gauges in order (Host::Shutdown).
    void Run();
    // From any thread (a signal's); Run() then returns.
    void Stop();

    // Runs `work` on the host thread and waits for it. False (nothing ran) once the host has
    // stopped.
    bool OnHost(const std::function<void(host::Host&, host::ControlApi&)>& work);

    // Measured host updates per second over the last second.
    double UpdateRate() const { return rate_.load(); }

private:
    struct Published;
    struct Stream;

    void HostLoop();
    void Publish();
    std::string Frame(Stream& stream);
    void Routes();

    std::unique_ptr<host::Host> host_;
    std::unique_ptr<host::ControlApi> api_;  // used on the host thread only
    ServeOptions options_;
    std::unique_ptr<httplib::Server> server_;
    std::string token_;
    int port_ = 0;
    bool loopback_ = true;

    // The host thread's queue.
    std::mutex tasks_mutex_;
    std::condition_variable tasks_cv_;
    std::deque<std::function<void()>> tasks_;
    bool accepting_ = true;
    bool stopping_ = false;
    std::thread host_thread_;

    // What the host thread last published for the streams.
    std::mutex published_mutex_;
    std::condition_variable published_cv_;
    std::unique_ptr<Published> published_;
    std::atomic<int> streams_{0};
    std::atomic<bool> listening_done_{false};
    std::atomic<double> rate_{0};

    // PNG bytes of bitmaps, by module, id and picture: encoded once.
    std::mutex png_mutex_;
    std::map<std::string, std::shared_ptr<const std::string>> png_cache_;
    std::string etag_;
};

}  // namespace web
