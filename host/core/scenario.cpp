#include "scenario.h"

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "control_api.h"

namespace host {

namespace {

using nlohmann::json;

struct Failed {
    std::string expected;
    std::string found;
};

std::string Show(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

bool Same(const json& expected, const json& found, double tolerance) {
    if (expected.is_number() && found.is_number())
        return std::fabs(expected.get<double>() - found.get<double>()) <= tolerance;
    if (expected.is_object() && found.is_object()) {
        for (auto it = expected.begin(); it != expected.end(); ++it)
            if (!found.contains(it.key()) || !Same(it.value(), found.at(it.key()), tolerance)) return false;
        return true;
    }
    if (expected.is_array() && found.is_array()) {
        if (expected.size() != found.size()) return false;
        for (size_t i = 0; i < expected.size(); ++i)
            if (!Same(expected[i], found[i], tolerance)) return false;
        return true;
    }
    return expected == found;
}

class Runner {
public:
    explicit Runner(Host& host) : api_(host) {}

    // Runs a command; a refused command fails the scenario.
    json Run(const json& command) {
        json answer = api_.Handle(command);
        if (!answer.value("ok", false))
            throw Failed{"command " + Show(command) + " to succeed", Show(answer)};
        return answer;
    }

    json Element(const json& e) {
        if (!e.contains("instance") || !e.contains("element") || !e["element"].is_number_unsigned())
            throw Failed{"\"instance\" and \"element\" (its place in draw order, 0 the root)", Show(e)};
        json state = Run({{"cmd", "state"}, {"instance", e["instance"]}});
        const size_t n = e["element"].get<size_t>();
        if (n >= state["elements"].size())
            throw Failed{"element " + std::to_string(n) + " of " + Show(e["instance"]),
                         std::to_string(state["elements"].size()) + " elements"};
        return state["elements"][n];
    }

    void Expect(const json& e) {
        const std::string what = e["expect"].is_string() ? e["expect"].get<std::string>() : "";
        const double tolerance = e.contains("tolerance") && e["tolerance"].is_number() ? e["tolerance"].get<double>()
                                                                                       : 1e-6;
        auto need = [&](const char* field) -> const json& {
            if (!e.contains(field)) throw Failed{std::string("field \"") + field + "\" in the expectation", Show(e)};
            return e[field];
        };
        auto check = [&](const json& expected, const json& found, const std::string& subject) {
            if (!Same(expected, found, tolerance))
                throw Failed{subject + " " + Show(expected) + (expected.is_number() && tolerance > 0
                                                                   ? " (within " + Show(tolerance) + ")"
                                                                   : ""),
                             Show(found)};
        };

        if (what == "text") {
            check(need("text"), Element(e).value("text", json()), "text");
        } else if (what == "value") {
            const std::string field = e.value("field", "value");
            json el = Element(e);
            json found = el.contains(field) ? el[field] : json();
            if (field == "shift_x" || field == "shift_y") found = el.contains("shift") ? el["shift"][field == "shift_x" ? 0 : 1] : json();
            if (field == "strip_x" || field == "strip_y") found = el.contains("strip") ? el["strip"][field == "strip_x" ? 0 : 1] : json();
            check(need("value"), found, field);
        } else if (what == "index") {
            check(need("index"), Element(e).value("index", json()), "icon index");
        } else if (what == "visible") {
            check(need("visible"), Element(e)["visible"], "visible");
        } else if (what == "frozen") {
            check(need("frozen"), Element(e)["frozen"], "frozen");
        } else if (what == "token") {
            json answer = Run({{"cmd", "get"}, {"token", need("token")}});
            check(need("value"), answer["value"], "token value");
        } else if (what == "events") {
            // The events since the last "events" command or expectation, as [id, arg] pairs or ids.
            json answer = Run({{"cmd", "events"}});
            json found = json::array();
            const json& expected = need("events");
            const bool ids_only = expected.is_array() && !expected.empty() && expected[0].is_number();
            for (const json& ev : answer["events"])
                found.push_back(ids_only ? ev["id"] : json::array({ev["id"], ev["arg"]}));
            if (expected != found) throw Failed{"events " + Show(expected), Show(found)};
        } else if (what == "named") {
            json answer = Run({{"cmd", "named"}, {"name", need("name")}});
            check(need("value"), answer["value"], "named variable " + Show(e["name"]));
        } else if (what == "file") {
            json answer = Run({{"cmd", "read_file"}, {"path", need("path")}});
            check(need("content"), answer["content"], "file " + Show(e["path"]) + " content");
        } else if (what == "tooltip") {
            json answer = Run({{"cmd", "hover"}, {"instance", need("instance")}, {"x", need("x")}, {"y", need("y")}});
            check(need("tooltip"), answer["tooltip"], "tooltip");
            if (e.contains("cursor")) check(e["cursor"], answer["cursor"], "cursor");
        } else if (what == "answer") {
            json answer = api_.Handle(need("command"));
            check(need("answer"), answer, "answer containing");
        } else {
            throw Failed{"an expectation kind: text, value, index, visible, frozen, token, events, named, file, "
                         "tooltip or answer",
                         Show(e["expect"])};
        }
    }

private:
    ControlApi api_;
};

struct TempFolder {
    std::string path;
    ~TempFolder() {
        if (path.empty()) return;
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

bool RunScenarioFile(const std::string& path, const LaunchOptions& base, std::ostream& out) {
    std::ifstream in(path);
    if (!in) {
        out << path << ": cannot read the file\n";
        return false;
    }
    auto fail = [&](int line, const std::string& expected, const std::string& found) {
        out << path << ":" << line << ": expected " << expected << "\n" << path << ":" << line << ": found    "
            << found << "\n";
        return false;
    };

    LaunchOptions options = base;
    TempFolder temp;
    if (options.root.empty()) {
        // Each file runs in a fresh simulation folder of its own, removed afterwards.
        std::string pattern = (std::filesystem::temp_directory_path() / "panelhost-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            out << path << ": cannot create a temporary simulation folder\n";
            return false;
        }
        temp.path = pattern;
        options.root = pattern;
    }
    const std::string scenario_dir = std::filesystem::absolute(path).parent_path().string();

    std::vector<std::string> modules;
    PanelConfig config;
    bool has_config = false;
    std::unique_ptr<Host> host;
    std::unique_ptr<Runner> runner;
    int commands = 0, expectations = 0;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::string text = line.substr(start);
        if (text[0] == '@') {
            if (host) return fail(n, "\"@\" lines before the first command", text);
            std::string directive = text.substr(1);
            if (directive.rfind("module ", 0) == 0) {
                std::string name = directive.substr(7);
                name.erase(name.find_last_not_of(" \t\r") + 1);
                std::string file = name.find('/') != std::string::npos
                                       ? (std::filesystem::path(scenario_dir) / name).lexically_normal().string()
                                       : FindModuleFile(name, options.exe_dir);
                if (file.empty()) return fail(n, "a module named " + name + " in the build", "none");
                modules.push_back(file);
                continue;
            }
            std::string error;
            if (!ParsePanelConfigLine(directive, path, n, &config, &error)) {
                out << error << "\n";
                return false;
            }
            has_config = true;
            continue;
        }
        if (!host) {
            if (modules.empty()) {
                modules = options.modules;
                if (options.default_modules)
                    for (const std::string& m : DefaultModulePaths(options.exe_dir)) modules.push_back(m);
            }
            std::string error;
            host = StartHost(options, modules, has_config ? &config : nullptr, &error);
            if (!host) return fail(n, "the host to start", error);
            runner = std::make_unique<Runner>(*host);
        }
        json command;
        try {
            command = json::parse(text);
        } catch (const json::parse_error& e) {
            return fail(n, "a JSON command or expectation", e.what());
        }
        try {
            if (command.is_object() && command.contains("expect")) {
                runner->Expect(command);
                ++expectations;
            } else {
                runner->Run(command);
                ++commands;
            }
        } catch (const Failed& f) {
            return fail(n, f.expected, f.found);
        }
    }
    out << path << ": ok (" << commands << " commands, " << expectations << " expectations)\n";
    return true;
}

}  // namespace host
