#include "help_texts.h"

namespace host {

namespace {

struct HelpText {
    uint32_t id;
    const char* text;
};

constexpr HelpText kHelpTexts[] = {
    {41478, "Magnetos (left and right)"},
    {42765, "COM frequency transfer"},
    {42766, "COM radio"},
    {43170, "Low fuel warning light"},
    {43608, "Warning light test"},
    {43611, "COM active frequency"},
    {43612, "COM standby frequency"},
    {43778, "Airspeed indicator"},
    {43789, "Attitude indicator (knob: reference bar)"},
    {43791, "Electric fuel pump"},
    {43797, "Cylinder head temperature"},
    {43805, "Exhaust gas temperature"},
    {43820, "Fuel pressure"},
    {43838, "Landing light"},
    {43842, "Strobe light"},
    {43850, "Master switch"},
    {43854, "Oil pressure"},
    {43855, "Oil temperature"},
    {43859, "Elevator trim"},
    {43873, "Slip indicator"},
    {43877, "Starter"},
    {43884, "Throttle"},
    {43894, "Vertical speed indicator"},
    {43895, "Magnetic compass"},
    {43902, "Flaps"},
};

}  // namespace

const char* BuiltinHelpText(uint32_t help_id) {
    for (const HelpText& h : kHelpTexts)
        if (h.id == help_id) return h.text;
    return nullptr;
}

}  // namespace host
