// The Skelvan pictures, read back from the BMP bytes the generator writes: ids, sizes and depths,
// the colour key, the colours that the gauges rely on, and geometry that lines up with the gauge
// records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <map>

#include "artkit.h"
#include "dial_marks.h"
#include "pictures.h"

namespace {

using namespace artkit;

class SkelvanPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pictures_ = new std::vector<Picture>(skelvan_art::DrawAll());
        decoded_ = new std::map<uint32_t, DecodedBmp>();
        for (const Picture& p : *pictures_) (*decoded_)[p.id] = DecodeBmp(p.bmp);
    }
    static void TearDownTestSuite() {
        delete pictures_;
        delete decoded_;
    }
    static const Image& Pic(uint32_t id) {
        auto it = decoded_->find(id);
        EXPECT_NE(it, decoded_->end()) << id;
        static const Image empty;
        return it == decoded_->end() ? empty : it->second.image;
    }
    static const std::vector<uint8_t>& Bytes(uint32_t id) {
        for (const Picture& p : *pictures_)
            if (p.id == id) return p.bmp;
        static const std::vector<uint8_t> none;
        return none;
    }
    static bool Bright(Rgb c) { return std::max({c.r, c.g, c.b}) >= 170; }
    // True when a pixel within `reach` of (x, y) satisfies `test`.
    template <typename Test>
    static bool Near(const Image& img, int x, int y, int reach, Test test) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const int xx = x + dx, yy = y + dy;
                if (xx >= 0 && yy >= 0 && xx < img.width && yy < img.height && test(img.At(xx, yy))) return true;
            }
        return false;
    }
    static std::vector<Picture>* pictures_;
    static std::map<uint32_t, DecodedBmp>* decoded_;
};
std::vector<Picture>* SkelvanPictures::pictures_ = nullptr;
std::map<uint32_t, DecodedBmp>* SkelvanPictures::decoded_ = nullptr;

struct Expected {
    uint32_t id;
    int width, height, bpp;
};
constexpr Expected kAll[] = {
    {4096, 300, 290, 8},   {4352, 256, 256, 8},  {4353, 300, 290, 8},  {4608, 256, 256, 8},
    {4609, 300, 290, 8},   {4864, 154, 130, 8},  {4865, 300, 290, 8},  {5120, 600, 199, 8},
    {5376, 100, 100, 8},   {5377, 100, 100, 8},  {5378, 100, 100, 8},  {5632, 49, 49, 8},
    {5633, 49, 49, 8},     {9216, 100, 100, 8},  {9217, 100, 100, 8},  {9472, 300, 300, 8},
    {9728, 153, 38, 4},    {9984, 300, 300, 8},  {10240, 165, 30, 8},  {10496, 300, 300, 8},
    {12288, 122, 7, 8},    {12544, 300, 296, 8}, {12800, 1302, 60, 8}, {12801, 144, 73, 8},
    {13056, 127, 127, 8},  {13057, 127, 127, 8}, {13058, 127, 127, 8}, {13312, 600, 136, 8},
    {13568, 100, 86, 8},   {13569, 16, 46, 8},   {13570, 16, 25, 8},   {13824, 300, 300, 8},
    {14080, 43, 55, 8},    {14336, 176, 46, 8},  {14337, 16, 46, 8},   {14338, 16, 25, 8},
    {14592, 548, 468, 8},  {16384, 326, 212, 24}, {16640, 300, 300, 8}, {16896, 150, 21, 8},
    {17152, 300, 312, 8},  {17153, 145, 23, 8},  {17154, 86, 31, 4},   {17155, 120, 23, 8},
    {18176, 200, 244, 8},  {18177, 100, 255, 8}, {18178, 100, 255, 8}, {18179, 100, 255, 8},
    {18432, 60, 128, 8},   {18433, 60, 128, 8},
};

TEST_F(SkelvanPictures, EveryIdWithItsSizeAndDepthAndNoOther) {
    std::vector<uint32_t> ids;
    for (const Picture& p : *pictures_) ids.push_back(p.id);
    std::sort(ids.begin(), ids.end());
    std::vector<uint32_t> expected_ids;
    for (const Expected& e : kAll) expected_ids.push_back(e.id);
    EXPECT_EQ(ids, expected_ids);
    for (const Expected& e : kAll) {
        SCOPED_TRACE(e.id);
        const DecodedBmp& d = (*decoded_)[e.id];
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.image.width, e.width);
        EXPECT_EQ(d.image.height, e.height);
        EXPECT_EQ(d.bits_per_pixel, e.bpp);
        if (e.bpp != 24) {
            EXPECT_EQ(d.palette.size(), size_t(1) << e.bpp);
        }
    }
}

TEST_F(SkelvanPictures, CompanionsMatchWhatTheyStandFor) {
    for (uint32_t id : {4353u, 4609u, 4865u}) EXPECT_EQ(Bytes(id), Bytes(4096)) << id;
    const Image& trim_mask = Pic(18433);
    EXPECT_TRUE(std::all_of(trim_mask.pixels.begin(), trim_mask.pixels.end(), [](Rgb c) { return c == kNearBlack; }));
    // The strip's mask: (1,1,1) with a light lubber line in columns 71 and 72, full height.
    const Image& mask = Pic(12801);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (x == 71 || x == 72) ASSERT_TRUE(Bright(mask.At(x, y))) << x << "," << y;
            else ASSERT_EQ(mask.At(x, y), kNearBlack) << x << "," << y;
        }
}

// Pure black is see-through: the corners and surrounds that the gauges leave open are pure black,
// and the faces where black must show use near-black instead.
TEST_F(SkelvanPictures, SeeThroughOnlyWhereTheGaugesLookThrough) {
    struct Corner {
        uint32_t id;
        int x, y;
    };
    const Corner open[] = {
        {4096, 0, 0},     {4096, 299, 150}, {4608, 128, 128}, {4864, 0, 129},  {4864, 153, 40},
        {5376, 50, 50},   {5376, 0, 0},     {5377, 0, 0},     {5378, 3, 50},   {9472, 0, 0},
        {9728, 0, 0},     {9984, 0, 150},   {10240, 0, 0},    {10496, 299, 0}, {12288, 0, 3},
        {13056, 0, 0},    {13057, 0, 0},    {13058, 63, 10},  {13568, 27, 32}, {13568, 75, 32},
        {13569, 8, 5},    {13824, 0, 299},  {14080, 0, 0},    {14080, 42, 54}, {14336, 50, 23},
        {14592, 540, 460}, {16384, 0, 0},   {16640, 0, 150},  {17152, 299, 160}, {18176, 10, 10},
        {18176, 60, 230}, {18177, 5, 5},    {18432, 5, 100},
    };
    for (const Corner& c : open) EXPECT_EQ(Pic(c.id).At(c.x, c.y), kSeeThrough) << c.id << " " << c.x << "," << c.y;
    // The upper 18 rows of the hanging lever are see-through.
    for (uint32_t id : {13569u, 14337u})
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 16; ++x) EXPECT_EQ(Pic(id).At(x, y), kSeeThrough) << id << " " << x << "," << y;

    struct Region {
        uint32_t id;
        int x0, y0, x1, y1;  // inclusive
    };
    const Region solid[] = {
        {4096, 60, 60, 210, 200},   // the attitude frame's opening
        {4352, 0, 0, 255, 255},     {5120, 20, 20, 580, 180}, {5632, 0, 0, 48, 48},  {9216, 0, 0, 99, 99},
        {9217, 0, 0, 99, 99},       {9472, 90, 80, 210, 200}, {9984, 77, 79, 217, 219}, {10496, 78, 78, 218, 218},
        {12544, 20, 20, 280, 276},  {12800, 0, 0, 1301, 59},  {13312, 10, 10, 590, 126}, {13824, 80, 80, 220, 220},
        {16640, 80, 75, 220, 215},  {17152, 85, 70, 225, 210}, {18176, 61, 224, 199, 243},
    };
    for (const Region& r : solid) {
        const Image& img = Pic(r.id);
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                ASSERT_NE(img.At(x, y), kSeeThrough) << r.id << " " << x << "," << y;
    }
}

TEST_F(SkelvanPictures, NamedColoursStandWhereTheGaugesNeedThem) {
    const Rgb sky{145, 213, 245}, ground{8, 8, 8};
    const Image& card = Pic(4352);
    for (int x = 0; x < 256; x += 15) {
        EXPECT_EQ(card.At(x, 20), sky);
        EXPECT_EQ(card.At(x, 128), kWhite);
        EXPECT_EQ(card.At(x, 129), kWhite);
    }
    EXPECT_EQ(card.At(3, 140), ground);
    EXPECT_EQ(card.At(252, 250), ground);
    EXPECT_EQ(Pic(4608).At(2, 2), (Rgb{24, 16, 16}));
    EXPECT_EQ(Pic(4608).At(128, 128 + 92), kSeeThrough);  // inside radius 93
    EXPECT_EQ(Pic(4608).At(128, 128 + 110), (Rgb{24, 16, 16}));
    EXPECT_EQ(Pic(14080).At(21, 40), (Rgb{33, 33, 33}));
    EXPECT_EQ(Pic(4096).At(136, 134), kNearBlack);
    EXPECT_EQ(Pic(12544).At(100, 150), ground);  // compass window
    for (int y = 88; y <= 186; y += 7) {
        EXPECT_TRUE(Bright(Pic(12544).At(149, y))) << y;
        EXPECT_TRUE(Bright(Pic(12544).At(150, y))) << y;
    }
    EXPECT_EQ(Pic(12800).At(40, 5), ground);
    EXPECT_EQ(Pic(18433).At(30, 60), kNearBlack);
    // The display windows are exactly their text boxes' back colours (0x52DE94 and 0x7BA59C).
    for (auto [x, y] : {std::pair{125, 65}, std::pair{424, 124}, std::pair{270, 94}})
        EXPECT_EQ(Pic(5120).At(x, y), (Rgb{0x94, 0xDE, 0x52})) << x << "," << y;
    for (auto [x, y] : {std::pair{68, 44}, std::pair{309, 68}, std::pair{190, 55}})
        EXPECT_EQ(Pic(13312).At(x, y), (Rgb{0x9C, 0xA5, 0x7B})) << x << "," << y;
}

TEST_F(SkelvanPictures, NeedleMarksLieOnPaintedTicks) {
    struct Dial {
        uint32_t id;
        std::vector<dial_marks::Mark> marks;
    };
    using namespace dial_marks;
    const Dial dials[] = {
        {9984, {std::begin(kAirspeed), std::end(kAirspeed)}},
        {10496, {std::begin(kVsi), std::end(kVsi)}},
        {9472, {std::begin(kFuelPressure), std::end(kFuelPressure)}},
        {16640, {std::begin(kMetricAltimeter), std::end(kMetricAltimeter)}},
        {17152, {std::begin(kFeetAltimeter100), std::end(kFeetAltimeter100)}},
        {17152, {std::begin(kFeetAltimeter1000), std::end(kFeetAltimeter1000)}},
    };
    for (const Dial& d : dials)
        for (const auto& m : d.marks) {
            // The feet altimeter's Kollsman window (210..259, 135..154) covers its marks at three
            // o'clock; their tick shows just past the window on the same ray.
            const bool under_window = d.id == 17152 && m.x >= 206 && m.x < 264 && m.y >= 131 && m.y < 159;
            EXPECT_TRUE(Near(Pic(d.id), under_window ? 267 : m.x, m.y, 1, Bright)) << d.id << " mark " << m.value;
        }
    // The fuel pressure dial's 0.5 mark is the red one.
    EXPECT_TRUE(Near(Pic(9472), 146, 56, 1, [](Rgb c) { return c.r > 180 && c.g < 90; }));
}

TEST_F(SkelvanPictures, SlipTubeAndCentreLines) {
    const Image& slip = Pic(13824);
    for (int x : {124, 125, 126, 169, 170, 171}) EXPECT_LE(std::max({slip.At(x, 181).r, slip.At(x, 181).g}), 10) << x;
    for (int x : {45, 100, 127, 148, 168, 200, 255}) EXPECT_TRUE(Bright(slip.At(x, 181))) << x;
    // The ball at value 0 (x 127 to 169) lies in the white tube between the lines.
    for (int y = 160; y <= 205; y += 5) EXPECT_TRUE(Bright(slip.At(148, y))) << y;
}

TEST_F(SkelvanPictures, CompassStripScale) {
    const Image& strip = Pic(12800);
    // Ticks along the bottom every 5 degrees, 32 pixels per 10 degrees: N under x 76 and x 1227.
    for (int x : {76, 1227}) EXPECT_TRUE(Near(strip, x, 58, 1, Bright)) << x;
    for (int k = 1; k < 36; ++k) {
        const int x = int(std::lround(76 + k * (1227 - 76) / 36.0));
        EXPECT_TRUE(Near(strip, x, 58, 1, Bright)) << x;
    }
    // Between ticks the bottom edge is card.
    EXPECT_FALSE(Bright(strip.At(76 + 8, 58)));
}

TEST_F(SkelvanPictures, ReferenceBarAndIndex) {
    const Image& bar = Pic(4864);
    for (int y = 4; y <= 9; ++y) {
        EXPECT_TRUE(Bright(bar.At(12, y))) << y;
        EXPECT_TRUE(Bright(bar.At(139, y))) << y;
    }
    EXPECT_EQ(bar.At(11, 6), kSeeThrough);
    EXPECT_EQ(bar.At(140, 6), kSeeThrough);
    EXPECT_NE(bar.At(77, 62), kSeeThrough);  // stem down to row 63
    EXPECT_EQ(bar.At(77, 66), kSeeThrough);
    EXPECT_TRUE(Bright(Pic(4096).At(135, 60)));  // bank index triangle
}

TEST_F(SkelvanPictures, ControlsLieUnderTheirMouseBoxes) {
    // Attitude knob halves (105, 230, 30, 55) and (138, 230, 30, 55); altimeter knob halves
    // (0, 230, 25, 60) and (26, 230, 25, 60): painted, not the frame's opening or see-through.
    for (auto [id, x, y] : {std::tuple{4096u, 120, 257}, std::tuple{4096u, 153, 257}, std::tuple{16640u, 12, 260},
                            std::tuple{16640u, 38, 260}, std::tuple{17152u, 12, 260}, std::tuple{17152u, 38, 260}}) {
        const Rgb c = Pic(id).At(x, y);
        EXPECT_NE(c, kSeeThrough) << id << " " << x;
        EXPECT_NE(c, kNearBlack) << id << " " << x;
    }
    // Fuel lamp test button under (7, 58, 40, 40): a red centre.
    EXPECT_GT(Pic(9216).At(27, 77).r, 150);
    // Flap handle knob tops at rows 3, 86 and 156.
    const int tops[] = {3, 86, 156};
    for (int i = 0; i < 3; ++i) {
        const Image& handle = Pic(18177 + i);
        int top = -1;
        for (int y = 0; y < handle.height && top < 0; ++y)
            for (int x = 0; x < handle.width; ++x)
                if (std::min({handle.At(x, y).r, handle.At(x, y).g, handle.At(x, y).b}) > 150) {
                    top = y;
                    break;
                }
        EXPECT_NEAR(top, tops[i], 1) << 18177 + i;
    }
}

TEST_F(SkelvanPictures, SameBytesEveryTime) {
    const std::vector<Picture> again = skelvan_art::DrawAll();
    ASSERT_EQ(again.size(), pictures_->size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].id, (*pictures_)[i].id);
        EXPECT_TRUE(again[i].bmp == (*pictures_)[i].bmp) << again[i].id;
    }
}

}  // namespace
