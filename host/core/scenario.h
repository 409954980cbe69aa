// Scenario files: control API commands one a line, plus expectations (docs/scenarios.md).
#pragma once

#include <ostream>
#include <string>

#include "launch.h"

namespace host {

// Runs one file with a fresh host. Prints a line per file to `out`; on the first failed
// expectation or command, prints file, line, expected and found and returns false.
bool RunScenarioFile(const std::string& path, const LaunchOptions& options, std::ostream& out);

}  // namespace host
