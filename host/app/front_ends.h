// Front ends of panelhost beyond those in main.cpp. A front end in a file of its own in this folder
// defines its function here; main.cpp holds a stand-in that reports the front end as not built.
#pragma once

#include <string>
#include <vector>

#include "launch.h"

// `panelhost [options] serve ARGS...`: the live panel over HTTP. Returns the exit status.
int ServeFrontEnd(const host::LaunchOptions& options, const std::vector<std::string>& args);

// `panelhost [options] render --out FILE.png ...`: a PNG of a window or an instance.
int RenderFrontEnd(const host::LaunchOptions& options, const std::vector<std::string>& args);
