// The host's own tooltip texts, by the help ids that the gauges' mouse areas name.
#pragma once

#include <cstdint>

namespace host {

// Our text for a help id, or nullptr for an id we hold no text for.
const char* BuiltinHelpText(uint32_t help_id);

}  // namespace host
