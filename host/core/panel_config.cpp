#include "panel_config.h"

#include <charconv>
#include <limits>

namespace host {

namespace {

// Splits a line into words; "..." is one word (\" and \\ inside it). A '#' outside quotes starts a
// comment.
bool Words(std::string_view line, std::vector<std::string>* words, std::string* error) {
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '\\' && i < line.size()) {
                    word += line[i++];
                } else if (d == '"') {
                    closed = true;
                    break;
                } else {
                    word += d;
                }
            }
            if (!closed) {
                *error = "a closing \" for the quoted text";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        }
        words->push_back(std::move(word));
    }
    return true;
}

template <typename T>
bool Number(const std::string& word, T* out) {
    const char* end = word.data() + word.size();
    auto [p, ec] = std::from_chars(word.data(), end, *out);
    return ec == std::errc() && p == end;
}

}  // namespace

bool ParsePanelConfigLine(std::string_view line, std::string_view origin, int n, PanelConfig* config,
                          std::string* error) {
    auto fail = [&](const std::string& expected, const std::string& found = "") {
        *error = std::string(origin) + ":" + std::to_string(n) + ": expected " + expected +
                 (found.empty() ? "" : ", found \"" + found + "\"");
        return false;
    };
    std::vector<std::string> w;
    std::string why;
    if (!Words(line, &w, &why)) return fail(why);
    if (w.empty()) return true;

    if (w[0] == "window") {
        // window ID "TITLE" WIDTH HEIGHT shown|hidden
        if (w.size() != 6) return fail("window ID \"TITLE\" WIDTH HEIGHT shown|hidden");
        WindowConfig win;
        win.title = w[2];
        if (!Number(w[1], &win.id)) return fail("a window id (0 to 4294967295)", w[1]);
        if (!Number(w[3], &win.width) || win.width <= 0) return fail("a window width above 0", w[3]);
        if (!Number(w[4], &win.height) || win.height <= 0) return fail("a window height above 0", w[4]);
        if (w[5] == "shown") win.shown = true;
        else if (w[5] == "hidden") win.shown = false;
        else return fail("shown or hidden", w[5]);
        for (const WindowConfig& other : config->windows)
            if (other.id == win.id) return fail("a window id not used before", w[1]);
        config->windows.push_back(std::move(win));
        return true;
    }
    if (w[0] == "gauge") {
        // gauge MODULE NAME X Y [WIDTH HEIGHT]
        if (w.size() != 5 && w.size() != 7) return fail("gauge MODULE NAME X Y [WIDTH HEIGHT]");
        if (config->windows.empty()) return fail("a window line before the first gauge line");
        PlacementConfig p;
        p.module = w[1];
        p.gauge = w[2];
        p.window = config->windows.back().id;
        p.line = n;
        if (!Number(w[3], &p.x)) return fail("an x position (32-bit integer)", w[3]);
        if (!Number(w[4], &p.y)) return fail("a y position (32-bit integer)", w[4]);
        if (w.size() == 7) {
            if (!Number(w[5], &p.width) || p.width <= 0) return fail("a gauge width above 0", w[5]);
            if (!Number(w[6], &p.height) || p.height <= 0) return fail("a gauge height above 0", w[6]);
        }
        config->gauges.push_back(std::move(p));
        return true;
    }
    if (w[0] == "help") {
        // help ID "TEXT"
        if (w.size() != 3) return fail("help ID \"TEXT\"");
        uint32_t id = 0;
        if (!Number(w[1], &id)) return fail("a help id (0 to 4294967295)", w[1]);
        config->help[id] = w[2];
        return true;
    }
    return fail("window, gauge or help", w[0]);
}

bool ParsePanelConfig(std::string_view text, std::string_view origin, PanelConfig* config,
                      std::string* error, int first_line) {
    int n = first_line;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!ParsePanelConfigLine(line, origin, n, config, error)) return false;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
        ++n;
    }
    return true;
}

std::string_view DefaultPanelConfigText() {
    // The Skelvan's panel: the six flight instruments in two rows on the left, the engine monitor
    // with its lamps and the radio on the right, the switches, magnetos, starter, throttle and
    // flap/trim handle along the bottom. Every gauge at its own pixel size.
    return R"(# Skelvan panel: windows, then the gauges of each window in panel order.
window 1 "Skelvan panel" 1860 1110 shown
gauge Skelvan Masterswitch       10  660 127 127
gauge Skelvan Attitude          320   15 300 290
gauge Skelvan Flydat           1250   10 600 199
gauge Skelvan Slip              320  330 300 300
gauge Skelvan Startbutton       260  670 100 100
gauge Skelvan Altimeter_mtr     940   10 300 300
gauge Skelvan Altimeter_ft      630    4 300 312
gauge Skelvan Fuelpres          940  330 300 300
gauge Skelvan Fuelwarning      1370  215 100 100
gauge Skelvan Chargewarning    1310  220  49  49
gauge Skelvan Flydatwarning    1250  220  49  49
gauge Skelvan Airspeed           10   10 300 300
gauge Skelvan VSI                10  330 300 300
gauge Skelvan Compass           630  332 300 296
gauge Skelvan Icom             1250  330 600 136
gauge Skelvan Magnetos          150  680 100  86
gauge Skelvan Switches          370  700 176  46
gauge Skelvan Throttle          560  640 548 468
gauge Skelvan Flap_trim_handle 1120  660 200 244
gauge Q4d     ICON_Q4D         1830  220  12  12

# The flight computer pops up in its own window, shown and hidden by ICON_Q4D.
window 10101 "Q4D flight computer" 714 814 hidden
gauge Q4d     Q4D                 0    0 714 814
)";
}

}  // namespace host
