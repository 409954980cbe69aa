// The control API: one command set of JSON objects, each answered by one JSON object,
// {"ok": true, ...} or {"ok": false, "error": "..."}. Every front end speaks it (docs/host.md).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "host.h"
#include "render.h"

namespace host {

// The pictures of the host's windows. Each module's bitmaps are decoded once, on first use; each
// instance keeps its display list (window pixels, scale 1) and freeze memory between refreshes, and
// a revision that grows whenever its list changes, so a front end sends only what changed.
class PanelPictures {
public:
    explicit PanelPictures(Host& host) : host_(host) {}

    struct Entry {
        render::DisplayList list;  // empty while the instance is not installed
        render::DisplayList next;
        render::FreezeMemory freeze;
        uint64_t revision = 0;
    };

    // The decoded bitmaps of a module (a bad picture is left out; the rest are kept).
    const render::ModuleBitmaps& Bitmaps(const LoadedModule& module);
    // Rebuilds every instance's list; entries run parallel to Host::instances().
    void Refresh();
    const std::vector<Entry>& entries() const { return entries_; }

    // One-shot Cairo pictures: a window (its installed instances over the panel's background) or
    // an instance alone. False with a message for an unknown window or a bad scale.
    bool RenderWindow(uint32_t window, double scale, render::Image& out, std::string* error);
    bool RenderInstance(const GaugeInstance& instance, double scale, render::Image& out, std::string* error);

    // A display list as JSON: {"clip": [x, y, w, h], "commands": [...], "missing_bitmaps": [...]}.
    static nlohmann::json ListJson(const render::DisplayList& list);

private:
    bool Input(const GaugeInstance& instance, render::InstanceInput& input);
    Host& host_;
    std::map<const LoadedModule*, std::unique_ptr<render::ModuleBitmaps>> bitmaps_;
    std::vector<Entry> entries_;
};

class ControlApi {
public:
    explicit ControlApi(Host& host) : host_(host), pictures_(host) {}

    // Never throws: a bad command is answered with an error naming the field and what was expected.
    nlohmann::json Handle(const nlohmann::json& command);
    // One line of JSON in, one line of JSON out (no newline).
    std::string HandleLine(std::string_view line);

    // The element states of an instance, as the "state" command gives them.
    static nlohmann::json InstanceState(const GaugeInstance& instance);

    PanelPictures& pictures() { return pictures_; }

private:
    nlohmann::json Dispatch(const nlohmann::json& command);
    Host& host_;
    PanelPictures pictures_;
};

// PNG bytes of a straight-RGBA image.
bool EncodePng(const render::Image& image, std::vector<unsigned char>& out);

// RFC 4648 base64 of bytes (PNG pictures in JSON answers).
std::string Base64(const std::vector<unsigned char>& bytes);

// An angle in [0, 360).
double NormalizeDegrees(double angle);

}  // namespace host
