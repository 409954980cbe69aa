// The generator program's main: BMP files, the embedding table and the contact sheet.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "artkit.h"

// Fontconfig and Cairo keep caches for the life of the process; the leak checker of the sanitizer
// build would report them from every program that draws text.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libcairo\nleak:libpixman\nleak:libfreetype\n";
}

namespace artkit {

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

std::string AsmString(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string TableSource(const std::vector<Picture>& sorted, const std::filesystem::path& dir) {
    std::ostringstream s;
    s << "// Generated at build time: this module's bitmaps, embedded from the BMP files beside this\n"
         "// file. Do not edit.\n"
         "#include \"module.h\"\n\n"
         "__asm__(\".pushsection .rodata.module_bitmaps,\\\"a\\\",@progbits\\n\"\n";
    for (const Picture& p : sorted) {
        const std::string name = "module_bitmap_" + std::to_string(p.id);
        const std::string file = AsmString(AsmString((dir / (std::to_string(p.id) + ".bmp")).string()));
        s << "        \".balign 4\\n.globl " << name << "\\n.hidden " << name << "\\n" << name
          << ":\\n.incbin \\\"" << file << "\\\"\\n\"\n";
    }
    s << "        \".popsection\\n\");\n\n";
    for (const Picture& p : sorted)
        s << "extern \"C\" __attribute__((visibility(\"hidden\"))) const unsigned char module_bitmap_" << p.id
          << "[];\n";
    if (sorted.empty()) {
        s << "\nconst BitmapTable ModuleBitmaps = {.count = 0, .entries = nullptr};\n";
        return s.str();
    }
    s << "\nnamespace {\nconst BitmapResource kEntries[] = {\n";
    for (const Picture& p : sorted)
        s << "    {" << p.id << ", module_bitmap_" << p.id << ", " << p.bmp.size() << "},\n";
    s << "};\n}  // namespace\n\n"
         "const BitmapTable ModuleBitmaps = {.count = "
      << sorted.size() << ", .entries = kEntries};\n";
    return s.str();
}

}  // namespace

bool WriteContactSheet(const std::vector<Picture>& pictures, const std::string& png_path, int zoom) {
    zoom = std::clamp(zoom, 1, 8);
    constexpr int kGap = 14, kLabel = 18;
    int kSheetWidth = 1440;
    if (pictures.size() == 1) {  // a close look: just the picture
        const DecodedBmp d = DecodeBmp(pictures[0].bmp);
        if (d.ok) kSheetWidth = std::max(d.image.width * zoom, 110) + 2 * kGap;
    }
    struct Placed {
        const Picture* picture;
        DecodedBmp bmp;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, row_height = 0;
    for (const Picture& p : pictures) {
        DecodedBmp d = DecodeBmp(p.bmp);
        if (!d.ok) return false;
        const int w = std::max(d.image.width * zoom, 110);
        if (x + w + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += row_height + kGap;
            row_height = 0;
        }
        placed.push_back({&p, std::move(d), x, y});
        row_height = std::max(row_height, placed.back().bmp.image.height * zoom + kLabel);
        x += w + kGap;
    }
    const int height = y + row_height + kGap;
    Canvas sheet(kSheetWidth, height);
    cairo_t* cr = sheet.cr();
    SetColour(cr, {58, 60, 66});
    cairo_paint(cr);
    for (const Placed& p : placed) {
        char label[64];
        std::snprintf(label, sizeof label, "%u  %dx%d  %d bpp", p.picture->id, p.bmp.image.width,
                      p.bmp.image.height, p.bmp.bits_per_pixel);
        Text(cr, {double(p.x), p.y + kLabel / 2.0 - 1}, label, {"Liberation Sans", 11, true}, {230, 230, 230},
             Align::kLeft);
        const Image& img = p.bmp.image;
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.width, img.height);
        cairo_surface_flush(s);
        unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (int yy = 0; yy < img.height; ++yy)
            for (int xx = 0; xx < img.width; ++xx) {
                // See-through pixels show as a faint checkerboard so that cut-outs can be judged.
                Rgb c = img.At(xx, yy);
                if (c == kSeeThrough) c = ((xx / 6 + yy / 6) % 2) ? Rgb{92, 96, 104} : Rgb{78, 82, 90};
                const uint32_t v = 0xFF000000u | c.Key();
                std::memcpy(data + size_t(yy) * stride + size_t(xx) * 4, &v, 4);
            }
        cairo_surface_mark_dirty(s);
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y + kLabel);
        cairo_scale(cr, zoom, zoom);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(s);
    }
    cairo_surface_flush(cairo_get_target(cr));
    return cairo_surface_write_to_png(cairo_get_target(cr), png_path.c_str()) == CAIRO_STATUS_SUCCESS;
}

int RunGenerator(int argc, char** argv, const std::vector<Picture>& pictures) {
    std::vector<Picture> sorted = pictures;
    std::sort(sorted.begin(), sorted.end(), [](const Picture& a, const Picture& b) { return a.id < b.id; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].id == sorted[i - 1].id) {
            std::fprintf(stderr, "duplicate bitmap id %u\n", sorted[i].id);
            return 1;
        }
    if (argc == 3 && std::strcmp(argv[1], "--out") == 0) {
        const std::filesystem::path dir = std::filesystem::absolute(argv[2]);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        for (const Picture& p : sorted) {
            if (!WriteFile(dir / (std::to_string(p.id) + ".bmp"), std::string(p.bmp.begin(), p.bmp.end()))) {
                std::fprintf(stderr, "cannot write %s\n", (dir / (std::to_string(p.id) + ".bmp")).c_str());
                return 1;
            }
        }
        if (!WriteFile(dir / "module_bitmaps.cpp", TableSource(sorted, dir))) {
            std::fprintf(stderr, "cannot write %s\n", (dir / "module_bitmaps.cpp").c_str());
            return 1;
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--sheet") == 0) {
        if (!WriteContactSheet(sorted, argv[2])) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--png") == 0) {  // one picture, for a close look
        const uint32_t id = uint32_t(std::strtoul(argv[2], nullptr, 10));
        const int zoom = argc == 5 ? std::atoi(argv[4]) : 1;
        for (const Picture& p : sorted)
            if (p.id == id) return WriteContactSheet({p}, argv[3], zoom) ? 0 : 1;
        std::fprintf(stderr, "no bitmap %u\n", id);
        return 1;
    }
    std::fprintf(stderr, "usage: %s --out DIR | --sheet FILE.png | --png ID FILE.png [ZOOM]\n", argc > 0 ? argv[0] : "generator");
    return 2;
}

}  // namespace artkit
