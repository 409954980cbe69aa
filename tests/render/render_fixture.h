// Small pictures and gauges for the renderer's tests: BMP files built in memory at 4, 8 and 24
// bits per pixel, and helpers that render an instance and read its pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <stdexcept>
#include <string>
#include <vector>

#include "render.h"

namespace render_test {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

inline constexpr Rgb kPureBlack{0, 0, 0};
inline constexpr Rgb kWindow{1, 1, 1};
inline constexpr Rgb kNearBlack{8, 8, 8};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{220, 30, 30};
inline constexpr Rgb kGreen{30, 200, 60};
inline constexpr Rgb kBlue{40, 60, 230};
inline constexpr Rgb kGrey{128, 128, 128};

using Painter = std::function<Rgb(int x, int y)>;

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A Windows BMP file (bottom-up rows, as the platform writes them) at 4, 8 or 24 bits per pixel;
// the palette holds the picture's colours in first-seen order.
inline std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const Painter& paint) {
    std::vector<Rgb> palette;
    std::map<Rgb, int> index;
    if (bpp != 24) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = paint(x, y);
                if (!index.count(c)) {
                    index[c] = static_cast<int>(palette.size());
                    palette.push_back(c);
                }
            }
    }
    const int row_bytes = ((width * bpp + 31) / 32) * 4;
    const uint32_t palette_bytes = static_cast<uint32_t>(palette.size()) * 4;
    const uint32_t offset = 14 + 40 + palette_bytes;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    Put32(v, offset + row_bytes * height);
    Put32(v, 0);
    Put32(v, offset);
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(width));
    Put32(v, static_cast<uint32_t>(height));
    Put16(v, 1);
    Put16(v, static_cast<uint32_t>(bpp));
    Put32(v, 0);
    Put32(v, static_cast<uint32_t>(row_bytes * height));
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, static_cast<uint32_t>(palette.size()));
    Put32(v, 0);
    for (const Rgb& c : palette) {
        v.push_back(c.b);
        v.push_back(c.g);
        v.push_back(c.r);
        v.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(row_bytes, 0);
        for (int x = 0; x < width; ++x) {
            const Rgb c = paint(x, y);
            if (bpp == 24) {
                row[x * 3] = c.b;
                row[x * 3 + 1] = c.g;
                row[x * 3 + 2] = c.r;
            } else if (bpp == 8) {
                row[x] = static_cast<uint8_t>(index[c]);
            } else {
                row[x / 2] |= static_cast<uint8_t>(index[c] << (x % 2 == 0 ? 4 : 0));
            }
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

inline Painter Solid(Rgb c) {
    return [c](int, int) { return c; };
}

struct Pixel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    Rgb rgb() const { return {r, g, b}; }
};

inline Pixel At(const render::Image& img, int x, int y) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return {};
    const uint8_t* p = img.rgba.data() + (static_cast<size_t>(y) * img.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Close to a colour (filtering may move a channel by a little).
inline bool Near(const Pixel& p, Rgb c, int tolerance = 12) {
    return p.a > 200 && std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

// The centroid and bounds of the pixels near a colour.
struct Blob {
    int count = 0;
    double cx = 0, cy = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
inline Blob Find(const render::Image& img, Rgb c, int tolerance = 40) {
    Blob b;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (Near(At(img, x, y), c, tolerance)) {
                ++b.count;
                b.cx += x;
                b.cy += y;
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    if (b.count) {
        b.cx /= b.count;
        b.cy /= b.count;
    }
    return b;
}


// A gauge of records built by a test: a root picture and whatever elements the test hangs below
// it. States are in draw order, the root first.
struct TestGauge {
    static constexpr int32_t kRootId = 100;

    GaugeHeader header{.version = kGaugeHeaderVersion, .name = "Test", .elements = elements,
                       .routines = {}, .default_size_mm = 100, .mouse_areas = nullptr};
    StaticImageElement root{.header = {.kind = kStaticImage, .bitmap_id = kRootId, .x = 0, .y = 0,
                                       .owner = &header, .image_flags = kImageColorKey}};
    ElementHeader* elements[1] = {&root.header};
    std::vector<host::ElementState> states{host::ElementState{.element = &root.header}};
    render::ModuleBitmaps bitmaps;

    TestGauge(int width, int height, const Painter& paint, int bpp = 24) { AddBitmap(kRootId, width, height, paint, bpp); }
    TestGauge(const TestGauge&) = delete;

    void AddBitmap(int32_t id, int width, int height, const Painter& paint, int bpp = 24) {
        const std::vector<uint8_t> bytes = MakeBmp(width, height, bpp, paint);
        std::string error;
        if (!bitmaps.Add(id, bytes.data(), bytes.size(), &error)) throw std::runtime_error(error);
    }
    // Adds an element's state; the parent is the root unless given.
    host::ElementState& Add(ElementHeader& e, int32_t parent = 0) {
        states.push_back(host::ElementState{.element = &e, .parent = parent});
        return states.back();
    }
    render::InstanceInput Input(render::Rect placement = {}) const {
        return {.gauge = &header, .states = states, .bitmaps = &bitmaps, .placement = placement};
    }
    render::DisplayList List(render::Rect placement = {}, double scale = 1.0) const {
        int w = 0, h = 0;
        render::RootSize(header, bitmaps, w, h);
        render::DisplayList list;
        render::BuildDisplayList(header, states,
                                 render::PlacementTransform(placement.x, placement.y, placement.width,
                                                            placement.height, w, h, scale),
                                 bitmaps, list);
        return list;
    }
    // The gauge alone over a grey background, so see-through pixels show grey.
    render::Image Render(double scale = 1.0, Rgb background = kGrey) const {
        int w = 0, h = 0;
        render::RootSize(header, bitmaps, w, h);
        render::WindowSpec layout{.width = w, .height = h, .scale = scale,
                                .background_rgb = (uint32_t(background.r) << 16) | (background.g << 8) | background.b};
        const render::InstanceInput in = Input();
        render::Image img;
        std::string error;
        if (!render::RenderWindow(std::span(&in, 1), layout, img, &error)) throw std::runtime_error(error);
        return img;
    }
};

}  // namespace render_test
