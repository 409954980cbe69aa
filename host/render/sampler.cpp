#include "sampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace render {

namespace {

// Four 8-bit channels spread over the 16-bit lanes of a 64-bit word, so that one multiply weighs
// all of them: a weight of at most 256 times a channel of at most 255 still fits its lane.
constexpr uint64_t kLanes = 0x00FF00FF00FF00FFull;

inline uint64_t Spread(uint32_t p) {
    return static_cast<uint64_t>(p & 0x00FF00FFu) | (static_cast<uint64_t>((p >> 8) & 0x00FF00FFu) << 32);
}
inline uint32_t Pack(uint64_t e) {
    return static_cast<uint32_t>(e & 0x00FF00FFu) | (static_cast<uint32_t>((e >> 32) & 0x00FF00FFu) << 8);
}
// a + (b - a) * w / 256, lane by lane, w in 0..256.
inline uint64_t Lerp(uint64_t a, uint64_t b, uint32_t w) { return ((a * (256 - w) + b * w) >> 8) & kLanes; }

// Every channel of p times a / 255, rounded as pixman rounds.
inline uint32_t Scale(uint32_t p, uint32_t a) {
    uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ag = ((p >> 8) & 0x00FF00FFu) * a + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

#if defined(__SSE2__)
// The same arithmetic as the portable version below, on the 16-bit lanes of one SSE2 register.
inline uint32_t Blend(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br, uint32_t dx, uint32_t dy,
                      uint32_t coverage, uint32_t dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(tr), static_cast<int>(tl)), zero);
    const __m128i bottom = _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(br), static_cast<int>(bl)), zero);
    const __m128i wy = _mm_set1_epi16(static_cast<short>(dy)), wy1 = _mm_set1_epi16(static_cast<short>(256 - dy));
    // Products stay below 65536 and the lanes are read as unsigned: the low halves are exact.
    const __m128i column =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(top, wy1), _mm_mullo_epi16(bottom, wy)), 8);
    const __m128i wx = _mm_set_epi16(static_cast<short>(dx), static_cast<short>(dx), static_cast<short>(dx),
                                     static_cast<short>(dx), static_cast<short>(256 - dx), static_cast<short>(256 - dx),
                                     static_cast<short>(256 - dx), static_cast<short>(256 - dx));
    const __m128i weighted = _mm_mullo_epi16(column, wx);
    __m128i s = _mm_srli_epi16(_mm_add_epi16(weighted, _mm_srli_si128(weighted, 8)), 8);
    const __m128i half = _mm_set1_epi16(0x80);
    auto times = [&](__m128i v, uint32_t a) {  // v * a / 255, rounded as pixman rounds
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(static_cast<short>(a))), half);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    if (coverage != 255) s = times(s, coverage);
    const uint32_t alpha = static_cast<uint32_t>(_mm_extract_epi16(s, 3));
    if (alpha != 255) s = _mm_add_epi16(s, times(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dst)), zero), 255 - alpha));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(s, zero)));
}
#else
inline uint32_t Blend(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br, uint32_t dx, uint32_t dy,
                      uint32_t coverage, uint32_t dst) {
    uint32_t s = Pack(Lerp(Lerp(Spread(tl), Spread(tr), dx), Lerp(Spread(bl), Spread(br), dx), dy));
    if (coverage != 255) s = Scale(s, coverage);
    const uint32_t alpha = s >> 24;
    return alpha == 255 ? s : s + Scale(dst, 255 - alpha);
}
#endif

// A premultiplied colour over another.
inline uint32_t Over(uint32_t s, uint32_t dst) { return s + Scale(dst, 255 - (s >> 24)); }

constexpr double kMaxFactor = 256.0;

}  // namespace

bool SamplerTakes(const Affine& t) {
    if (!t.Finite()) return false;
    const double det = t.Determinant();
    if (!(std::fabs(det) > 1e-12)) return false;
    const double inverse[4] = {t.yy / det, -t.xy / det, -t.yx / det, t.xx / det};
    for (double v : {t.xx, t.yx, t.xy, t.yy, inverse[0], inverse[1], inverse[2], inverse[3]})
        if (!(std::fabs(v) <= kMaxFactor)) return false;
    return std::fabs(t.x0) < 1e7 && std::fabs(t.y0) < 1e7;
}

void DrawBilinear(const PixelsArgb& picture, const Affine& t, const MaskA8* mask, PixelBox area,
                  const PixelsArgb& image) {
    if (picture.data == nullptr || picture.width <= 0 || picture.height <= 0 || !SamplerTakes(t)) return;
    // Only where the picture (grown by the pixel that bilinear sampling smears it over) can reach.
    const Rect reach = t.MapBounds(picture.width, picture.height);
    int left = std::max({area.x, 0, static_cast<int>(std::floor(reach.x)) - 1});
    int top = std::max({area.y, 0, static_cast<int>(std::floor(reach.y)) - 1});
    int right = std::min({area.x + area.width, image.width, static_cast<int>(std::ceil(reach.x + reach.width)) + 1});
    int bottom =
        std::min({area.y + area.height, image.height, static_cast<int>(std::ceil(reach.y + reach.height)) + 1});
    if (mask != nullptr) {
        left = std::max(left, mask->x + mask->box_x);
        top = std::max(top, mask->y + mask->box_y);
        right = std::min(right, mask->x + mask->box_x + mask->box_width);
        bottom = std::min(bottom, mask->y + mask->box_y + mask->box_height);
    }
    if (left >= right || top >= bottom) return;

    // Image pixel centre (x + 0.5, y + 0.5) back to picture coordinates, less half a texel so that
    // the integer part names the top-left of the four texels; 16.16 fixed point. The row start is
    // computed afresh for each row from absolute coordinates, so no pixel depends on the area.
    const double det = t.Determinant();
    const double ixx = t.yy / det, ixy = -t.xy / det, iyx = -t.yx / det, iyy = t.xx / det;
    const double ix0 = -(ixx * t.x0 + ixy * t.y0), iy0 = -(iyx * t.x0 + iyy * t.y0);
    constexpr double kOne = 65536.0;
    const int64_t step_u = std::llround(ixx * kOne), step_v = std::llround(iyx * kOne);
    const int w = picture.width, h = picture.height;
    const auto texel_row = [&](int y) {
        return reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(picture.data) +
                                                 static_cast<ptrdiff_t>(y) * picture.stride);
    };
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        const int64_t row_u = std::llround((ixx * 0.5 + ixy * cy + ix0 - 0.5) * kOne);
        const int64_t row_v = std::llround((iyx * 0.5 + iyy * cy + iy0 - 0.5) * kOne);
        uint32_t* out = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(image.data) +
                                                    static_cast<ptrdiff_t>(y) * image.stride);
        const uint8_t* mask_row =
            mask != nullptr ? mask->data + static_cast<ptrdiff_t>(y - mask->y) * mask->stride - mask->x : nullptr;
        // Where all four texels lie on the picture the fetch needs no checks; find that run of the
        // row (a solution of two pairs of linear inequalities, made exact by testing its ends).
        const auto inner = [&](int x) {
            const int64_t su = row_u + x * step_u, sv = row_v + x * step_v;
            return su >= 0 && (su >> 16) < w - 1 && sv >= 0 && (sv >> 16) < h - 1;
        };
        double from = left, to = right - 1;
        // Keeps [from, to] to the x with 0 <= row + x * step < limit, rounded outward by `grow`
        // pixels (inward for a negative one).
        const auto narrow = [&](int64_t row, int64_t step, double limit, double grow) {
            if (step == 0) {
                if (!(row >= 0 && row < limit)) to = from - 1;
                return;
            }
            const double a = (0 - static_cast<double>(row)) / static_cast<double>(step);
            const double b = (limit - static_cast<double>(row)) / static_cast<double>(step);
            from = std::max(from, std::ceil(std::min(a, b)) - grow);
            to = std::min(to, std::floor(std::max(a, b)) + grow);
        };
        // First the pixels whose sample touches the picture at all (a texel cell from -1 to the
        // last): a turned needle fills a small part of its bounding box. Widened by a pixel each
        // way, since the pixels in between are checked one by one anyway.
        narrow(row_u + 65536, step_u, static_cast<double>(static_cast<int64_t>(w + 1) << 16), 1);
        narrow(row_v + 65536, step_v, static_cast<double>(static_cast<int64_t>(h + 1) << 16), 1);
        const int reach_left = from <= to ? static_cast<int>(from) : right;
        const int reach_right = from <= to ? static_cast<int>(to) + 1 : right;
        from = left;
        to = right - 1;
        narrow(row_u, step_u, static_cast<double>(static_cast<int64_t>(w - 1) << 16), -1);
        narrow(row_v, step_v, static_cast<double>(static_cast<int64_t>(h - 1) << 16), -1);
        int inner_from = right, inner_to = right - 1;  // empty unless found below
        if (from <= to) {
            inner_from = static_cast<int>(from);
            inner_to = static_cast<int>(to);
            while (inner_from <= inner_to && !inner(inner_from)) ++inner_from;
            while (inner_from <= inner_to && !inner(inner_to)) --inner_to;
            if (inner_from > inner_to) inner_from = right, inner_to = right - 1;
        }
        // A sample of four texels at (su, sv) composited onto out[x].
        const auto put = [&](int x, uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br, int64_t su, int64_t sv,
                             uint32_t coverage) {
            if (tl == tr && tl == bl && tl == br && coverage == 255) {
                // Inside a flat area (most of a painted panel picture) the weights do not matter:
                // the sample is that colour exactly.
                if (tl >= 0xFF000000u) out[x] = tl;
                else if (tl != 0) out[x] = Over(tl, out[x]);
                return;
            }
            if ((tl | tr | bl | br) == 0) return;
            const uint32_t dx = static_cast<uint32_t>(su >> 8) & 0xFF, dy = static_cast<uint32_t>(sv >> 8) & 0xFF;
            out[x] = Blend(tl, tr, bl, br, dx, dy, coverage, out[x]);
        };
        // On the picture's edge or off it: texels outside it are see-through.
        const auto edge = [&](int x) {
            const uint32_t coverage = mask_row != nullptr ? mask_row[x] : 255u;
            if (coverage == 0) return;
            const int64_t su = row_u + x * step_u, sv = row_v + x * step_v;
            const int64_t tx = su >> 16, ty = sv >> 16;  // floor: arithmetic shift
            if (tx < -1 || tx >= w || ty < -1 || ty >= h) return;
            const int x0 = static_cast<int>(tx), y0 = static_cast<int>(ty);
            const bool in_x0 = x0 >= 0, in_x1 = x0 + 1 < w, in_y0 = y0 >= 0, in_y1 = y0 + 1 < h;
            uint32_t tl = 0, tr = 0, bl = 0, br = 0;
            if (in_y0) {
                if (in_x0) tl = texel_row(y0)[x0];
                if (in_x1) tr = texel_row(y0)[x0 + 1];
            }
            if (in_y1) {
                if (in_x0) bl = texel_row(y0 + 1)[x0];
                if (in_x1) br = texel_row(y0 + 1)[x0 + 1];
            }
            put(x, tl, tr, bl, br, su, sv, coverage);
        };
        const int inner_end = std::min(inner_to + 1, right);
        for (int x = reach_left; x < std::min(inner_from, reach_right); ++x) edge(x);
        if (inner_from < inner_end) {
            // Integer steps from the exact position of the run's first pixel: the same values as
            // computing each pixel's position afresh.
            int64_t su = row_u + inner_from * step_u, sv = row_v + inner_from * step_v;
            const ptrdiff_t stride = picture.stride;
            if (step_v == 0 && (step_u & 0xFFFF) == 0) {
                // A picture moved but not turned nor scaled by a fraction: one texel row, fixed weights.
                const uint32_t* r0 = texel_row(static_cast<int>(sv >> 16)) + (su >> 16);
                const ptrdiff_t advance = step_u >> 16;
                int x = inner_from;
#if defined(__SSE2__)
                if (advance == 1) {
                    // Two pixels at a time with the weights fixed, the same arithmetic as Blend.
                    const uint32_t dx = static_cast<uint32_t>(su >> 8) & 0xFF, dy = static_cast<uint32_t>(sv >> 8) & 0xFF;
                    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(0x80), full = _mm_set1_epi16(255);
                    const __m128i wy = _mm_set1_epi16(static_cast<short>(dy)), wy1 = _mm_set1_epi16(static_cast<short>(256 - dy));
                    const __m128i wx = _mm_set1_epi16(static_cast<short>(dx)), wx1 = _mm_set1_epi16(static_cast<short>(256 - dx));
                    const auto column = [&](const uint32_t* top) {  // two texels of a row with those below
                        const __m128i t = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top)), zero);
                        const __m128i b = _mm_unpacklo_epi8(
                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(reinterpret_cast<const uint8_t*>(top) + stride)), zero);
                        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(t, wy1), _mm_mullo_epi16(b, wy)), 8);
                    };
                    for (; x + 1 < inner_end; x += 2, r0 += 2, su += 2 * step_u) {
                        if (mask_row != nullptr && (mask_row[x] != 255 || mask_row[x + 1] != 255)) {
                            for (int k = 0; k < 2; ++k) {
                                const uint32_t coverage = mask_row[x + k];
                                if (coverage == 0) continue;
                                const uint32_t* q0 = r0 + k;
                                const uint32_t* q1 = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(q0) + stride);
                                put(x + k, q0[0], q0[1], q1[0], q1[1], su + k * step_u, sv, coverage);
                            }
                            continue;
                        }
                        const uint32_t* r1 = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(r0) + stride);
                        const uint32_t c = r0[0];
                        if (c >= 0xFF000000u && r0[1] == c && r0[2] == c && r1[0] == c && r1[1] == c && r1[2] == c) {
                            out[x] = out[x + 1] = c;  // an opaque flat area: the weights do not matter
                            continue;
                        }
                        __m128i s = _mm_srli_epi16(
                            _mm_add_epi16(_mm_mullo_epi16(column(r0), wx1), _mm_mullo_epi16(column(r0 + 1), wx)), 8);
                        __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
                        __m128i d = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(out + x)), zero);
                        d = _mm_add_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(full, alpha)), half);
                        d = _mm_srli_epi16(_mm_add_epi16(d, _mm_srli_epi16(d, 8)), 8);
                        s = _mm_add_epi16(s, d);
                        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(s, zero));
                    }
                }
#endif
                for (; x < inner_end; ++x, r0 += advance, su += step_u) {
                    const uint32_t coverage = mask_row != nullptr ? mask_row[x] : 255u;
                    if (coverage == 0) continue;
                    const uint32_t* r1 = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(r0) + stride);
                    put(x, r0[0], r0[1], r1[0], r1[1], su, sv, coverage);
                }
            } else {
                for (int x = inner_from; x < inner_end; ++x, su += step_u, sv += step_v) {
                    const uint32_t coverage = mask_row != nullptr ? mask_row[x] : 255u;
                    if (coverage == 0) continue;
                    const uint32_t* r0 = texel_row(static_cast<int>(sv >> 16)) + (su >> 16);
                    const uint32_t* r1 = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(r0) + stride);
                    put(x, r0[0], r0[1], r1[0], r1[1], su, sv, coverage);
                }
            }
        }
        for (int x = std::max(inner_end, reach_left); x < reach_right; ++x) edge(x);
    }
}

}  // namespace render
