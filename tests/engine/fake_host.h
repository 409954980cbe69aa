// The shared fake host, set up for the engine gauges.
#pragma once

#include "gauge_fake_host.h"
#include "scratch_directory.h"

// Installs the shared fake host and sets every piece of the engine gauges' module state back to
// its start value, as a fresh load of the module would.
void InstallEngineFakeHost();
