// Drawing kit for the modules' bitmaps: Cairo helpers for instrument artwork, colour keying,
// palette quantisation and Windows BMP files at 4, 8 and 24 bits per pixel.
//
// Pictures are drawn on a transparent Canvas. Keyed() then decides every pixel against the colour
// key: a pixel less than half covered becomes pure black (see-through under image flag 0x1), every
// other pixel takes its own, un-premultiplied colour, so antialiased edges never leave a dark
// fringe next to a cut-out. A drawn colour that would come out pure black is lifted to near-black,
// because pure black would punch a hole.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace artkit {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    uint32_t Key() const { return uint32_t(r) << 16 | uint32_t(g) << 8 | b; }
};

inline constexpr Rgb kSeeThrough{0, 0, 0};
inline constexpr Rgb kNearBlack{1, 1, 1};
inline constexpr Rgb kNearBlack8{8, 8, 8};
inline constexpr Rgb kWhite{255, 255, 255};

// An opaque RGB picture, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Image() = default;
    Image(int w, int h, Rgb fill = kSeeThrough) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    friend bool operator==(const Image&, const Image&) = default;
};

// A palette picture: every pixel an index into the palette.
struct Indexed {
    int width = 0, height = 0;
    std::vector<Rgb> palette;
    std::vector<uint8_t> indices;
};

// A Cairo ARGB surface with its context, transparent at the start.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Colour-keyed picture: coverage below half is see-through (0,0,0); drawn pure black becomes
    // `near_black`.
    Image Keyed(Rgb near_black = kNearBlack) const;
    // Alpha of one pixel, 0 to 255 (for tests of drawing helpers).
    int AlphaAt(int x, int y) const;

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Reduces a picture to at most `max_colours` palette entries. Pure black stays exact and takes
// index 0 when the picture has any; every colour in `exact` that the picture uses keeps its exact
// value; no other colour is ever mapped onto pure black, and pure black onto nothing else.
Indexed Quantize(const Image& image, int max_colours, std::initializer_list<Rgb> exact = {});

// Windows BMP files (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows padded to 4 bytes).
std::vector<uint8_t> EncodeBmp(const Indexed& image, int bits_per_pixel);  // 4 or 8
std::vector<uint8_t> EncodeBmp24(const Image& image);

// Reads back what EncodeBmp writes (uncompressed 4, 8 or 24 bits, either row order).
struct DecodedBmp {
    bool ok = false;
    int bits_per_pixel = 0;
    std::vector<Rgb> palette;
    Image image;
};
DecodedBmp DecodeBmp(const std::vector<uint8_t>& bytes);

// One bitmap of a module.
struct Picture {
    uint32_t id;
    std::vector<uint8_t> bmp;
};
Picture Bmp8(uint32_t id, const Image& image, std::initializer_list<Rgb> exact = {});
Picture Bmp4(uint32_t id, const Image& image, std::initializer_list<Rgb> exact = {});
Picture Bmp24(uint32_t id, const Image& image);

// The generator program's main: `<program> --out DIR` writes DIR/<id>.bmp for every picture and
// DIR/module_bitmaps.cpp, which embeds them as the module's ModuleBitmaps table (sorted by id);
// `<program> --sheet FILE.png` writes a contact sheet of all pictures, and
// `<program> --png ID FILE.png [ZOOM]` one picture enlarged. Returns the exit code.
// Fails on duplicate ids.
int RunGenerator(int argc, char** argv, const std::vector<Picture>& pictures);
// The contact sheet alone (also used by RunGenerator).
bool WriteContactSheet(const std::vector<Picture>& pictures, const std::string& png_path, int zoom = 1);
// Writes an image as a PNG (for looking at single pictures).
bool WritePng(const Image& image, const std::string& png_path);

// ---- Drawing helpers. Angles are dial degrees: clockwise from straight up (12 o'clock). ----

struct Pt {
    double x, y;
};

Pt Polar(Pt centre, double radius, double dial_deg);
// Dial angle of the direction from `pivot` to `mark`.
double DialAngle(Pt pivot, Pt mark);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void FillCircle(cairo_t* cr, Pt c, double r, Rgb colour);
void FillRing(cairo_t* cr, Pt c, double r_in, double r_out, Rgb colour);
// A filled band between two radii from angle a0 to a1 (dial degrees, a0 < a1).
void ArcBand(cairo_t* cr, Pt c, double r_in, double r_out, double a0, double a1, Rgb colour);
// A radial tick of given width from r_in to r_out at a dial angle.
void Tick(cairo_t* cr, Pt c, double dial_deg, double r_in, double r_out, double width, Rgb colour);
// A tick whose outer end lies exactly on `mark`, reaching `length` toward the centre.
void TickAt(cairo_t* cr, Pt c, Pt mark, double length, double width, Rgb colour, double overshoot = 1.5);

struct Font {
    const char* face = "Liberation Sans";
    double size = 12;
    bool bold = false;
    bool italic = false;
};
enum class Align { kLeft, kCentre, kRight };
// Text with its ink box centred vertically on y and aligned horizontally on x.
void Text(cairo_t* cr, Pt at, const std::string& text, const Font& font, Rgb colour,
          Align align = Align::kCentre);
// Text centred on a point of the dial at a radius, kept upright.
void DialNumeral(cairo_t* cr, Pt c, double radius, double dial_deg, const std::string& text,
                 const Font& font, Rgb colour);
// Text turned to follow a circle (reads clockwise along the top), centred on the dial angle.
void ArcText(cairo_t* cr, Pt c, double radius, double dial_deg, const std::string& text,
             const Font& font, Rgb colour);

// A slotted screw head: a shaded dome with a slot at an angle.
void Screw(cairo_t* cr, Pt c, double r, double slot_deg);
// A dark instrument bezel ring with a light chamfer on the inner edge; `ribs` > 0 knurls it.
void Bezel(cairo_t* cr, Pt c, double r_in, double r_out, int ribs = 0);
// A metal (chrome) ring with a diagonal sheen.
void ChromeRing(cairo_t* cr, Pt c, double r_in, double r_out);
// A round knob with `ribs` grip ribs around its rim.
void RibbedKnob(cairo_t* cr, Pt c, double r, int ribs, Rgb base);
// A hexagonal nut, flats at top and bottom when `turn_deg` is 0.
void HexNut(cairo_t* cr, Pt c, double r, double turn_deg = 0);
// A round lamp lens: dark, or lit with a glow.
void Lamp(cairo_t* cr, Pt c, double r, Rgb hue, bool lit);
// A rounded rectangle path.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A vertical linear gradient fill of the current path between two colours.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);
// A metal toggle lever seen from the front, standing up or hanging down from a base point.
void ToggleLever(cairo_t* cr, Pt base, double length, double width, bool up);

}  // namespace artkit
