// The flight computer's pictures: what the module carries, where they are see-through, and the
// slide rule's two scales standing number against number.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "artkit.h"
#include "geometry.h"
#include "module.h"
#include "q4d_art.h"
#include "slide_rule.h"

namespace {

using artkit::Image;
using artkit::Rgb;
using namespace q4d;

// The pictures are drawn once for the whole test program; drawing is the slow part.
const std::vector<artkit::Picture>& Drawn() {
    static const std::vector<artkit::Picture> pictures = Pictures();
    return pictures;
}
const Image& Decoded(uint32_t id) {
    static std::map<uint32_t, Image> images;
    auto it = images.find(id);
    if (it == images.end()) {
        for (const artkit::Picture& p : Drawn())
            if (p.id == id) it = images.emplace(id, artkit::DecodeBmp(p.bmp).image).first;
    }
    return it->second;
}

bool SeeThrough(const Rgb& c) { return c == artkit::kSeeThrough; }
bool Dark(const Rgb& c) { return !SeeThrough(c) && c.r < 110 && c.g < 110 && c.b < 110; }
// Ink on the white faces, antialiased edges of thin lines included.
bool Ink(const Rgb& c) { return !SeeThrough(c) && c.r < 170 && c.g < 170 && c.b < 170; }

TEST(Q4dArt, TheModuleCarriesEachPictureWithItsSizeAndDepth) {
    void* handle = dlopen(Q4D_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    const auto* table = static_cast<const BitmapTable*>(dlsym(handle, kBitmapsSymbol));
    ASSERT_NE(table, nullptr);
    struct Expected {
        uint32_t id;
        int width, height;
    };
    const Expected expected[] = {{4096, 714, 814}, {4352, 560, 560}, {8192, 12, 12}};
    EXPECT_EQ(table->count, std::size(expected)) << "no picture beyond the three";
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        const BitmapResource* r = FindBitmap(*table, e.id);
        ASSERT_NE(r, nullptr);
        const artkit::DecodedBmp bmp = artkit::DecodeBmp(std::vector<uint8_t>(r->bytes, r->bytes + r->size));
        ASSERT_TRUE(bmp.ok);
        EXPECT_EQ(bmp.bits_per_pixel, 8);
        EXPECT_LE(bmp.palette.size(), 256u);
        EXPECT_EQ(bmp.image.width, e.width);
        EXPECT_EQ(bmp.image.height, e.height);
        // What the build embedded is what the drawing code draws today.
        EXPECT_EQ(bmp.image, Decoded(e.id));
    }
    dlclose(handle);
}

TEST(Q4dArt, DrawingTwiceGivesTheSameBytes) {
    const std::vector<artkit::Picture> again = Pictures();
    ASSERT_EQ(again.size(), Drawn().size());
    for (size_t i = 0; i < again.size(); ++i) EXPECT_TRUE(again[i].bmp == Drawn()[i].bmp) << again[i].id;
}

TEST(Q4dArt, SeeThroughOnlyWhereSomethingMustShowThrough) {
    const Image& body = Decoded(kBodyBitmap);
    const Image& disc = Decoded(kDiscBitmap);
    const Image& icon = Decoded(kIconBitmap);
    // The body: the disc's hole around the pivot and the rounded corners; the card is solid.
    for (int y = 0; y < body.height; ++y)
        for (int x = 0; x < body.width; ++x) {
            const double r = std::hypot(x + 0.5 - kPivotX, y + 0.5 - kPivotY);
            const bool corner = (x < 34 || x >= body.width - 34) && (y < 34 || y >= body.height - 34);
            if (r < kDiscRim - 1.5) {
                ASSERT_TRUE(SeeThrough(body.At(x, y))) << "hole at " << x << "," << y;
            } else if (r > kDiscRim + 0.5 && !corner) {
                ASSERT_FALSE(SeeThrough(body.At(x, y))) << "card at " << x << "," << y;
            }
        }
    for (auto [x, y] : {std::pair{0, 0}, {713, 0}, {0, 813}, {713, 813}}) EXPECT_TRUE(SeeThrough(body.At(x, y)));
    // The disc: solid to its rim (dark centre included), see-through beyond.
    for (int y = 0; y < disc.height; ++y)
        for (int x = 0; x < disc.width; ++x) {
            const double r = std::hypot(x + 0.5 - kDiscCentre, y + 0.5 - kDiscCentre);
            if (r < kDiscRim - 1.0) {
                ASSERT_FALSE(SeeThrough(disc.At(x, y))) << x << "," << y;
            } else if (r > kDiscRim + 0.5) {
                ASSERT_TRUE(SeeThrough(disc.At(x, y))) << x << "," << y;
            }
        }
    EXPECT_TRUE(Dark(disc.At(kDiscCentre + 100, kDiscCentre))) << "the centre is dark";
    // The icon: exactly its four corner pixels.
    int see_through = 0;
    for (const Rgb& c : icon.pixels) see_through += SeeThrough(c);
    EXPECT_EQ(see_through, 4);
    for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}}) EXPECT_TRUE(SeeThrough(icon.At(x, y)));
    EXPECT_EQ(icon.At(5, 1), artkit::kWhite);
}

// Dial angle (as painted) of the mark crossing the circle of `radius` nearest to `around`: the
// middle of the run of ink pixels met when walking the circle in small steps. Neighbouring marks
// make runs of their own.
double MarkAngle(const Image& image, double cx, double cy, double radius, double around) {
    double best = NAN;
    double run_start = NAN;
    auto close_run = [&](double end) {
        if (std::isnan(run_start)) return;
        const double mid = (run_start + end) / 2;
        if (std::isnan(best) || std::fabs(mid - around) < std::fabs(best - around)) best = mid;
        run_start = NAN;
    };
    constexpr double kStep = 0.01;
    for (double a = around - 1.5; a <= around + 1.5; a += kStep) {
        const double rad = a * M_PI / 180.0;
        const int x = static_cast<int>(std::floor(cx + radius * std::sin(rad)));
        const int y = static_cast<int>(std::floor(cy - radius * std::cos(rad)));
        if (Ink(image.At(x, y))) {
            if (std::isnan(run_start)) run_start = a;
        } else {
            close_run(a - kStep);
        }
    }
    close_run(around + 1.5);
    return best;
}

TEST(Q4dArt, AtPositionZeroTheScalesStandNumberAgainstNumber) {
    const Image& body = Decoded(kBodyBitmap);
    const Image& disc = Decoded(kDiscBitmap);
    // The hour index is the black triangle at the left edge of the disc picture.
    EXPECT_NEAR(DiscPictureAngle(kHourIndex), 270.0, 1e-9);
    EXPECT_TRUE(Dark(disc.At(6, kDiscCentre)));
    for (double n : {10.0, 12.2, 15.0, 20.0, 30.0, 45.0, 60.0, 66.0, 90.0, 99.0}) {
        SCOPED_TRACE(n);
        // The body's tick just outside the rim, the disc's just inside it, both measured in the
        // pixels; the disc picture shows turned by 90 degrees counter-clockwise at position 0.
        const double on_body = MarkAngle(body, kPivotX, kPivotY, kDiscRim + 4.0, BodyScaleAngle(n));
        const double on_disc = MarkAngle(disc, kDiscCentre, kDiscCentre, kDiscRim - 4.0, DiscPictureAngle(n)) - 90.0;
        ASSERT_FALSE(std::isnan(on_body)) << "no tick on the body";
        ASSERT_FALSE(std::isnan(on_disc)) << "no tick on the disc";
        EXPECT_NEAR(on_body, BodyScaleAngle(n), 0.3);
        EXPECT_NEAR(std::remainder(on_disc - on_body, 360.0), 0.0, 0.3);
    }
}

TEST(Q4dArt, OneTurnIsOneDecade) {
    // The pilot's example: hour index under 90, then 20 minutes against 30, 45 against 30 minutes.
    const double p = PositionFor(kHourIndex, 90.0);
    EXPECT_EQ(p, 634.0);
    EXPECT_NEAR(BodyNumberAgainst(kHourIndex, p), 90.0, 0.05);
    EXPECT_NEAR(BodyNumberAgainst(20.0, p), 30.0, 0.02);
    EXPECT_NEAR(BodyNumberAgainst(30.0, p), 45.0, 0.03);
    // The disc's half turn at 1799, the full turn at 3598 brings every number one decade on.
    EXPECT_DOUBLE_EQ(DiscTurn(1799.0), 180.0);
    EXPECT_DOUBLE_EQ(DiscTurn(-1.0), -180.0 / 1799.0);
    EXPECT_NEAR(BodyNumberAgainst(25.0, 3598.0), 250.0, 1e-9);
    EXPECT_NEAR(BodyNumberAgainst(25.0, -3598.0), 2.5, 1e-12);
}

TEST(Q4dArt, AnArrowIsPaintedUnderEachStepButton) {
    const Image& body = Decoded(kBodyBitmap);
    for (const MouseBox& box : {kDecreaseLargeBox, kIncreaseLargeBox, kDecreaseSmallBox, kIncreaseSmallBox}) {
        SCOPED_TRACE(box.x);
        int ink = 0, outside = 0;
        for (int y = box.y; y < box.y + box.height; ++y)
            for (int x = box.x; x < box.x + box.width; ++x) {
                ink += Dark(body.At(x, y));
                outside += SeeThrough(body.At(x, y));
            }
        EXPECT_GT(ink, box.width * box.height / 12) << "an arrow fills a fair part of its box";
        EXPECT_EQ(outside, 0);
    }
}

}  // namespace
