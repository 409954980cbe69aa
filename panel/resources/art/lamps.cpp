// "Fuelwarning", "Chargewarning" and "Flydatwarning": red lamps, dark and lit.
#include "bitmap_ids.h"
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
// A black square with the fuel lamp at the upper right and its test button at the lower left (the
// button under the mouse box (7, 58, 40, 40)).
Image FuelLamp(bool lit) {
    Canvas c(100, 100);
    cairo_t* cr = c.cr();
    SetColour(cr, {10, 10, 12});
    cairo_paint(cr);
    const Pt lamp{74, 24}, button{27, 75.5};
    ChromeRing(cr, lamp, 19, 24);
    Lamp(cr, lamp, 19, kLampRed, lit);
    ChromeRing(cr, button, 10, 16);
    FillCircle(cr, button, 10, {20, 20, 22});
    FillCircle(cr, button, 8.5, {200, 30, 26});
    FillCircle(cr, {button.x - 2.5, button.y - 2.5}, 2.5, {250, 140, 130});
    Text(cr, {74, 58}, "FUEL", {"Liberation Sans", 10, true}, {230, 230, 226});
    Text(cr, {70, 80}, "TEST", {"Liberation Sans", 9, true}, {200, 200, 196});
    return c.Keyed();
}
}  // namespace

void DrawLamps(std::vector<Picture>& out) {
    out.push_back(Bmp8(bitmaps::kRoundLamp, ChargeLamp(false)));
    out.push_back(Bmp8(bitmaps::kRoundLamp + 1, ChargeLamp(true)));
    // Icon 0 of the fuel lamp is the gauge's own root picture.
    out.push_back(Bmp8(bitmaps::kFuelLamp, FuelLamp(false)));
    out.push_back(Bmp8(bitmaps::kFuelLamp + 1, FuelLamp(true)));
}

}  // namespace skelvan_art
