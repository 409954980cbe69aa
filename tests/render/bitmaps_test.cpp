// Decoding a module's bitmaps: depths, orientation, the colour key, companion windows, bad input.
#include <cairo.h>
#include <gtest/gtest.h>

#include <array>

#include "render_fixture.h"

namespace {

using namespace render_test;

// Reads one premultiplied ARGB pixel of a decoded surface as (a, r, g, b).
uint32_t Argb(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_A8) return uint32_t(row[x]) << 24;
    return reinterpret_cast<const uint32_t*>(row)[x];
}

// Four quadrants, each a colour that the key must tell apart, and one red pixel at the top left
// so that a picture read upside down or mirrored is caught.
Rgb Quadrants(int x, int y) {
    if (x == 0 && y == 0) return kRed;
    if (y < 4) return x < 4 ? kPureBlack : kWindow;
    return x < 4 ? kNearBlack : kBlue;
}

class DepthTest : public ::testing::TestWithParam<int> {};

TEST_P(DepthTest, DecodesOrientationAndColourKey) {
    const std::vector<uint8_t> bmp = MakeBmp(8, 8, GetParam(), Quadrants);
    render::ModuleBitmaps bitmaps;
    std::string error;
    ASSERT_TRUE(bitmaps.Add(7, bmp.data(), bmp.size(), &error)) << error;
    const render::Bitmap* b = bitmaps.Find(7);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->width, 8);
    EXPECT_EQ(b->height, 8);

    EXPECT_EQ(Argb(b->keyed, 0, 0), 0xFFDC1E1Eu) << "top-left pixel: rows are read bottom-up";
    EXPECT_EQ(Argb(b->keyed, 2, 2), 0x00000000u) << "pure black is see-through";
    EXPECT_EQ(Argb(b->keyed, 6, 2), 0xFF010101u) << "(1,1,1) stays opaque";
    EXPECT_EQ(Argb(b->keyed, 2, 6), 0xFF080808u) << "(8,8,8) stays opaque";
    EXPECT_EQ(Argb(b->keyed, 6, 6), 0xFF283CE6u);
    EXPECT_EQ(Argb(b->opaque, 2, 2), 0xFF000000u) << "the unkeyed picture keeps its black";

    // Companion pictures: the window is exactly the (1,1,1) area; the overlay drops it too.
    ASSERT_NE(b->window, nullptr);
    EXPECT_EQ(Argb(b->window, 6, 2), 0xFF000000u);
    EXPECT_EQ(Argb(b->window, 2, 6), 0u);
    EXPECT_EQ(Argb(b->window, 2, 2), 0u);
    EXPECT_EQ(Argb(b->overlay, 6, 2), 0u);
    EXPECT_EQ(Argb(b->overlay, 6, 6), 0xFF283CE6u);
    EXPECT_EQ((std::array{b->window_x, b->window_y, b->window_width, b->window_height}), (std::array{4, 0, 4, 4}));
}

INSTANTIATE_TEST_SUITE_P(Bmp, DepthTest, ::testing::Values(4, 8, 24));

TEST(BitmapsTest, PictureWithoutBlackOrWindowSharesOneSurface) {
    const std::vector<uint8_t> bmp = MakeBmp(3, 3, 8, Solid(kBlue));
    render::ModuleBitmaps bitmaps;
    ASSERT_TRUE(bitmaps.Add(1, bmp.data(), bmp.size(), nullptr));
    const render::Bitmap* b = bitmaps.Find(1);
    EXPECT_EQ(b->keyed, b->opaque);
    EXPECT_EQ(b->window, nullptr);
    EXPECT_EQ(b->overlay, nullptr);
}

TEST(BitmapsTest, TableLoadKeepsGoodBitmapsAndNamesBadOnes) {
    const std::vector<uint8_t> good = MakeBmp(4, 2, 8, Solid(kRed));
    std::vector<uint8_t> truncated = MakeBmp(16, 16, 24, Solid(kBlue));
    truncated.resize(60);
    std::vector<uint8_t> huge = MakeBmp(2, 2, 24, Solid(kBlue));
    huge[18] = 0x00;  // width 0x10000000 in the info header
    huge[21] = 0x10;
    const unsigned char not_bmp[] = "GIF89a......";
    const BitmapResource entries[] = {
        {.id = 10, .bytes = good.data(), .size = static_cast<uint32_t>(good.size())},
        {.id = 11, .bytes = truncated.data(), .size = static_cast<uint32_t>(truncated.size())},
        {.id = 12, .bytes = not_bmp, .size = sizeof not_bmp},
        {.id = 13, .bytes = huge.data(), .size = static_cast<uint32_t>(huge.size())},
        {.id = 14, .bytes = nullptr, .size = 0},
        {.id = 15, .bytes = good.data(), .size = static_cast<uint32_t>(good.size())},
    };
    render::ModuleBitmaps bitmaps;
    std::string error;
    EXPECT_FALSE(bitmaps.Load(BitmapTable{.count = 6, .entries = entries}, &error));
    for (const char* id : {"bitmap 11", "bitmap 12", "bitmap 13", "bitmap 14"})
        EXPECT_NE(error.find(id), std::string::npos) << error;
    EXPECT_EQ(error.find("bitmap 10"), std::string::npos) << error;
    EXPECT_EQ(bitmaps.Count(), 2u);
    EXPECT_NE(bitmaps.Find(10), nullptr);
    EXPECT_NE(bitmaps.Find(15), nullptr);
    EXPECT_EQ(bitmaps.Find(11), nullptr);

    // A second load replaces the first.
    EXPECT_TRUE(bitmaps.Load(BitmapTable{.count = 1, .entries = entries}, &error));
    EXPECT_EQ(bitmaps.Count(), 1u);
    EXPECT_EQ(bitmaps.Find(15), nullptr);
}

TEST(BitmapsTest, EncodesPicturesAsPng) {
    const std::vector<uint8_t> bmp = MakeBmp(8, 8, 8, Quadrants);
    render::ModuleBitmaps bitmaps;
    ASSERT_TRUE(bitmaps.Add(3, bmp.data(), bmp.size(), nullptr));
    std::vector<unsigned char> png;
    ASSERT_TRUE(bitmaps.EncodePng(3, render::BitmapVariant::kKeyed, png));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_TRUE(bitmaps.EncodePng(3, render::BitmapVariant::kWindow, png));
    EXPECT_FALSE(bitmaps.EncodePng(4, render::BitmapVariant::kKeyed, png));
}

}  // namespace
