// Drawing the whole default panel: the 19 Skelvan gauges at their root sizes, with synthetic
// pictures of the right sizes and depths and the element trees of the real gauges. Reported as a
// ratio to copying the same number of pixels with memcpy in the same run; the steady-state cases
// also count heap allocations per frame (malloc and friends, Cairo's included).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render.h"

// ---- Allocation counter: every malloc in the process goes through here --------------------------

#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);
namespace {
size_t g_allocations = 0;
}
extern "C" void* malloc(size_t n) {
    ++g_allocations;
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
    ++g_allocations;
    return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
    ++g_allocations;
    return __libc_realloc(p, n);
}
extern "C" int posix_memalign(void** out, size_t align, size_t n) {
    ++g_allocations;
    *out = __libc_memalign(align, n);
    return *out ? 0 : 12;
}
#else
namespace {
size_t g_allocations = 0;  // the sanitizer keeps the allocator to itself
}
#endif

namespace {

// ---- Synthetic pictures -------------------------------------------------------------------------

struct Rgb {
    uint8_t r, g, b;
};

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A 4-, 8- or 24-bit BMP whose pixels come from `paint` as palette indices into `palette`.
template <typename Paint>
std::vector<uint8_t> Bmp(int w, int h, int bpp, const std::vector<Rgb>& palette, Paint paint) {
    const int row = ((w * bpp + 31) / 32) * 4;
    const uint32_t pal = bpp == 24 ? 0 : static_cast<uint32_t>(palette.size()) * 4;
    std::vector<uint8_t> v{'B', 'M'};
    Put32(v, 54 + pal + row * h);
    Put32(v, 0);
    Put32(v, 54 + pal);
    Put32(v, 40);
    Put32(v, w);
    Put32(v, h);
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, 0);
    Put32(v, row * h);
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, bpp == 24 ? 0 : static_cast<uint32_t>(palette.size()));
    Put32(v, 0);
    if (bpp != 24)
        for (const Rgb& c : palette) v.insert(v.end(), {c.b, c.g, c.r, 0});
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> r(row, 0);
        for (int x = 0; x < w; ++x) {
            const int i = paint(x, y);
            if (bpp == 24) {
                r[x * 3] = palette[i].b;
                r[x * 3 + 1] = palette[i].g;
                r[x * 3 + 2] = palette[i].r;
            } else if (bpp == 8) {
                r[x] = static_cast<uint8_t>(i);
            } else {
                r[x / 2] |= static_cast<uint8_t>(i << (x % 2 == 0 ? 4 : 0));
            }
        }
        v.insert(v.end(), r.begin(), r.end());
    }
    return v;
}

const std::vector<Rgb> kPalette = {{0, 0, 0}, {1, 1, 1}, {8, 8, 8}, {230, 230, 230}, {60, 60, 66}, {145, 213, 245}};

// A round instrument: see-through corners, dark face, a ring of light marks.
std::vector<uint8_t> Dial(int w, int h) {
    return Bmp(w, h, 8, kPalette, [w, h](int x, int y) {
        const double dx = x - w / 2.0, dy = y - h / 2.0, r = std::sqrt(dx * dx + dy * dy), R = std::min(w, h) / 2.0;
        if (r > R) return 0;
        if (r > R - 8) return 4;
        if (r > R - 20 && (static_cast<int>(std::atan2(dy, dx) * 36 / 3.14159) % 2 == 0)) return 3;
        return 2;
    });
}
// A frame: pure black outside a ring, (1,1,1) inside it (attitude frame, compass window).
std::vector<uint8_t> Frame(int w, int h) {
    return Bmp(w, h, 8, kPalette, [w, h](int x, int y) {
        const double dx = x - w / 2.0, dy = y - h / 2.0, r = std::sqrt(dx * dx + dy * dy), R = std::min(w, h) / 2.0;
        if (r > R) return 0;
        if (r > R - 20) return 4;
        return 1;
    });
}
std::vector<uint8_t> WindowMask(int w, int h) {
    return Bmp(w, h, 8, kPalette, [w](int x, int) { return x == w / 2 ? 3 : 1; });
}
// A needle or lever: a light bar on pure black.
std::vector<uint8_t> Bar(int w, int h, int bpp = 8) {
    return Bmp(w, h, bpp, kPalette, [h](int, int y) { return std::abs(y - h / 2) <= h / 6 ? 3 : 0; });
}
std::vector<uint8_t> Card(int w, int h) {
    return Bmp(w, h, 8, kPalette, [w, h](int x, int y) { return y < h / 2 ? 5 : (x % 32 == 0 ? 3 : 2); });
}
std::vector<uint8_t> Plate(int w, int h, int bpp = 8) {
    return Bmp(w, h, bpp, kPalette, [w, h](int x, int y) { return (x < 4 || y < 4 || x >= w - 4 || y >= h - 4) ? 0 : 4; });
}

// ---- The 19 gauges ----------------------------------------------------------------------------

// Records of one gauge: a root and its children, all direct or chained as the real trees are.
struct Gauge {
    std::string name;
    GaugeHeader header{};
    ElementHeader* elements[1] = {};
    std::vector<std::unique_ptr<unsigned char[]>> records;
    std::vector<ElementHeader*> children_storage[8];
    std::vector<host::ElementState> states;

    template <typename Kind>
    Kind* New() {
        records.emplace_back(new unsigned char[sizeof(Kind)]());
        Kind* k = new (records.back().get()) Kind{};
        return k;
    }
    ElementHeader* Header(uint32_t kind, int32_t bitmap, int32_t x, int32_t y, uint32_t flags, ElementHeader* e) {
        e->kind = kind;
        e->bitmap_id = bitmap;
        e->x = x;
        e->y = y;
        e->owner = &header;
        e->image_flags = flags;
        return e;
    }
};

struct Panel {
    render::ModuleBitmaps bitmaps;
    std::vector<std::unique_ptr<Gauge>> gauges;
    std::vector<render::InstanceInput> inputs;
    int width = 0, height = 0;
};

void AddPicture(Panel& p, int32_t id, const std::vector<uint8_t>& bmp) {
    std::string error;
    if (!p.bitmaps.Add(id, bmp.data(), bmp.size(), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
}

Gauge& NewGauge(Panel& p, const char* name, int32_t root_id, uint32_t root_flags) {
    auto g = std::make_unique<Gauge>();
    g->name = name;
    g->header.version = kGaugeHeaderVersion;
    g->header.name = name;
    auto* root = g->New<StaticImageElement>();
    g->Header(kStaticImage, root_id, 0, 0, root_flags, &root->header);
    g->elements[0] = &root->header;
    g->header.elements = g->elements;
    g->states.push_back(host::ElementState{.element = &root->header});
    p.gauges.push_back(std::move(g));
    return *p.gauges.back();
}

void Child(Gauge& g, ElementHeader* e, int32_t parent = 0) {
    g.states.push_back(host::ElementState{.element = e, .parent = parent});
}

void Needle(Gauge& g, int32_t id, int x, int y, int ox, int oy) {
    auto* n = g.New<NeedleElement>();
    g.Header(kNeedle, id, x, y, 0x3, &n->header);
    n->header.offset_x = ox;
    n->header.offset_y = oy;
    Child(g, &n->header);
}
void Icon(Gauge& g, int32_t id, int x, int y, uint32_t count) {
    auto* n = g.New<IconElement>();
    g.Header(kIcon, id, x, y, 0x3, &n->header);
    n->count = count;
    Child(g, &n->header);
}
void Slider(Gauge& g, int32_t id, int x, int y) {
    auto* n = g.New<SliderElement>();
    g.Header(kSlider, id, x, y, 0x3, &n->header);
    Child(g, &n->header);
}
void Text(Gauge& g, int x, int y, uint32_t w, uint32_t h, uint32_t chars, uint32_t back, const char* text) {
    auto* n = g.New<StringElement>();
    g.Header(kString, -1, x, y, 0x2, &n->header);
    n->box_width = w;
    n->box_height = h;
    n->fore_color = 0x010101;
    n->back_color = back;
    std::strcpy(n->font_face, "Courier New");
    n->font_weight = 400;
    n->charset = 1;
    n->format_flags = 0x25;
    n->char_count = chars;
    Child(g, &n->header);
    std::snprintf(g.states.back().text, sizeof g.states.back().text, "%s", text);
}
void Sprite(Gauge& g, int32_t id, int ox, int oy, float scale, uint32_t flags, int32_t parent) {
    auto* n = g.New<SpriteElement>();
    g.Header(kSprite, id, 0, 0, flags, &n->header);
    n->header.offset_x = ox;
    n->header.offset_y = oy;
    n->texture_scale_x = n->texture_scale_y = scale;
    Child(g, &n->header, parent);
}
void Strip(Gauge& g, int32_t id, int x, int y) {
    auto* n = g.New<MovingImageElement>();
    g.Header(kMovingImage, id, x, y, 0x3, &n->header);
    n->x_min = 0;
    n->x_max = 360;
    Child(g, &n->header);
}

// The default panel's gauges, laid out in rows at their root sizes.
std::unique_ptr<Panel> MakePanel() {
    auto p = std::make_unique<Panel>();
    Panel& P = *p;
    struct Place {
        const char* name;
        int x, y;
    };
    {  // pictures
        AddPicture(P, 13056, Dial(127, 127));
        AddPicture(P, 13057, Bar(127, 127));
        AddPicture(P, 13058, Bar(127, 127));
        AddPicture(P, 4096, Frame(300, 290));
        AddPicture(P, 4352, Card(256, 256));
        AddPicture(P, 4353, Frame(300, 290));
        AddPicture(P, 4608, Dial(256, 256));
        AddPicture(P, 4609, Frame(300, 290));
        AddPicture(P, 4864, Bar(154, 130));
        AddPicture(P, 4865, Frame(300, 290));
        AddPicture(P, 5120, Plate(600, 199));
        AddPicture(P, 13824, Dial(300, 300));
        AddPicture(P, 14080, Dial(43, 55));
        AddPicture(P, 5376, Dial(100, 100));
        AddPicture(P, 5377, Dial(100, 100));
        AddPicture(P, 5378, Dial(100, 100));
        AddPicture(P, 16640, Dial(300, 300));
        AddPicture(P, 16896, Bar(150, 21));
        AddPicture(P, 17152, Dial(300, 312));
        AddPicture(P, 17153, Bar(145, 23));
        AddPicture(P, 17154, Bar(86, 31, 4));
        AddPicture(P, 17155, Bar(120, 23));
        AddPicture(P, 9472, Dial(300, 300));
        AddPicture(P, 9728, Bar(153, 38, 4));
        AddPicture(P, 9216, Plate(100, 100));
        AddPicture(P, 9217, Plate(100, 100));
        AddPicture(P, 5632, Dial(49, 49));
        AddPicture(P, 5633, Dial(49, 49));
        AddPicture(P, 9984, Dial(300, 300));
        AddPicture(P, 10240, Bar(165, 30));
        AddPicture(P, 10496, Dial(300, 300));
        AddPicture(P, 12288, Bar(122, 7));
        AddPicture(P, 12544, Dial(300, 296));
        AddPicture(P, 12800, Card(1302, 60));
        AddPicture(P, 12801, WindowMask(144, 73));
        AddPicture(P, 13312, Plate(600, 136));
        AddPicture(P, 13568, Plate(100, 86));
        AddPicture(P, 13569, Bar(16, 46));
        AddPicture(P, 13570, Bar(16, 25));
        AddPicture(P, 14336, Plate(176, 46));
        AddPicture(P, 14337, Bar(16, 46));
        AddPicture(P, 14338, Bar(16, 25));
        AddPicture(P, 14592, Plate(548, 468));
        AddPicture(P, 16384, Plate(326, 212, 24));
        AddPicture(P, 18176, Plate(200, 244));
        AddPicture(P, 18177, Bar(100, 255));
        AddPicture(P, 18178, Bar(100, 255));
        AddPicture(P, 18179, Bar(100, 255));
        AddPicture(P, 18432, Bar(60, 128));
    }
    std::vector<Place> places;
    auto place = [&](const char* name, int x, int y) { places.push_back({name, x, y}); };

    Icon(NewGauge(P, "Masterswitch", 13056, 0x1), 13057, 0, 0, 2);
    place("Masterswitch", 10, 330);
    {
        Gauge& g = NewGauge(P, "Attitude", 4096, 0x1);
        Sprite(g, 4352, 133, 134, 0.55f, 0x81, 0);
        Sprite(g, 4608, 134, 134, 1.05f, 0x81, 1);
        Sprite(g, 4864, 134, 170, 1.0f, 0x3, 2);
        place("Attitude", 310, 10);
    }
    {
        Gauge& g = NewGauge(P, "Flydat", 5120, 0x1);
        const char* texts[] = {"5320", " 720", " 101", "  92", "12345", " 715", "LEFT", "  42"};
        for (int i = 0; i < 8; ++i) Text(g, 125 + 75 * (i % 4), 65 + 30 * (i / 4), 75, 30, 5, 0x52DE94, texts[i]);
        place("Flydat", 620, 330);
    }
    Slider(NewGauge(P, "Slip", 13824, 0x1), 14080, 127, 156);
    place("Slip", 310, 310);
    Icon(NewGauge(P, "Startbutton", 5376, 0x11), 5377, 0, 0, 2);
    place("Startbutton", 140, 330);
    {
        Gauge& g = NewGauge(P, "Altimeter_mtr", 16640, 0x1);
        Text(g, 186, 145, 60, 22, 4, 0x010101, "1013");
        Needle(g, 16896, 150, 145, 37, 11);
        place("Altimeter_mtr", 910, 10);
    }
    {
        Gauge& g = NewGauge(P, "Altimeter_ft", 17152, 0x3);
        Text(g, 210, 135, 60, 22, 4, 0x010101, "1013");
        Needle(g, 17155, 155, 140, 1, 11);
        Needle(g, 17154, 155, 140, 30, 15);
        Needle(g, 17153, 155, 140, 34, 10);
        place("Altimeter_ft", 1210, 10);
    }
    Needle(NewGauge(P, "Fuelpres", 9472, 0x1), 9728, 150, 140, 55, 19);
    place("Fuelpres", 1220, 330);
    Icon(NewGauge(P, "Fuelwarning", 9216, 0x11), 9216, 0, 0, 2);
    place("Fuelwarning", 10, 470);
    Icon(NewGauge(P, "Chargewarning", 5632, 0x11), 5632, 0, 0, 2);
    place("Chargewarning", 120, 470);
    Icon(NewGauge(P, "Flydatwarning", 5632, 0x11), 5632, 0, 0, 2);
    place("Flydatwarning", 180, 470);
    Needle(NewGauge(P, "Airspeed", 9984, 0x1), 10240, 147, 149, 59, 12);
    place("Airspeed", 10, 10);
    Needle(NewGauge(P, "VSI", 10496, 0x1), 12288, 148, 148, 5, 3);
    place("VSI", 610, 10);
    {
        Gauge& g = NewGauge(P, "Compass", 12544, 0x1);
        Strip(g, 12800, 78, 101);
        place("Compass", 910, 330);
    }
    {
        Gauge& g = NewGauge(P, "Icom", 13312, 0x1);
        Text(g, 68, 44, 110, 25, 6, 0x7BA59C, "122.80");
        Text(g, 200, 44, 110, 25, 6, 0x7BA59C, "118.00");
        place("Icom", 620, 540);
    }
    {
        Gauge& g = NewGauge(P, "Magnetos", 13568, 0x1);
        Icon(g, 13569, 19, 14, 2);
        Icon(g, 13569, 67, 14, 2);
        place("Magnetos", 10, 580);
    }
    {
        Gauge& g = NewGauge(P, "Switches", 14336, 0x1);
        Icon(g, 14337, 12, 8, 2);
        Icon(g, 14337, 84, 8, 2);
        Icon(g, 14337, 150, 8, 2);
        place("Switches", 120, 580);
    }
    Slider(NewGauge(P, "Throttle", 14592, 0x1), 16384, 90, 180);
    place("Throttle", 10, 680);
    {
        Gauge& g = NewGauge(P, "Flap_trim_handle", 18176, 0x11);
        Icon(g, 18177, 120, 0, 3);
        Slider(g, 18432, 40, 170);
        place("Flap_trim_handle", 1300, 680);
    }

    P.width = 1520;
    P.height = 1150;
    std::map<std::string, Place> at;
    for (const Place& pl : places) at[pl.name] = pl;
    for (auto& g : P.gauges) {
        const Place& pl = at.at(g->name);
        P.inputs.push_back({.gauge = &g->header, .states = g->states, .bitmaps = &P.bitmaps,
                            .placement = {static_cast<double>(pl.x), static_cast<double>(pl.y), 0, 0}});
    }
    return p;
}

// Moves every moving part a little, as in a gentle turn: needles turn, the horizon card shifts
// and turns with the bank ring, the reference bar sits at a knob position (whole pixels, no turn),
// sliders and the compass card slide by fractions of a pixel, lamps and switches alternate.
void Animate(Panel& p, int frame) {
    const double bank = std::fmod(frame * 0.7, 60.0) - 30;
    for (auto& g : p.gauges)
        for (host::ElementState& s : g->states) {
            if (s.element == nullptr) continue;
            const bool reference_bar = s.element->bitmap_id == 4864;
            s.angle = std::fmod(frame * 1.7, 360.0);
            s.index = (frame / 30) % 2;
            s.shift_x = std::fmod(frame * 0.13, 5.0);
            s.shift_y = reference_bar ? -3.0 * (frame / 10 % 13) : std::fmod(frame * 0.29, 30.0) - 15;
            s.rotation = reference_bar ? 0.0 : bank;
            s.strip_x = std::fmod(frame * 0.9, 360.0);
        }
}

Panel& TheP() {
    static std::unique_ptr<Panel> p = MakePanel();
    return *p;
}

// ---- Benchmarks -------------------------------------------------------------------------------

void BM_MemcpyPanelPixels(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(TheP().width) * TheP().height * 4;
    std::vector<uint8_t> src(bytes, 1), dst(bytes, 0);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemcpyPanelPixels);

void BM_FullPanelRedraw(benchmark::State& state) {
    Panel& p = TheP();
    render::WindowRenderer r;
    if (!r.Configure({.width = p.width, .height = p.height}, nullptr)) std::abort();
    int frame = 0;
    r.Update(p.inputs);
    for (auto _ : state) {
        Animate(p, ++frame);
        r.Invalidate();
        benchmark::DoNotOptimize(r.Update(p.inputs));
    }
    const size_t before = g_allocations;
    Animate(p, ++frame);
    r.Invalidate();
    r.Update(p.inputs);
    state.counters["allocs_per_frame"] = static_cast<double>(g_allocations - before);
}
BENCHMARK(BM_FullPanelRedraw)->Unit(benchmark::kMicrosecond);

// Every gauge's parts move each frame, so every instance is redrawn where it changed.
void BM_AllGaugesMoving(benchmark::State& state) {
    Panel& p = TheP();
    render::WindowRenderer r;
    if (!r.Configure({.width = p.width, .height = p.height}, nullptr)) std::abort();
    int frame = 0;
    r.Update(p.inputs);
    size_t drawn = 0;
    for (auto _ : state) {
        Animate(p, ++frame);
        drawn = r.Update(p.inputs);
    }
    state.counters["instances_drawn"] = static_cast<double>(drawn);
}
BENCHMARK(BM_AllGaugesMoving)->Unit(benchmark::kMicrosecond);

// Nothing changed: the lists are rebuilt and compared, and nothing is drawn or allocated.
void BM_UnchangedPanel(benchmark::State& state) {
    Panel& p = TheP();
    render::WindowRenderer r;
    if (!r.Configure({.width = p.width, .height = p.height}, nullptr)) std::abort();
    Animate(p, 1);
    r.Update(p.inputs);
    r.Update(p.inputs);
    const size_t before = g_allocations;
    size_t drawn = 0;
    for (auto _ : state) drawn += r.Update(p.inputs);
    state.counters["instances_drawn"] = static_cast<double>(drawn);
    state.counters["allocs_per_frame"] =
        static_cast<double>(g_allocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_UnchangedPanel)->Unit(benchmark::kMicrosecond);

// One needle moves: one instance redrawn.
void BM_OneNeedleMoving(benchmark::State& state) {
    Panel& p = TheP();
    render::WindowRenderer r;
    if (!r.Configure({.width = p.width, .height = p.height}, nullptr)) std::abort();
    Animate(p, 1);
    r.Update(p.inputs);
    host::ElementState* needle = nullptr;
    for (auto& g : p.gauges)
        if (g->name == "Airspeed") needle = &g->states[1];
    int frame = 0;
    for (int i = 0; i < 10; ++i) {
        needle->angle = ++frame;
        r.Update(p.inputs);
    }
    const size_t before = g_allocations;
    for (auto _ : state) {
        needle->angle = ++frame * 0.5;
        r.Update(p.inputs);
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(g_allocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OneNeedleMoving)->Unit(benchmark::kMicrosecond);

// Collects the mean real time of each benchmark to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // Single runs, or the means of repeated ones (--benchmark_repetitions).
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "mean")
                times_[r.run_name.function_name] =
                    r.GetAdjustedCPUTime() / (r.time_unit == benchmark::kMicrosecond ? 1.0 : 1000.0);
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double base = times_["BM_MemcpyPanelPixels"];
        if (base <= 0) return;
        std::printf("\nPanel %dx%d; CPU times as a ratio to memcpy of its pixels (%.1f us):\n", TheP().width,
                    TheP().height, base);
        for (const auto& [name, t] : times_)
            if (name != "BM_MemcpyPanelPixels") std::printf("  %-24s %6.2f x\n", name.c_str(), t / base);
    }

private:
    std::map<std::string, double> times_;  // microseconds
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
