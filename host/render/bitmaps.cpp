#include "bitmaps.h"

#include <cairo.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace render {

namespace {

struct StbFree {
    void operator()(unsigned char* p) const { stbi_image_free(p); }
};

cairo_surface_t* NewSurface(cairo_format_t format, int width, int height) {
    cairo_surface_t* s = cairo_image_surface_create(format, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    return s;
}

// Writes straight RGBA rows into a premultiplied ARGB32 surface. Pixels for which `clear` says
// so become fully transparent. Alpha from 32-bit BMPs is respected.
template <typename ClearFn>
void FillArgb(cairo_surface_t* s, const unsigned char* rgba, int width, int height, ClearFn clear) {
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        const unsigned char* src = rgba + static_cast<ptrdiff_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, src += 4) {
            const uint32_t r = src[0], g = src[1], b = src[2], a = src[3];
            if (clear(r, g, b) || a == 0) {
                row[x] = 0;
                continue;
            }
            // Premultiply with rounding: (c * a + 127) / 255.
            const uint32_t pr = (r * a + 127) / 255, pg = (g * a + 127) / 255, pb = (b * a + 127) / 255;
            row[x] = (a << 24) | (pr << 16) | (pg << 8) | pb;
        }
    }
    cairo_surface_mark_dirty(s);
}

uint32_t Read32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// The decoder reads past a short file as zeros, which would show a cut-off picture as black. An
// uncompressed BMP says how many bytes its rows need: refuse a file that lacks them.
bool PixelBytesPresent(const unsigned char* bytes, size_t size, int width, int height) {
    if (size < 30) return false;
    const uint32_t offset = Read32(bytes + 10);
    const uint32_t info_size = Read32(bytes + 14);
    if (info_size < 40 || size < 34) return true;  // old-style header: leave it to the decoder
    const uint32_t bpp = bytes[28] | (bytes[29] << 8);
    const uint32_t compression = Read32(bytes + 30);
    if (compression != 0 && compression != 3) return true;  // compressed rows have no fixed size
    const uint64_t row = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    return static_cast<uint64_t>(offset) + row * static_cast<uint64_t>(height) <= size;
}

bool IsPureBlack(uint32_t r, uint32_t g, uint32_t b) { return r == 0 && g == 0 && b == 0; }
bool IsWindowColor(uint32_t r, uint32_t g, uint32_t b) { return r == 1 && g == 1 && b == 1; }

void DestroyBitmap(Bitmap& b) {
    if (b.opaque != b.keyed) cairo_surface_destroy(b.opaque);
    cairo_surface_destroy(b.keyed);
    cairo_surface_destroy(b.window);
    cairo_surface_destroy(b.overlay);
    b = Bitmap{};
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

ModuleBitmaps::~ModuleBitmaps() { Clear(); }

ModuleBitmaps::ModuleBitmaps(ModuleBitmaps&& other) noexcept : bitmaps_(std::move(other.bitmaps_)) {
    other.bitmaps_.clear();
}

ModuleBitmaps& ModuleBitmaps::operator=(ModuleBitmaps&& other) noexcept {
    if (this != &other) {
        Clear();
        bitmaps_ = std::move(other.bitmaps_);
        other.bitmaps_.clear();
    }
    return *this;
}

void ModuleBitmaps::Clear() {
    for (Bitmap& b : bitmaps_) DestroyBitmap(b);
    bitmaps_.clear();
}

// Two image surfaces of one format with the same size and pixels.
static bool SamePixels(cairo_surface_t* a, cairo_surface_t* b) {
    const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b) ||
        cairo_image_surface_get_format(a) != cairo_image_surface_get_format(b))
        return false;
    const int stride_a = cairo_image_surface_get_stride(a), stride_b = cairo_image_surface_get_stride(b);
    const size_t row = static_cast<size_t>(w) * (cairo_image_surface_get_format(a) == CAIRO_FORMAT_A8 ? 1 : 4);
    const unsigned char* pa = cairo_image_surface_get_data(a);
    const unsigned char* pb = cairo_image_surface_get_data(b);
    for (int y = 0; y < h; ++y)
        if (std::memcmp(pa + static_cast<ptrdiff_t>(y) * stride_a, pb + static_cast<ptrdiff_t>(y) * stride_b, row) != 0)
            return false;
    return true;
}

bool ModuleBitmaps::Load(const BitmapTable& table, std::string* error) {
    Clear();
    std::string failures;
    if (table.count != 0 && table.entries == nullptr) {
        if (error) *error = "bitmap table has " + std::to_string(table.count) + " entries but no list";
        return false;
    }
    for (uint32_t i = 0; i < table.count; ++i) {
        const BitmapResource& r = table.entries[i];
        std::string why;
        if (r.id > static_cast<uint32_t>(INT32_MAX)) {
            why = "bitmap id " + std::to_string(r.id) + " is out of range";
        } else if (!Add(static_cast<int32_t>(r.id), r.bytes, r.size, &why)) {
            // Add's message already names the bitmap.
        } else {
            continue;
        }
        if (!failures.empty()) failures += "; ";
        failures += why;
    }
    if (!failures.empty()) {
        if (error) *error = failures;
        return false;
    }
    return true;
}

bool ModuleBitmaps::Add(int32_t id, const unsigned char* bytes, size_t size, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = "bitmap " + std::to_string(id) + ": " + what;
        return false;
    };
    if (Find(id) != nullptr) return fail("id is already loaded");
    if (bytes == nullptr || size == 0) return fail("no bytes");
    if (size > static_cast<size_t>(INT_MAX)) return fail("too many bytes");
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M') return fail("not a BMP file");
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels))
        return fail(std::string("cannot read the header (") + stbi_failure_reason() + ")");
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return fail("size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range");

    if (!PixelBytesPresent(bytes, size, width, height)) return fail("file is shorter than its pixel rows");

    std::unique_ptr<unsigned char, StbFree> rgba(stbi_load_from_memory(bytes, length, &width, &height, &channels, 4));
    if (!rgba) return fail(std::string("cannot decode (") + stbi_failure_reason() + ")");

    bool has_black = false, has_window = false, all_or_nothing = true;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = rgba.get() + i * 4;
        all_or_nothing = all_or_nothing && (p[3] == 0 || p[3] == 255);
        if (p[3] == 0) continue;
        has_black = has_black || IsPureBlack(p[0], p[1], p[2]);
        has_window = has_window || IsWindowColor(p[0], p[1], p[2]);
    }

    Bitmap b;
    b.id = id;
    b.all_or_nothing = all_or_nothing;
    b.width = width;
    b.height = height;
    b.keyed = NewSurface(CAIRO_FORMAT_ARGB32, width, height);
    if (b.keyed == nullptr) return fail("out of memory");
    FillArgb(b.keyed, rgba.get(), width, height, IsPureBlack);
    b.opaque = b.keyed;
    if (has_black) {
        b.opaque = NewSurface(CAIRO_FORMAT_ARGB32, width, height);
        if (b.opaque == nullptr) {
            b.opaque = b.keyed;
            DestroyBitmap(b);
            return fail("out of memory");
        }
        FillArgb(b.opaque, rgba.get(), width, height, [](uint32_t, uint32_t, uint32_t) { return false; });
    }
    if (has_window) {
        b.overlay = NewSurface(CAIRO_FORMAT_ARGB32, width, height);
        b.window = NewSurface(CAIRO_FORMAT_A8, width, height);
        if (b.overlay == nullptr || b.window == nullptr) {
            DestroyBitmap(b);
            return fail("out of memory");
        }
        FillArgb(b.overlay, rgba.get(), width, height,
                 [](uint32_t r, uint32_t g, uint32_t bl) { return IsPureBlack(r, g, bl) || IsWindowColor(r, g, bl); });
        unsigned char* data = cairo_image_surface_get_data(b.window);
        const int stride = cairo_image_surface_get_stride(b.window);
        int left = width, top = height, right = -1, bottom = -1;
        for (int y = 0; y < height; ++y) {
            const unsigned char* src = rgba.get() + static_cast<ptrdiff_t>(y) * width * 4;
            unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
            for (int x = 0; x < width; ++x, src += 4) {
                const bool in = src[3] != 0 && IsWindowColor(src[0], src[1], src[2]);
                row[x] = in ? 255 : 0;
                if (in) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        cairo_surface_mark_dirty(b.window);
        b.window_x = left;
        b.window_y = top;
        b.window_width = right - left + 1;
        b.window_height = bottom - top + 1;
    }

    if (b.window != nullptr) {
        b.overlay_twin = id;
        for (const Bitmap& e : bitmaps_)
            if (e.window != nullptr && e.id != id && SamePixels(e.overlay, b.overlay) && SamePixels(e.window, b.window)) {
                b.overlay_twin = e.overlay_twin;
                break;
            }
    }
    auto at = std::lower_bound(bitmaps_.begin(), bitmaps_.end(), id,
                               [](const Bitmap& e, int32_t v) { return e.id < v; });
    bitmaps_.insert(at, b);
    return true;
}

const Bitmap* ModuleBitmaps::Find(int32_t id) const {
    auto at = std::lower_bound(bitmaps_.begin(), bitmaps_.end(), id,
                               [](const Bitmap& e, int32_t v) { return e.id < v; });
    return (at != bitmaps_.end() && at->id == id) ? &*at : nullptr;
}

bool ModuleBitmaps::EncodePng(int32_t id, BitmapVariant variant, std::vector<unsigned char>& out) const {
    const Bitmap* b = Find(id);
    if (b == nullptr) return false;
    cairo_surface_t* s = nullptr;
    switch (variant) {
        case BitmapVariant::kKeyed: s = b->keyed; break;
        case BitmapVariant::kOpaque: s = b->opaque; break;
        case BitmapVariant::kWindow: s = b->window; break;
        case BitmapVariant::kOverlay: s = b->overlay; break;
    }
    if (s == nullptr) return false;
    out.clear();
    return cairo_surface_write_to_png_stream(s, AppendBytes, &out) == CAIRO_STATUS_SUCCESS;
}

}  // namespace render
