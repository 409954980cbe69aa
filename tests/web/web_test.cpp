// The live panel's HTTP server on a loopback port: what it refuses, the access token, the update
// stream, a clean stop; and the control API's render and display commands.
#include <gtest/gtest.h>
#include <httplib.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "control_api.h"
#include "launch.h"
#include "server.h"

namespace web {
namespace {

using nlohmann::json;

std::string TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "web-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return "";
    return pattern;
}

std::unique_ptr<host::Host> StartPanel(const std::string& root) {
    host::LaunchOptions options;
    options.root = root;
    std::string error;
    auto h = host::StartHost(options, {SKELVAN_PATH, Q4D_PATH}, nullptr, &error);
    EXPECT_TRUE(h) << error;
    return h;
}

// A served panel on a free loopback port, stopped at the end of the test.
class ServedPanel : public ::testing::Test {
protected:
    void Serve(ServeOptions options = {}) {
        root_ = TempFolder();
        options.port = 0;
        server_ = std::make_unique<PanelServer>(StartPanel(root_), options);
        std::string error;
        ASSERT_TRUE(server_->Bind(&error)) << error;
        thread_ = std::thread([this] { server_->Run(); });
        client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->port());
    }
    void TearDown() override {
        if (server_) server_->Stop();
        if (thread_.joinable()) thread_.join();
        server_.reset();
        std::error_code ec;
        if (!root_.empty()) std::filesystem::remove_all(root_, ec);
    }
    json Api(const std::string& body, int expected_status = 200) {
        auto r = client_->Post("/api", body, "application/json");
        EXPECT_TRUE(r);
        if (!r) return nullptr;
        EXPECT_EQ(r->status, expected_status) << body << " -> " << r->body;
        return json::parse(r->body, nullptr, false);
    }
    uint64_t Updates() { return Api(R"({"cmd":"status"})")["updates"].get<uint64_t>(); }

    std::string root_;
    std::unique_ptr<PanelServer> server_;
    std::thread thread_;
    std::unique_ptr<httplib::Client> client_;
};

TEST(WebNames, LoopbackNamesAndHostHeaders) {
    const std::pair<const char*, bool> loopback[] = {
        {"127.0.0.1", true}, {"127.1.2.3", true}, {"localhost", true}, {"::1", true}, {"[::1]", true},
        {"127.0.0.256", false}, {"127.0.0", false}, {"127.0.0.1.evil.example", false}, {"0.0.0.0", false},
        {"192.168.1.10", false}, {"localhost.evil.example", false}, {"", false}, {"127..0.1", false}};
    for (const auto& [name, expected] : loopback) EXPECT_EQ(IsLoopbackName(name), expected) << name;

    const std::pair<const char*, const char*> hosts[] = {
        {"127.0.0.1:8080", "127.0.0.1"},          {"LocalHost:80", "localhost"},
        {"[::1]:8080", "[::1]"},                  {"http://127.0.0.1:8080", "127.0.0.1"},
        {"http://evil.example/x:1", "evil.example"}, {"panel", "panel"}, {"", ""}};
    for (const auto& [value, name] : hosts) EXPECT_EQ(HostNameOf(value), name) << value;
    EXPECT_EQ(AuthorityOf("http://LocalHost:8080/x"), AuthorityOf("localhost:8080"));
    EXPECT_NE(AuthorityOf("http://127.0.0.1:8081"), AuthorityOf("127.0.0.1:8080"));

    EXPECT_TRUE(SameSecret("abc", "abc"));
    EXPECT_FALSE(SameSecret("abc", "abd"));
    EXPECT_FALSE(SameSecret("abc", "ab"));
    EXPECT_FALSE(SameSecret("", "a"));
}

TEST(WebToken, AskedForBeyondTheLoopbackAddressUnlessWaived) {
    const std::string root = TempFolder();
    {
        ServeOptions options;
        options.bind = "192.0.2.1";  // never bound: only the options count
        PanelServer open(StartPanel(root), options);
        EXPECT_EQ(open.token().size(), 32u);
        EXPECT_NE(open.Url().find("?token=" + open.token()), std::string::npos);
    }
    {
        ServeOptions options;
        options.bind = "0.0.0.0";
        options.token_waived = true;
        PanelServer waived(StartPanel(root), options);
        EXPECT_TRUE(waived.token().empty());
    }
    {
        PanelServer local(StartPanel(root), {});
        EXPECT_TRUE(local.token().empty());
        EXPECT_EQ(local.Url().find("token"), std::string::npos);
    }
    std::filesystem::remove_all(root);
}

TEST_F(ServedPanel, RefusesBadRequestsAndTheSimulationGoesOn) {
    Serve();
    const uint64_t before = Updates();
    struct Case {
        const char* method;
        const char* path;
        std::string body;
        const char* type;
        int status;
    };
    const Case cases[] = {
        {"POST", "/api", "{\"cmd\":", "application/json", 400},
        {"POST", "/api", "[1]", "application/json", 400},
        {"POST", "/api", R"({"cmd":"step","updates":-1})", "application/json", 400},
        {"POST", "/api", R"({"cmd":"no such"})", "application/json", 400},
        {"POST", "/api", R"({"cmd":"status"})", "text/plain", 415},
        {"POST", "/api", std::string(100 * 1024, ' '), "application/json", 413},
        {"GET", "/api", "", "", 405},
        {"GET", "/nothing", "", "", 404},
        {"GET", "/../../etc/passwd", "", "", 404},
        {"GET", "/%2e%2e/%2e%2e/etc/passwd", "", "", 404},
        {"GET", "/bitmap/Skelvan/../../x.png", "", "", 404},
        {"GET", "/bitmap/Skelvan/99999999999/keyed.png", "", "", 404},
        {"GET", "/bitmap/Skelvan/12345/keyed.png", "", "", 404},
        {"GET", "/bitmap/Nothing/4096/keyed.png", "", "", 404},
        {"GET", "/bitmaps/Nothing.json", "", "", 404},
        {"GET", "/render.png?scale=0", "", "", 400},
        {"GET", "/render.png?scale=inf", "", "", 400},
        {"GET", "/render.png?window=4294967296", "", "", 400},
        {"GET", "/render.png?window=5", "", "", 400},
        {"GET", "/render.png?instance=Nothing", "", "", 400},
    };
    for (const Case& c : cases) {
        httplib::Result r = std::string(c.method) == "POST" ? client_->Post(c.path, c.body, c.type) : client_->Get(c.path);
        ASSERT_TRUE(r) << c.path;
        EXPECT_EQ(r->status, c.status) << c.method << " " << c.path << " " << c.body.substr(0, 40) << ": " << r->body;
    }
    // Not HTTP at all, and a header beyond the library's bound.
    for (const std::string& raw : {std::string("GARBAGE\r\n\r\n"),
                                  "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Long: " + std::string(20000, 'a') + "\r\n\r\n"}) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(server_->port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(send(fd, raw.data(), raw.size(), MSG_NOSIGNAL), static_cast<ssize_t>(raw.size()));
        char answer[64] = {};
        const ssize_t n = recv(fd, answer, sizeof answer - 1, 0);
        close(fd);
        ASSERT_GT(n, 12) << raw.substr(0, 20);
        EXPECT_EQ(std::string(answer, 9), "HTTP/1.1 ") << raw.substr(0, 20);
        EXPECT_EQ(answer[9], '4') << answer;
    }
    // Still running, still answering.
    for (int i = 0; i < 100 && Updates() < before + 5; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_GE(Updates(), before + 5);
    auto page = client_->Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("/app.js"), std::string::npos);
}

TEST_F(ServedPanel, ServesThePageItsPicturesAndTheApi) {
    Serve();
    for (const char* path : {"/", "/app.js", "/style.css"}) {
        auto r = client_->Get(path);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << path;
        EXPECT_FALSE(r->body.empty()) << path;
    }
    EXPECT_EQ(Api(R"({"cmd":"sim","running":false})")["running"], false);

    auto catalog = client_->Get("/bitmaps/Skelvan.json");
    ASSERT_TRUE(catalog);
    const json list = json::parse(catalog->body);
    ASSERT_FALSE(list.empty());
    const int id = list[0]["id"];
    auto png = client_->Get("/bitmap/Skelvan/" + std::to_string(id) + "/keyed.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->status, 200);
    EXPECT_EQ(png->body.substr(1, 3), "PNG");
    // Unchanged pictures are not sent twice.
    auto again = client_->Get("/bitmap/Skelvan/" + std::to_string(id) + "/keyed.png",
                              {{"If-None-Match", png->get_header_value("ETag")}});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->status, 304);

    auto picture = client_->Get("/render.png?window=10101&scale=0.5");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
}

TEST_F(ServedPanel, RefusesOtherSitesAndOtherNames) {
    Serve();
    // DNS rebinding: a page on another name that resolves to 127.0.0.1.
    auto rebound = client_->Get("/", {{"Host", "evil.example:8080"}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
    // Another site's page posting a command: another name, another local server's port, a
    // sandboxed frame.
    for (const char* origin : {"http://evil.example", "http://127.0.0.1:1", "null"}) {
        auto posted = client_->Post("/api", {{"Origin", origin}}, R"({"cmd":"sim","running":false})", "application/json");
        ASSERT_TRUE(posted);
        EXPECT_EQ(posted->status, 403) << origin;
    }
    EXPECT_EQ(Api(R"({"cmd":"status"})")["running"], true);
    // The page itself posts with its own origin.
    httplib::Headers own = {{"Origin", "http://127.0.0.1:" + std::to_string(server_->port())}};
    auto ok = client_->Post("/api", own, R"({"cmd":"status"})", "application/json");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
}

TEST_F(ServedPanel, AnAccessTokenGuardsEveryPath) {
    ServeOptions options;
    options.token = "s3cret-token";
    Serve(options);
    for (const char* path : {"/", "/app.js", "/events", "/bitmaps/Skelvan.json", "/render.png"}) {
        auto r = client_->Get(path);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 401) << path;
    }
    auto wrong = client_->Get("/?token=s3cret-tokeN");
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 401);
    auto by_query = client_->Get("/?token=s3cret-token");
    ASSERT_TRUE(by_query);
    EXPECT_EQ(by_query->status, 200);
    auto by_header = client_->Post("/api", {{"X-Panel-Token", "s3cret-token"}}, R"({"cmd":"status"})", "application/json");
    ASSERT_TRUE(by_header);
    EXPECT_EQ(by_header->status, 200);
}

// Reads the update stream until `enough` says so (or a few seconds pass); returns the events' JSON.
std::vector<json> ReadStream(int port, const std::function<bool(const std::vector<json>&)>& enough) {
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(5, 0);
    std::vector<json> events;
    std::string buffer;
    const auto start = std::chrono::steady_clock::now();
    c.Get("/events", [&](const char* data, size_t length) {
        buffer.append(data, length);
        for (size_t end; (end = buffer.find("\n\n")) != std::string::npos;) {
            const std::string event = buffer.substr(0, end);
            buffer.erase(0, end + 2);
            if (event.rfind("data: ", 0) == 0) events.push_back(json::parse(event.substr(6)));
        }
        return !enough(events) && std::chrono::steady_clock::now() - start < std::chrono::seconds(5);
    });
    return events;
}

TEST_F(ServedPanel, StreamStartsWithEverythingThenSendsWhatChanged) {
    Serve();
    Api(R"({"cmd":"sim","running":false})");
    // Paused, needles still turn to their targets for a few updates: wait until nothing moves.
    json last;
    for (int i = 0; i < 30; ++i) {
        json now = Api(R"({"cmd":"display"})")["instances"];
        for (json& in : now) in = in["revision"];
        if (now == last) break;
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    const std::vector<json> first = ReadStream(server_->port(), [](const auto& e) { return !e.empty(); });
    ASSERT_FALSE(first.empty());
    const json& all = first[0];
    ASSERT_TRUE(all.contains("meta") && all.contains("lists") && all.contains("status"));
    EXPECT_EQ(all["meta"]["instances"].size(), 21u);
    EXPECT_EQ(all["lists"].size(), 21u);  // the hidden flight computer's list is empty
    for (const json& l : all["lists"]) EXPECT_EQ(l["commands"].empty(), l["id"] == "Q4D") << l["id"];

    // Paused, only the master switch's click changes a list.
    std::thread clicker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        httplib::Client c("127.0.0.1", server_->port());
        c.Post("/api", R"({"cmd":"click","instance":"Masterswitch","x":50,"y":50})", "application/json");
    });
    const std::vector<json> later = ReadStream(server_->port(), [](const auto& e) {
        return e.size() > 1 && e.back().contains("lists");
    });
    clicker.join();
    ASSERT_GT(later.size(), 1u);
    std::vector<std::string> changed;
    for (size_t i = 1; i < later.size(); ++i)
        for (const json& l : later[i].value("lists", json::array())) changed.push_back(l["id"]);
    EXPECT_EQ(changed, std::vector<std::string>{"Masterswitch"});
}

TEST_F(ServedPanel, StopEndsStreamsAndShutsTheHostDownOnItsThread) {
    Serve();
    std::filesystem::create_directories(root_ + "/aircraft");
    Api(R"({"cmd":"write_file","path":"aircraft/skelvan.uur","content":"0042 "})");
    Api(R"({"cmd":"kill","instance":"Flydat"})");
    Api(R"({"cmd":"install","instance":"Flydat"})");  // reads 4.2 hours
    Api(R"({"cmd":"remove_file","path":"aircraft/skelvan.uur"})");
    std::thread reader([&] { ReadStream(server_->port(), [](const auto&) { return false; }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server_->Stop();
    thread_.join();
    reader.join();  // the stream ended with the server
    std::ifstream hours(root_ + "/aircraft/skelvan.uur");
    std::string text((std::istreambuf_iterator<char>(hours)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "0042 ");
    EXPECT_FALSE(server_->OnHost([](host::Host&, host::ControlApi&) {}));
}

// --- The control API's picture commands ------------------------------------------------------------

class PictureCommands : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = TempFolder();
        host_ = StartPanel(root_);
        ASSERT_TRUE(host_);
        api_ = std::make_unique<host::ControlApi>(*host_);
        Do(R"({"cmd":"sim","running":false})");
        Do(R"({"cmd":"step"})");
    }
    void TearDown() override {
        api_.reset();
        host_.reset();
        std::filesystem::remove_all(root_);
    }
    json Do(const std::string& line) { return json::parse(api_->HandleLine(line)); }
    std::string root_;
    std::unique_ptr<host::Host> host_;
    std::unique_ptr<host::ControlApi> api_;
};

TEST_F(PictureCommands, RenderWritesAPngOfTheWindowOrInstance) {
    const json window = Do(R"({"cmd":"render","path":"shots/panel.png"})");
    ASSERT_EQ(window["ok"], true) << window;
    EXPECT_EQ(window["width"], 1860);
    EXPECT_EQ(window["height"], 1110);
    std::ifstream file(root_ + "/shots/panel.png", std::ios::binary);
    char signature[4] = {};
    file.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");

    const json scaled = Do(R"({"cmd":"render","instance":"Attitude","scale":0.5})");
    ASSERT_EQ(scaled["ok"], true) << scaled;
    EXPECT_EQ(scaled["width"], 150);
    EXPECT_EQ(scaled["png"].get<std::string>().rfind("iVBORw0KGgo", 0), 0u);  // base64 of the PNG signature
}

TEST_F(PictureCommands, RenderRefusesBadFields) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"cmd":"render","scale":0})", "field \"scale\""},
        {R"({"cmd":"render","scale":"nan"})", "field \"scale\""},
        {R"({"cmd":"render","scale":17})", "field \"scale\""},
        {R"({"cmd":"render","window":12})", "no window 12"},
        {R"({"cmd":"render","window":1,"instance":"Attitude"})", "give one of them"},
        {R"({"cmd":"render","instance":"Q4D"})", "not installed"},
        {R"({"cmd":"render","path":"../outside.png"})", "inside the simulation's folder"},
        {R"({"cmd":"render","path":"/tmp/outside.png"})", "relative"},
        {R"({"cmd":"display","window":12})", "no window 12"},
    };
    for (const auto& [line, message] : cases) {
        const json a = Do(line);
        EXPECT_EQ(a["ok"], false) << line;
        EXPECT_NE(a["error"].get<std::string>().find(message), std::string::npos) << line << ": " << a["error"];
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(root_).parent_path() / "outside.png"));
}

TEST_F(PictureCommands, DisplayListsChangeRevisionOnlyWhenThePictureChanges) {
    auto revisions = [&] {
        std::map<std::string, uint64_t> r;
        const json lists = Do(R"({"cmd":"display","window":1})");
        for (const json& i : lists["instances"]) r[i["id"]] = i["revision"];
        return r;
    };
    const auto first = revisions();
    EXPECT_EQ(first.size(), 20u);
    Do(R"({"cmd":"step"})");
    EXPECT_EQ(revisions(), first);  // paused: nothing moved
    Do(R"({"cmd":"click","instance":"Masterswitch","x":50,"y":50})");
    Do(R"({"cmd":"step"})");
    auto after = revisions();
    EXPECT_EQ(after["Masterswitch"], first.at("Masterswitch") + 1);
    after["Masterswitch"] = first.at("Masterswitch");
    EXPECT_EQ(after, first);

    // A command carries what a canvas needs to draw it.
    const json lists = Do(R"({"cmd":"display","window":1})");
    const json& attitude = *std::find_if(lists["instances"].begin(), lists["instances"].end(),
                                         [](const json& i) { return i["id"] == "Attitude"; });
    EXPECT_EQ(attitude["clip"], json({320.0, 15.0, 300.0, 290.0}));
    bool sprite = false;
    for (const json& c : attitude["commands"])
        if (c.contains("companion")) {
            sprite = true;
            EXPECT_EQ(c["companion"], c["bitmap"].get<int>() + 1);
            EXPECT_EQ(c["transform"].size(), 6u);
        }
    EXPECT_TRUE(sprite);
}

}  // namespace
}  // namespace web
