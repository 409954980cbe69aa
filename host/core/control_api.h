// The control API: one command set of JSON objects, each answered by one JSON object,
// {"ok": true, ...} or {"ok": false, "error": "..."}. Every front end speaks it (docs/host.md).
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "host.h"

namespace host {

class ControlApi {
public:
    explicit ControlApi(Host& host) : host_(host) {}

    // Never throws: a bad command is answered with an error naming the field and what was expected.
    nlohmann::json Handle(const nlohmann::json& command);
    // One line of JSON in, one line of JSON out (no newline).
    std::string HandleLine(std::string_view line);

    // The element states of an instance, as the "state" command gives them.
    static nlohmann::json InstanceState(const GaugeInstance& instance);

private:
    nlohmann::json Dispatch(const nlohmann::json& command);
    Host& host_;
};

// An angle in [0, 360).
double NormalizeDegrees(double angle);

}  // namespace host
