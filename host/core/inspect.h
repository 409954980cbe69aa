// A JSON dump of a loaded module: its Linkage and every gauge's records, following every
// reference, and its bitmaps' sizes.
#pragma once

#include <nlohmann/json.hpp>

#include "module_loader.h"

namespace host {

nlohmann::json InspectModule(const LoadedModule& module);

}  // namespace host
