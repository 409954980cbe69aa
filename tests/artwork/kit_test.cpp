// The drawing kit: colour keying, quantisation, BMP files and the generator's output.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "artkit.h"

namespace {

using namespace artkit;

// A picture with many colours (a gradient), pure black, near-black and one colour to keep exact.
Image Busy(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.At(x, y) = {uint8_t(x * 255 / w), uint8_t(y * 255 / h), uint8_t((x + y) % 256)};
    img.At(0, 0) = kSeeThrough;
    img.At(1, 0) = kNearBlack;
    img.At(2, 0) = {1, 2, 0};  // dark enough to be mistaken for black by a careless quantiser
    img.At(3, 0) = {0x94, 0xDE, 0x52};
    return img;
}

TEST(BmpFile, RoundTripsAtEveryDepthWithRowPadding) {
    // Width 7 leaves padding in every row at 4, 8 and 24 bits; 12 colours fit every depth.
    Image img(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) img.At(x, y) = {uint8_t(60 * y), uint8_t(50 * (x % 4)), 200};
    for (int bpp : {4, 8, 24}) {
        SCOPED_TRACE(bpp);
        const std::vector<uint8_t> bytes = bpp == 24 ? EncodeBmp24(img) : EncodeBmp(Quantize(img, 1 << bpp), bpp);
        const uint32_t file_size = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | uint32_t(bytes[5]) << 24;
        EXPECT_EQ(file_size, bytes.size());
        EXPECT_EQ(bytes[28], bpp);
        const DecodedBmp back = DecodeBmp(bytes);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.bits_per_pixel, bpp);
        EXPECT_EQ(back.image, img);
    }
}

TEST(BmpFile, RowsAreStoredBottomUp) {
    Image img(2, 2);
    img.At(0, 0) = {255, 0, 0};  // top row red
    img.At(1, 0) = {255, 0, 0};
    img.At(0, 1) = {0, 0, 255};
    img.At(1, 1) = {0, 0, 255};
    const std::vector<uint8_t> bytes = EncodeBmp24(img);
    const uint32_t offset = bytes[10] | bytes[11] << 8;
    EXPECT_EQ(bytes[offset + 0], 255);  // first stored pixel: bottom row, blue (B, G, R order)
    EXPECT_EQ(bytes[offset + 2], 0);
}

TEST(BmpFile, DecoderRefusesDamagedFiles) {
    Image img(5, 4, {10, 20, 30});
    const std::vector<uint8_t> good = EncodeBmp(Quantize(img, 256), 8);
    std::vector<std::vector<uint8_t>> bad = {{}, {'B', 'M'}, std::vector<uint8_t>(good.begin(), good.end() - 1)};
    std::vector<uint8_t> wrong_depth = good;
    wrong_depth[28] = 16;
    bad.push_back(wrong_depth);
    std::vector<uint8_t> huge = good;
    huge[18] = huge[19] = huge[20] = 0xFF;  // width far beyond the data
    bad.push_back(huge);
    std::vector<uint8_t> most_negative_height = good;  // top-down rows, height that cannot be negated
    most_negative_height[22] = most_negative_height[23] = most_negative_height[24] = 0;
    most_negative_height[25] = 0x80;
    bad.push_back(most_negative_height);
    std::vector<uint8_t> huge_header = good;  // header size past the end of the file
    huge_header[14] = huge_header[15] = huge_header[16] = huge_header[17] = 0xFF;
    bad.push_back(huge_header);
    std::vector<uint8_t> index_past_palette = EncodeBmp(Quantize(img, 256), 8);
    index_past_palette[46] = 1;  // one palette entry declared
    index_past_palette.back() = 7;
    bad.push_back(index_past_palette);
    for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(DecodeBmp(bad[i]).ok) << i;
}

TEST(Quantize, KeepsTheKeyAndNamedColoursExactAndNeverMakesAHole) {
    const Image img = Busy(120, 90);
    for (int max : {16, 256}) {
        SCOPED_TRACE(max);
        const Indexed q = Quantize(img, max, {{0x94, 0xDE, 0x52}});
        ASSERT_LE(q.palette.size(), size_t(max));
        EXPECT_EQ(q.palette[0], kSeeThrough);
        for (size_t p = 0; p < img.pixels.size(); ++p) {
            const bool black = img.pixels[p] == kSeeThrough;
            ASSERT_EQ(q.palette[q.indices[p]] == kSeeThrough, black) << p;
        }
        EXPECT_EQ(q.palette[q.indices[3]], (Rgb{0x94, 0xDE, 0x52}));
    }
}

TEST(Quantize, FewColoursComeThroughUnchangedAndTheResultIsRepeatable) {
    Image img(10, 10, {200, 10, 10});
    img.At(5, 5) = {1, 1, 1};
    const Indexed q = Quantize(img, 256);
    for (size_t p = 0; p < img.pixels.size(); ++p) EXPECT_EQ(q.palette[q.indices[p]], img.pixels[p]);
    const Image busy = Busy(64, 64);
    EXPECT_EQ(EncodeBmp(Quantize(busy, 256), 8), EncodeBmp(Quantize(busy, 256), 8));
}

TEST(Canvas, KeyedEdgesHaveNoDarkFringeAndDrawnBlackStaysVisible) {
    Canvas cv(40, 40);
    FillCircle(cv.cr(), {20, 20}, 13.3, kWhite);
    FillCircle(cv.cr(), {20, 20}, 4, {0, 0, 0});
    const Image img = cv.Keyed();
    int edge = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const Rgb c = img.At(x, y);
            const double r = std::hypot(x + 0.5 - 20, y + 0.5 - 20);
            if (c == kSeeThrough) {
                EXPECT_GT(r, 12.3) << x << "," << y;
                continue;
            }
            if (r < 3) {
                EXPECT_EQ(c, kNearBlack);
            } else if (r > 5) {
                EXPECT_EQ(c, kWhite) << x << "," << y;  // un-premultiplied: full white up to the cut
                if (r > 12.5) ++edge;
            }
        }
    EXPECT_GT(edge, 0);  // the antialiased rim was kept, in its own colour
}

class GeneratorOutput : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("artkit_test_" + std::to_string(::getpid()));
    void TearDown() override { std::filesystem::remove_all(dir); }
    int Run(const std::vector<Picture>& pictures, std::vector<std::string> args) {
        std::vector<char*> argv{const_cast<char*>("generator")};
        for (auto& a : args) argv.push_back(a.data());
        return RunGenerator(int(argv.size()), argv.data(), pictures);
    }
    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(GeneratorOutput, WritesEveryBmpAndATableSortedById) {
    const Image img(3, 2, {9, 9, 9});
    const std::vector<Picture> pictures = {Bmp8(300, img), Bmp24(20, img), Bmp4(1000, img)};
    ASSERT_EQ(Run(pictures, {"--out", dir.string()}), 0);
    for (const Picture& p : pictures)
        EXPECT_EQ(Read(dir / (std::to_string(p.id) + ".bmp")), std::string(p.bmp.begin(), p.bmp.end()));
    const std::string table = Read(dir / "module_bitmaps.cpp");
    const size_t a = table.find("{20, module_bitmap_20, "), b = table.find("{300, "), c = table.find("{1000, ");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_NE(table.find(".count = 3"), std::string::npos);
    EXPECT_NE(table.find(std::to_string(pictures[0].bmp.size())), std::string::npos);
}

TEST_F(GeneratorOutput, RefusesDuplicateIdsAndUnknownArguments) {
    const Image img(2, 2, {9, 9, 9});
    EXPECT_NE(Run({Bmp8(7, img), Bmp8(7, img)}, {"--out", dir.string()}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "module_bitmaps.cpp"));
    EXPECT_NE(Run({Bmp8(7, img)}, {"--bogus"}), 0);
    EXPECT_NE(Run({Bmp8(7, img)}, {}), 0);
}

TEST_F(GeneratorOutput, ContactSheetIsAPng) {
    std::filesystem::create_directories(dir);
    const Image img(30, 20, {200, 100, 50});
    ASSERT_EQ(Run({Bmp8(1, img), Bmp24(2, img)}, {"--sheet", (dir / "sheet.png").string()}), 0);
    EXPECT_EQ(Read(dir / "sheet.png").substr(1, 3), "PNG");
}

}  // namespace
