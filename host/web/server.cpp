#include "server.h"

#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <future>
#include <random>

#include "assets.h"

namespace web {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr auto kUpdatePeriod = std::chrono::nanoseconds(1'000'000'000 / host::Host::kUpdatesPerSecond);
// A stream gets the status line's data at most this often; display lists go out every update.
constexpr auto kStatusPeriod = std::chrono::milliseconds(250);
// A stream that has nothing to say sends a comment this often, so that a dead peer is noticed.
constexpr auto kKeepAlive = std::chrono::seconds(10);

// Tokens the status line shows beside the model's state.
constexpr uint32_t kThrottleToken = 392;
constexpr uint32_t kFlapsToken = 328;
constexpr uint32_t kTrimToken = 783;
constexpr uint32_t kUnitsToken = 335;

void Text(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(message + "\n", "text/plain; charset=utf-8");
}

std::string RandomToken() {
    std::random_device random;
    std::string token;
    char hex[9];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(random()));
        token += hex;
    }
    return token;
}

// A whole decimal number within [lo, hi]; false for anything else.
bool ParseInteger(std::string_view s, int64_t lo, int64_t hi, int64_t* out) {
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool ParseNumber(const std::string& s, double* out) {
    if (s.empty() || s.size() > 32) return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

json MetaJson(const host::Host& host) {
    json windows = json::array();
    for (const host::WindowState& w : host.windows())
        windows.push_back({{"id", w.id}, {"title", w.title}, {"width", w.width}, {"height", w.height},
                           {"shown", w.shown}});
    json instances = json::array();
    for (const auto& i : host.instances())
        instances.push_back({{"id", i->id},
                             {"module", i->module_name},
                             {"gauge", i->gauge_name},
                             {"window", i->placement.window},
                             {"placement", {i->placement.x, i->placement.y, i->placement.width, i->placement.height}},
                             {"size", {i->width, i->height}},
                             {"size_mm", i->header != nullptr ? json(i->header->default_size_mm) : json(nullptr)},
                             {"installed", i->installed}});
    return {{"windows", windows}, {"instances", instances}};
}

}  // namespace

bool IsLoopbackName(std::string_view name) {
    if (name == "localhost" || name == "::1" || name == "[::1]") return true;
    // 127.0.0.0/8 written as four decimal parts.
    if (name.substr(0, 4) != "127.") return false;
    int parts = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t dot = name.find('.', start);
        if (dot == std::string_view::npos) dot = name.size();
        int64_t v = 0;
        if (!ParseInteger(name.substr(start, dot - start), 0, 255, &v)) return false;
        ++parts;
        start = dot + 1;
    }
    return parts == 4;
}

std::string HostNameOf(std::string_view value) {
    if (const size_t scheme = value.find("://"); scheme != std::string_view::npos) value.remove_prefix(scheme + 3);
    if (const size_t slash = value.find('/'); slash != std::string_view::npos) value = value.substr(0, slash);
    std::string_view name = value;
    if (!value.empty() && value.front() == '[') {
        const size_t close = value.find(']');
        name = close == std::string_view::npos ? value : value.substr(0, close + 1);
    } else if (const size_t colon = value.rfind(':'); colon != std::string_view::npos) {
        name = value.substr(0, colon);
    }
    std::string out(name);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string AuthorityOf(std::string_view value) {
    if (const size_t scheme = value.find("://"); scheme != std::string_view::npos) value.remove_prefix(scheme + 3);
    if (const size_t slash = value.find('/'); slash != std::string_view::npos) value = value.substr(0, slash);
    std::string out(value);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool SameSecret(std::string_view a, std::string_view b) {
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(i < b.size() ? b[i] : 0);
    return diff == 0;
}

// The host thread's latest data for the streams, as JSON text made once per change.
struct PanelServer::Published {
    struct List {
        uint64_t revision = 0;
        std::string json;  // {"id", "window", "revision", "clip", "commands", "missing_bitmaps"}
    };
    uint64_t sequence = 0;  // grows with every publication
    uint64_t meta_revision = 0;
    std::string meta;
    uint64_t status_revision = 0;
    std::string status;
    std::vector<List> lists;  // parallel to the host's instances
    bool closed = false;
};

// What one stream has sent so far.
struct PanelServer::Stream {
    uint64_t sequence = ~uint64_t{0};
    uint64_t meta_revision = ~uint64_t{0};
    uint64_t status_revision = ~uint64_t{0};
    Clock::time_point status_sent{};
    std::vector<uint64_t> list_revisions;
};

PanelServer::PanelServer(std::unique_ptr<host::Host> host, ServeOptions options)
    : host_(std::move(host)), options_(std::move(options)), server_(std::make_unique<httplib::Server>()),
      published_(std::make_unique<Published>()) {
    loopback_ = IsLoopbackName(options_.bind);
    if (!loopback_ && !options_.token_waived) token_ = options_.token.empty() ? RandomToken() : options_.token;
    else if (!options_.token.empty()) token_ = options_.token;
    etag_ = "\"" + RandomToken().substr(0, 12) + "\"";
    Routes();
}

PanelServer::~PanelServer() {
    Stop();
    if (host_thread_.joinable()) host_thread_.join();
}

bool PanelServer::Bind(std::string* error) {
    if (options_.port < 0 || options_.port > 65535) {
        *error = "port must be from 0 to 65535";
        return false;
    }
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.bind);
        if (port_ <= 0) {
            *error = "cannot listen on " + options_.bind;
            return false;
        }
    } else if (!server_->bind_to_port(options_.bind, options_.port)) {
        *error = "cannot listen on " + options_.bind + " port " + std::to_string(options_.port) +
                 " (in use, or not an address of this machine)";
        return false;
    } else {
        port_ = options_.port;
    }
    return true;
}

std::string PanelServer::Url() const {
    std::string name = options_.bind;
    if (name == "0.0.0.0" || name == "::" || name.empty()) {
        char host_name[256] = {};
        name = gethostname(host_name, sizeof host_name - 1) == 0 && host_name[0] != '\0' ? host_name : "localhost";
    }
    if (name.find(':') != std::string::npos && name.front() != '[') name = "[" + name + "]";
    std::string url = "http://" + name + ":" + std::to_string(port_) + "/";
    if (!token_.empty()) url += "?token=" + token_;
    return url;
}

void PanelServer::Run() {
    {
        std::lock_guard lock(tasks_mutex_);
        if (stopping_) return;
    }
    host_thread_ = std::thread([this] { HostLoop(); });
    server_->listen_after_bind();
    listening_done_ = true;
    Stop();
    host_thread_.join();
}

void PanelServer::Stop() {
    {
        std::lock_guard lock(tasks_mutex_);
        stopping_ = true;
    }
    tasks_cv_.notify_all();
    {
        std::lock_guard lock(published_mutex_);
        published_->closed = true;
    }
    published_cv_.notify_all();
    server_->stop();
}

bool PanelServer::OnHost(const std::function<void(host::Host&, host::ControlApi&)>& work) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    {
        std::lock_guard lock(tasks_mutex_);
        if (!accepting_) return false;
        tasks_.push_back([&] {
            // Whatever happens, the waiting request thread is released and the host thread lives.
            try {
                work(*host_, *api_);
            } catch (...) {
            }
            done.set_value();
        });
    }
    tasks_cv_.notify_all();
    finished.wait();
    return true;
}

void PanelServer::HostLoop() {
    auto next = Clock::now();
    std::deque<Clock::time_point> recent;  // times of the updates in the last second
    Publish();
    for (;;) {
        std::deque<std::function<void()>> work;
        {
            std::unique_lock lock(tasks_mutex_);
            tasks_cv_.wait_until(lock, next, [&] { return stopping_ || !tasks_.empty(); });
            work.swap(tasks_);
            if (stopping_) accepting_ = false;  // what is queued still runs, nothing more comes
        }
        for (auto& task : work) task();
        if (!work.empty()) Publish();  // a command may have changed the picture or the status
        {
            std::lock_guard lock(tasks_mutex_);
            if (stopping_ && tasks_.empty()) break;
        }
        const auto now = Clock::now();
        if (now < next) continue;
        host_->Update();
        next += kUpdatePeriod;
        if (now - next > std::chrono::milliseconds(500)) next = now + kUpdatePeriod;  // fell behind: no burst
        recent.push_back(now);
        while (!recent.empty() && now - recent.front() > std::chrono::seconds(1)) recent.pop_front();
        rate_.store(static_cast<double>(recent.size()));
        Publish();
    }
    // Gauges killed in order ("Flydat" saves the engine hours), modules unloaded, on this thread.
    host_->Shutdown();
    // A stop that came before the server was listening finds nothing to stop: repeat it.
    while (!listening_done_) {
        server_->stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void PanelServer::Publish() {
    host::PanelPictures& pictures = api_->pictures();
    pictures.Refresh();
    const auto& instances = host_->instances();
    const auto& entries = pictures.entries();

    std::string meta = MetaJson(*host_).dump();
    json status = api_->Handle({{"cmd", "status"}});
    status.erase("ok");
    status.erase("root");
    status["rate"] = rate_.load();
    status["failures"] = host_->failures().keys();
    status["throttle"] = host_->tokens().Get(kThrottleToken);
    status["flaps"] = host_->tokens().Get(kFlapsToken);
    status["trim"] = host_->tokens().Get(kTrimToken);
    status["units"] = host_->tokens().Get(kUnitsToken);
    std::string status_text = status.dump(-1, ' ', false, json::error_handler_t::replace);

    std::vector<std::pair<size_t, std::string>> changed;
    {
        std::lock_guard lock(published_mutex_);
        if (published_->lists.size() != instances.size()) published_->lists.resize(instances.size());
        for (size_t i = 0; i < instances.size(); ++i)
            if (published_->lists[i].json.empty() || published_->lists[i].revision != entries[i].revision)
                changed.emplace_back(i, std::string());
    }
    for (auto& [i, text] : changed) {
        json j = host::PanelPictures::ListJson(entries[i].list);
        j["id"] = instances[i]->id;
        j["window"] = instances[i]->placement.window;
        j["revision"] = entries[i].revision;
        text = j.dump(-1, ' ', false, json::error_handler_t::replace);
    }
    {
        std::lock_guard lock(published_mutex_);
        Published& p = *published_;
        for (auto& [i, text] : changed) {
            p.lists[i].revision = entries[i].revision;
            p.lists[i].json = std::move(text);
        }
        if (meta != p.meta) {
            p.meta = std::move(meta);
            ++p.meta_revision;
        }
        if (status_text != p.status) {
            p.status = std::move(status_text);
            ++p.status_revision;
        }
        ++p.sequence;
    }
    published_cv_.notify_all();
}

// The next event of a stream: what changed since it last sent, or nothing. Called under the lock.
std::string PanelServer::Frame(Stream& s) {
    const Published& p = *published_;
    s.sequence = p.sequence;
    std::string parts;
    auto add = [&](const char* name, const std::string& value) {
        parts += parts.empty() ? "{\"" : ",\"";
        parts += name;
        parts += "\":";
        parts += value;
    };
    const bool meta = s.meta_revision != p.meta_revision;
    if (meta) {
        add("meta", p.meta);
        s.meta_revision = p.meta_revision;
    }
    if (s.list_revisions.size() != p.lists.size()) s.list_revisions.assign(p.lists.size(), ~uint64_t{0});
    std::string lists;
    for (size_t i = 0; i < p.lists.size(); ++i) {
        if (p.lists[i].json.empty() || s.list_revisions[i] == p.lists[i].revision) continue;
        lists += lists.empty() ? "[" : ",";
        lists += p.lists[i].json;
        s.list_revisions[i] = p.lists[i].revision;
    }
    if (!lists.empty()) add("lists", lists + "]");
    const auto now = Clock::now();
    if (s.status_revision != p.status_revision && (meta || now - s.status_sent >= kStatusPeriod)) {
        add("status", p.status);
        s.status_revision = p.status_revision;
        s.status_sent = now;
    }
    if (parts.empty()) return parts;
    return "data: " + parts + "}\n\n";
}

void PanelServer::Routes() {
    api_ = std::make_unique<host::ControlApi>(*host_);
    httplib::Server& svr = *server_;
    svr.new_task_queue = [] { return new httplib::ThreadPool(24); };
    svr.set_payload_max_length(options_.max_body);
    svr.set_keep_alive_max_count(100);
    svr.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                             {"X-Frame-Options", "DENY"},
                             {"Referrer-Policy", "no-referrer"}});

    svr.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        using R = httplib::Server::HandlerResponse;
        const std::string host_name = HostNameOf(req.get_header_value("Host"));
        // On the loopback address only names of this machine are answered, so a web page whose
        // name resolves to 127.0.0.1 (DNS rebinding) cannot read the panel.
        if (loopback_ && !IsLoopbackName(host_name)) {
            Text(res, 403, "forbidden: the panel answers only to this machine's own names");
            return R::Handled;
        }
        // Another site's page may not drive the panel.
        if (req.has_header("Origin") && AuthorityOf(req.get_header_value("Origin")) != AuthorityOf(req.get_header_value("Host"))) {
            Text(res, 403, "forbidden: request from another site");
            return R::Handled;
        }
        if (!token_.empty()) {
            const std::string given =
                req.has_header("X-Panel-Token") ? req.get_header_value("X-Panel-Token") : req.get_param_value("token");
            if (!SameSecret(given, token_)) {
                Text(res, 401, "an access token is needed: open the address that panelhost printed");
                return R::Handled;
            }
        }
        return R::Unhandled;
    });
    svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        switch (res.status) {
            case 404: Text(res, 404, "not found"); break;
            case 413: Text(res, 413, "request too large"); break;
            case 400: Text(res, 400, "bad request"); break;
            default: Text(res, res.status, "error " + std::to_string(res.status)); break;
        }
    });
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        Text(res, 500, "internal error");
    });

    // The page's own assets, and nothing else from any path.
    for (size_t i = 0; i < kAssetCount; ++i) {
        const Asset& a = kAssets[i];
        const std::string path = std::string(a.path) == "/index.html" ? "/" : a.path;
        svr.Get(path, [a](const httplib::Request&, httplib::Response& res) {
            res.set_header("Cache-Control", "no-cache");
            res.set_header("Content-Security-Policy",
                           "default-src 'self'; img-src 'self' data:; style-src 'self'; script-src 'self'; "
                           "connect-src 'self'; frame-ancestors 'none'");
            res.set_content(reinterpret_cast<const char*>(a.bytes), a.size, a.content_type);
        });
    }

    svr.Get("/favicon.ico", [](const httplib::Request&, httplib::Response& res) { res.status = 204; });

    svr.Post("/api", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string type = req.get_header_value("Content-Type");
        if (type.rfind("application/json", 0) != 0) {
            Text(res, 415, "the control API takes Content-Type: application/json");
            return;
        }
        json command;
        std::string answer;
        bool ok = false;
        try {
            command = json::parse(req.body);
        } catch (const json::exception& e) {
            res.status = 400;
            res.set_content(json{{"ok", false}, {"error", std::string("not JSON: ") + e.what()}}.dump(), "application/json");
            return;
        }
        const bool ran = OnHost([&](host::Host&, host::ControlApi& api) {
            const json a = api.Handle(command);
            ok = a.value("ok", false);
            answer = a.dump(-1, ' ', false, json::error_handler_t::replace);
        });
        if (!ran) {
            Text(res, 503, "the panel is shutting down");
            return;
        }
        res.status = ok ? 200 : 400;
        res.set_header("Cache-Control", "no-store");
        res.set_content(answer, "application/json");
    });
    svr.Get("/api", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Allow", "POST");
        Text(res, 405, "the control API takes POST");
    });

    // A module's bitmaps: which exist, and each picture as PNG.
    svr.Get(R"(/bitmaps/([A-Za-z0-9_]{1,64})\.json)", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string module = req.matches[1];
        json list;
        bool found = false;
        OnHost([&](host::Host& h, host::ControlApi& api) {
            const host::LoadedModule* m = h.FindModule(module);
            if (m == nullptr) return;
            found = true;
            list = json::array();
            for (const render::Bitmap& b : api.pictures().Bitmaps(*m).All())
                list.push_back({{"id", b.id},
                                {"width", b.width},
                                {"height", b.height},
                                {"keyed", b.keyed != nullptr},
                                {"opaque", b.opaque != nullptr},
                                {"window", b.window != nullptr},
                                {"overlay", b.overlay != nullptr}});
        });
        if (!found) return Text(res, 404, "no module " + module);
        res.set_header("Cache-Control", "no-cache");
        res.set_content(list.dump(), "application/json");
    });
    svr.Get(R"(/bitmap/([A-Za-z0-9_]{1,64})/(-?[0-9]{1,11})/(keyed|opaque|window|overlay)\.png)",
            [this](const httplib::Request& req, httplib::Response& res) {
                const std::string module = req.matches[1], variant = req.matches[3];
                int64_t id = 0;
                if (!ParseInteger(req.matches[2].str(), INT32_MIN, INT32_MAX, &id)) return Text(res, 404, "no such bitmap");
                const std::string key = module + "/" + std::to_string(id) + "/" + variant;
                if (req.get_header_value("If-None-Match") == etag_) {
                    res.status = 304;
                    return;
                }
                std::shared_ptr<const std::string> png;
                {
                    std::lock_guard lock(png_mutex_);
                    if (auto it = png_cache_.find(key); it != png_cache_.end()) png = it->second;
                }
                if (!png) {
                    const render::BitmapVariant v = variant == "keyed"    ? render::BitmapVariant::kKeyed
                                                    : variant == "opaque" ? render::BitmapVariant::kOpaque
                                                    : variant == "window" ? render::BitmapVariant::kWindow
                                                                          : render::BitmapVariant::kOverlay;
                    std::vector<unsigned char> bytes;
                    bool encoded = false;
                    OnHost([&](host::Host& h, host::ControlApi& api) {
                        if (const host::LoadedModule* m = h.FindModule(module))
                            encoded = api.pictures().Bitmaps(*m).EncodePng(static_cast<int32_t>(id), v, bytes);
                    });
                    if (!encoded) return Text(res, 404, "no such bitmap");
                    png = std::make_shared<const std::string>(bytes.begin(), bytes.end());
                    std::lock_guard lock(png_mutex_);
                    png_cache_.emplace(key, png);
                }
                res.set_header("Cache-Control", "no-cache");
                res.set_header("ETag", etag_);
                res.set_content(*png, "image/png");
            });

    // A Cairo picture of a window or an instance, as the render command makes it.
    svr.Get("/render.png", [this](const httplib::Request& req, httplib::Response& res) {
        double scale = 1;
        if (req.has_param("scale") && (!ParseNumber(req.get_param_value("scale"), &scale) ||
                                       !(scale > 0 && scale <= render::kMaxScale)))
            return Text(res, 400, "scale must be a number above 0 and at most 16");
        int64_t window = host::kMainPanelWindow;
        if (req.has_param("window") && !ParseInteger(req.get_param_value("window"), 0, UINT32_MAX, &window))
            return Text(res, 400, "window must be a window id");
        const std::string instance = req.get_param_value("instance");
        std::vector<unsigned char> png;
        std::string error;
        OnHost([&](host::Host& h, host::ControlApi& api) {
            render::Image image;
            bool drawn = false;
            if (!instance.empty()) {
                const host::GaugeInstance* in = h.FindInstance(instance);
                if (in == nullptr) error = "no instance " + instance;
                else drawn = api.pictures().RenderInstance(*in, scale, image, &error);
            } else {
                drawn = api.pictures().RenderWindow(static_cast<uint32_t>(window), scale, image, &error);
            }
            if (drawn && !host::EncodePng(image, png)) error = "the picture could not be encoded";
        });
        if (png.empty()) return Text(res, 400, error.empty() ? "no picture" : error);
        res.set_header("Cache-Control", "no-store");
        res.set_content(reinterpret_cast<const char*>(png.data()), png.size(), "image/png");
    });

    // The update stream: the first event carries everything, later ones what changed.
    svr.Get("/events", [this](const httplib::Request&, httplib::Response& res) {
        if (streams_.fetch_add(1) >= options_.max_streams) {
            streams_.fetch_sub(1);
            return Text(res, 503, "too many update streams open");
        }
        auto stream = std::make_shared<Stream>();
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream",
            [this, stream](size_t, httplib::DataSink& sink) {
                std::string frame;
                {
                    std::unique_lock lock(published_mutex_);
                    const bool woke = published_cv_.wait_for(lock, kKeepAlive, [&] {
                        return published_->closed || published_->sequence != stream->sequence;
                    });
                    if (published_->closed) return false;
                    frame = woke ? Frame(*stream) : std::string(": still here\n\n");
                }
                if (frame.empty()) return true;
                return sink.write(frame.data(), frame.size());
            },
            [this](bool) { streams_.fetch_sub(1); });
    });
}

}  // namespace web
