// Colour keying, palette quantisation and BMP files.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "artkit.h"

namespace artkit {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

int Canvas::AlphaAt(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    uint32_t p;
    std::memcpy(&p, data + size_t(y) * stride + size_t(x) * 4, 4);
    return int(p >> 24);
}

Image Canvas::Keyed(Rgb near_black) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    Image out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            uint32_t p;
            std::memcpy(&p, data + size_t(y) * stride + size_t(x) * 4, 4);
            const uint32_t a = p >> 24;
            if (a < 128) continue;  // see-through
            // Cairo stores premultiplied colour; undo it so that edge pixels keep their hue.
            auto un = [a](uint32_t c) { return uint8_t(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
            Rgb c{un((p >> 16) & 0xFF), un((p >> 8) & 0xFF), un(p & 0xFF)};
            out.At(x, y) = c == kSeeThrough ? near_black : c;
        }
    }
    return out;
}

namespace {

struct ColourCount {
    Rgb colour;
    uint32_t count;
};

struct Box {
    size_t begin, end;  // range in the colour list
};

int Channel(const Rgb& c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

// Median cut over a list of distinct colours with their pixel counts.
std::vector<Rgb> MedianCut(std::vector<ColourCount>& colours, size_t wanted) {
    std::vector<Box> boxes{{0, colours.size()}};
    auto extent = [&](const Box& b, int& axis) {
        int best = -1;
        for (int ax = 0; ax < 3; ++ax) {
            int lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, Channel(colours[i].colour, ax));
                hi = std::max(hi, Channel(colours[i].colour, ax));
            }
            if (hi - lo > best) best = hi - lo, axis = ax;
        }
        return best;
    };
    while (boxes.size() < wanted) {
        // Split the box whose widest channel range, weighted by its population, is largest.
        double best_score = 0;
        size_t best = boxes.size();
        int best_axis = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            int axis = 0;
            const int range = extent(boxes[i], axis);
            uint64_t population = 0;
            for (size_t k = boxes[i].begin; k < boxes[i].end; ++k) population += colours[k].count;
            const double score = double(range) * std::sqrt(double(population));
            if (range > 0 && score > best_score) best_score = score, best = i, best_axis = axis;
        }
        if (best == boxes.size()) break;
        Box b = boxes[best];
        std::sort(colours.begin() + b.begin, colours.begin() + b.end,
                  [best_axis](const ColourCount& l, const ColourCount& r) {
                      const int a = Channel(l.colour, best_axis), c = Channel(r.colour, best_axis);
                      return a != c ? a < c : l.colour.Key() < r.colour.Key();
                  });
        uint64_t total = 0;
        for (size_t k = b.begin; k < b.end; ++k) total += colours[k].count;
        uint64_t acc = 0;
        size_t cut = b.begin + 1;
        for (size_t k = b.begin; k < b.end - 1; ++k) {
            acc += colours[k].count;
            cut = k + 1;
            if (acc * 2 >= total) break;
        }
        boxes[best] = {b.begin, cut};
        boxes.push_back({cut, b.end});
    }
    std::vector<Rgb> palette;
    for (const Box& b : boxes) {
        double r = 0, g = 0, bl = 0, n = 0;
        for (size_t k = b.begin; k < b.end; ++k) {
            r += double(colours[k].colour.r) * colours[k].count;
            g += double(colours[k].colour.g) * colours[k].count;
            bl += double(colours[k].colour.b) * colours[k].count;
            n += colours[k].count;
        }
        Rgb mean{uint8_t(std::lround(r / n)), uint8_t(std::lround(g / n)), uint8_t(std::lround(bl / n))};
        palette.push_back(mean == kSeeThrough ? kNearBlack : mean);
    }
    return palette;
}

int Distance(const Rgb& a, const Rgb& b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

Indexed Quantize(const Image& image, int max_colours, std::initializer_list<Rgb> exact) {
    Indexed out;
    out.width = image.width;
    out.height = image.height;
    std::unordered_map<uint32_t, uint32_t> histogram;
    for (const Rgb& c : image.pixels) ++histogram[c.Key()];

    // Pinned entries first: pure black at index 0 when used, then the exact colours used.
    if (histogram.count(0)) out.palette.push_back(kSeeThrough);
    for (const Rgb& c : exact) {
        if (c == kSeeThrough || !histogram.count(c.Key())) continue;
        if (std::find(out.palette.begin(), out.palette.end(), c) == out.palette.end()) out.palette.push_back(c);
    }
    std::vector<ColourCount> rest;
    for (const auto& [key, count] : histogram) {
        const Rgb c{uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)};
        if (std::find(out.palette.begin(), out.palette.end(), c) == out.palette.end()) rest.push_back({c, count});
    }
    std::sort(rest.begin(), rest.end(), [](const ColourCount& l, const ColourCount& r) {
        return l.colour.Key() < r.colour.Key();
    });
    const size_t room = size_t(max_colours) - std::min(out.palette.size(), size_t(max_colours));
    if (rest.size() <= room) {
        for (const ColourCount& c : rest) out.palette.push_back(c.colour);
    } else if (room > 0) {
        for (const Rgb& c : MedianCut(rest, room)) out.palette.push_back(c);
    }

    std::unordered_map<uint32_t, uint8_t> lookup;
    for (size_t i = 0; i < out.palette.size(); ++i) lookup.emplace(out.palette[i].Key(), uint8_t(i));
    out.indices.resize(image.pixels.size());
    for (size_t p = 0; p < image.pixels.size(); ++p) {
        const Rgb& c = image.pixels[p];
        auto it = lookup.find(c.Key());
        if (it == lookup.end()) {
            // Nearest entry, never pure black: a drawn pixel must not turn see-through.
            int best = std::numeric_limits<int>::max();
            uint8_t best_index = 0;
            for (size_t i = 0; i < out.palette.size(); ++i) {
                if (out.palette[i] == kSeeThrough) continue;
                const int d = Distance(c, out.palette[i]);
                if (d < best) best = d, best_index = uint8_t(i);
            }
            it = lookup.emplace(c.Key(), best_index).first;
        }
        out.indices[p] = it->second;
    }
    return out;
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
uint32_t Get16(const std::vector<uint8_t>& v, size_t at) { return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8; }
uint32_t Get32(const std::vector<uint8_t>& v, size_t at) { return Get16(v, at) | Get16(v, at + 2) << 16; }

size_t RowBytes(int width, int bpp) { return (size_t(width) * bpp + 31) / 32 * 4; }

std::vector<uint8_t> Header(int width, int height, int bpp, size_t palette_entries) {
    const size_t offset = 14 + 40 + palette_entries * 4;
    const size_t image_bytes = RowBytes(width, bpp) * height;
    std::vector<uint8_t> v;
    v.reserve(offset + image_bytes);
    v.push_back('B');
    v.push_back('M');
    Put32(v, uint32_t(offset + image_bytes));
    Put32(v, 0);
    Put32(v, uint32_t(offset));
    Put32(v, 40);
    Put32(v, uint32_t(width));
    Put32(v, uint32_t(height));  // positive: bottom-up rows
    Put16(v, 1);
    Put16(v, uint16_t(bpp));
    Put32(v, 0);  // BI_RGB
    Put32(v, uint32_t(image_bytes));
    Put32(v, 2835);  // 72 dpi
    Put32(v, 2835);
    Put32(v, uint32_t(palette_entries));
    Put32(v, 0);
    return v;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Indexed& image, int bpp) {
    const size_t entries = size_t(1) << bpp;
    std::vector<uint8_t> v = Header(image.width, image.height, bpp, entries);
    for (size_t i = 0; i < entries; ++i) {
        const Rgb c = i < image.palette.size() ? image.palette[i] : kSeeThrough;
        v.push_back(c.b);
        v.push_back(c.g);
        v.push_back(c.r);
        v.push_back(0);
    }
    const size_t row = RowBytes(image.width, bpp);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> line(row, 0);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t index = image.indices[size_t(y) * image.width + x];
            if (bpp == 8) {
                line[x] = index;
            } else {  // 4: high nibble first
                line[x / 2] |= uint8_t((index & 0xF) << (x % 2 ? 0 : 4));
            }
        }
        v.insert(v.end(), line.begin(), line.end());
    }
    return v;
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
    std::vector<uint8_t> v = Header(image.width, image.height, 24, 0);
    const size_t row = RowBytes(image.width, 24);
    for (int y = image.height - 1; y >= 0; --y) {
        size_t written = 0;
        for (int x = 0; x < image.width; ++x, written += 3) {
            const Rgb& c = image.At(x, y);
            v.push_back(c.b);
            v.push_back(c.g);
            v.push_back(c.r);
        }
        for (; written < row; ++written) v.push_back(0);
    }
    return v;
}

DecodedBmp DecodeBmp(const std::vector<uint8_t>& bytes) {
    DecodedBmp out;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return out;
    const uint32_t offset = Get32(bytes, 10);
    const uint32_t header = Get32(bytes, 14);
    const int32_t width = int32_t(Get32(bytes, 18));
    const int32_t raw_height = int32_t(Get32(bytes, 22));
    const int bpp = int(Get16(bytes, 28));
    if (header < 40 || Get32(bytes, 30) != 0 || width <= 0 || raw_height == 0 || width > 65535 ||
        raw_height > 65535 || raw_height < -65535 || (bpp != 4 && bpp != 8 && bpp != 24))
        return out;
    const bool bottom_up = raw_height > 0;
    const int height = bottom_up ? raw_height : -raw_height;
    if (bpp != 24) {
        uint32_t entries = Get32(bytes, 46);
        if (entries == 0) entries = 1u << bpp;
        if (entries > (1u << bpp) || 14 + size_t(header) + entries * 4 > bytes.size()) return out;
        for (uint32_t i = 0; i < entries; ++i) {
            const size_t at = 14 + header + i * 4;
            out.palette.push_back({bytes[at + 2], bytes[at + 1], bytes[at]});
        }
    }
    const size_t row = RowBytes(width, bpp);
    if (offset > bytes.size() || (bytes.size() - offset) / row < size_t(height)) return out;
    out.image = Image(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t line = offset + row * size_t(bottom_up ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            Rgb c;
            if (bpp == 24) {
                c = {bytes[line + x * 3 + 2], bytes[line + x * 3 + 1], bytes[line + x * 3]};
            } else {
                const uint8_t byte = bytes[line + (bpp == 8 ? x : x / 2)];
                const size_t index = bpp == 8 ? byte : (x % 2 ? byte & 0xF : byte >> 4);
                if (index >= out.palette.size()) return DecodedBmp{};
                c = out.palette[index];
            }
            out.image.At(x, y) = c;
        }
    }
    out.bits_per_pixel = bpp;
    out.ok = true;
    return out;
}

Picture Bmp8(uint32_t id, const Image& image, std::initializer_list<Rgb> exact) {
    return {id, EncodeBmp(Quantize(image, 256, exact), 8)};
}
Picture Bmp4(uint32_t id, const Image& image, std::initializer_list<Rgb> exact) {
    return {id, EncodeBmp(Quantize(image, 16, exact), 4)};
}
Picture Bmp24(uint32_t id, const Image& image) { return {id, EncodeBmp24(image)}; }

bool WritePng(const Image& image, const std::string& png_path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb& c = image.At(x, y);
            const uint32_t p = 0xFF000000u | c.Key();
            std::memcpy(data + size_t(y) * stride + size_t(x) * 4, &p, 4);
        }
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, png_path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace artkit
