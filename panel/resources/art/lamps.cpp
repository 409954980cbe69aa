// "Fuelwarning", "Chargewarning" and "Flydatwarning": red lamps, dark and lit.
#include "pictures.h"

namespace skelvan_art {

using namespace artkit;

namespace {
constexpr Rgb kLampRed{232, 24, 18};

Image ChargeLamp(bool lit) {
    Canvas c(49, 49);
    cairo_t* cr = c.cr();
    SetColour(cr, kNearBlack);
    cairo_paint(cr);
    ChromeRing(cr, {24.5, 24.5}, 19, 24.5);
    Lamp(cr, {24.5, 24.5}, 19, kLampRed, lit);
    return c.Keyed();
}
}  // namespace

void DrawLamps(std::vector<Picture>& out) {
    out.push_back(Bmp8(5632, ChargeLamp(false)));
    out.push_back(Bmp8(5633, ChargeLamp(true)));
}

}  // namespace skelvan_art
