// The window renderer's own drawing paths against Cairo's: turned and moved pictures sampled by
// the renderer (through a companion's window too), and the base image of backgrounds and roots.
// The reference is every display list drawn with DrawDisplayList, which is Cairo alone, over the
// background. Sampling rounds a little differently from pixman; a misplaced, mirrored or
// wrongly ordered picture differs by far more than the tolerance.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render_fixture.h"

namespace {

using namespace render_test;

constexpr int kTolerance = 6;  // per premultiplied channel

// An attitude-like gauge: a striped, see-through-edged sprite and a turning ring, each seen through
// the disc window of its own copy of one bezel, then a needle over them.
struct Horizon : TestGauge {
    SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = 600, .x = 0, .y = 0, .offset_x = 40,
                                    .offset_y = 40, .owner = &header, .image_flags = 0x81},
                         .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1, .rotation_variable = {},
                         .rotation_scale = 1, .texture_scale_x = 0.55f, .texture_scale_y = 0.55f};
    SpriteElement ring{.header = {.kind = kSprite, .bitmap_id = 700, .x = 0, .y = 0, .offset_x = 40,
                                  .offset_y = 40, .owner = &header, .image_flags = 0x81},
                       .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1, .rotation_variable = {},
                       .rotation_scale = 1, .texture_scale_x = 1.05f, .texture_scale_y = 1.05f};
    NeedleElement needle{.header = {.kind = kNeedle, .bitmap_id = 400, .x = 40, .y = 40, .offset_x = 2, .offset_y = 3,
                                    .owner = &header, .image_flags = 0x3},
                         .variable = {}, .table = nullptr, .entries = 0, .turn_limit = 6};
    // The root's corner is pure black: see-through with its colour key, black without.
    explicit Horizon(bool twin_bezels = true)
        : TestGauge(80, 80, [](int x, int y) { return x < 6 && y < 6 ? kPureBlack : kNearBlack; }, 8) {
        AddBitmap(600, 40, 40, [](int x, int y) {
            if (x < 2 || y < 2 || x > 37 || y > 37) return kPureBlack;  // see-through rim
            if (y < 18) return kBlue;
            return (x / 4) % 2 == 0 ? kGreen : kWhite;
        });
        const Painter bezel = [](int x, int y) {
            const double dx = x + 0.5 - 40, dy = y + 0.5 - 40;
            return dx * dx + dy * dy < 30 * 30 ? kWindow : (dx * dx + dy * dy < 36 * 36 ? kGrey : kPureBlack);
        };
        AddBitmap(601, 80, 80, bezel);
        // A ring with a see-through middle, seen through its own copy of the same bezel.
        AddBitmap(700, 70, 70, [](int x, int y) {
            const double dx = x + 0.5 - 35, dy = y + 0.5 - 35, r = std::sqrt(dx * dx + dy * dy);
            if (r < 24 || r > 33) return kPureBlack;
            return x < 35 ? kRed : kWhite;
        });
        AddBitmap(701, 80, 80, twin_bezels ? bezel : [](int x, int y) {  // a wider window
            const double dx = x + 0.5 - 40, dy = y + 0.5 - 40;
            return dx * dx + dy * dy < 34 * 34 ? kWindow : kGrey;
        });
        AddBitmap(400, 30, 7, [](int, int y) { return y >= 2 && y <= 4 ? kRed : kPureBlack; });
        Add(sprite.header);
        Add(ring.header, 1);
        Add(needle.header);
    }
    host::ElementState& Sprite() { return states[1]; }
    host::ElementState& Ring() { return states[2]; }
    host::ElementState& Needle() { return states[3]; }
};

// The worst channel difference between the renderer's image and Cairo drawing its lists anew.
int DifferenceFromCairo(const render::WindowRenderer& r, size_t instances, uint32_t background) {
    cairo_surface_t* ref = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, r.Width(), r.Height());
    cairo_t* cr = cairo_create(ref);
    cairo_set_source_rgb(cr, ((background >> 16) & 0xFF) / 255.0, ((background >> 8) & 0xFF) / 255.0,
                         (background & 0xFF) / 255.0);
    cairo_paint(cr);
    for (size_t i = 0; i < instances; ++i) render::DrawDisplayList(cr, *r.List(i));
    cairo_surface_flush(ref);
    cairo_surface_flush(r.Surface());
    const unsigned char* a = cairo_image_surface_get_data(ref);
    const unsigned char* b = cairo_image_surface_get_data(r.Surface());
    const int stride = cairo_image_surface_get_stride(ref);
    int worst = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width() * 4; ++x)
            worst = std::max(worst, std::abs(a[y * stride + x] - b[y * stride + x]));
    cairo_destroy(cr);
    cairo_surface_destroy(ref);
    return worst;
}

TEST(FastPathsTest, TurnedAndMovedPicturesMatchCairo) {
    struct Case {
        const char* what;
        double rotation, shift_x, shift_y, needle;
        float texture_scale;
        render::Rect placement;
        bool twin_bezels = true;
    } cases[] = {
        {"level, whole-pixel centre", 0, 0, 0, 0, 0.55f, {0, 0}},
        {"banked and pitched", 23.5, 0, 7.3, 137, 0.55f, {0, 0}},
        {"steep bank, shifted sideways", -81, 3.25, -11.6, 271.3, 0.55f, {0, 0}},
        {"shrunk a little", 12, 0, 2.5, 45, 1.05f, {0, 0}},
        {"shrunk by half", 190, 0, 0, 300, 2.0f, {0, 0}},
        {"moved by fractions only", 0, 0.37, -0.81, 90, 1.0f, {0, 0}},
        {"partly off the window", 33, 0, 4, 200, 0.55f, {-23, -17}},
        {"off the other edges", -140, 0, -9, 10, 0.55f, {31, 29}},
        {"ring behind another bezel", 50, 0, 3, 20, 0.55f, {0, 0}, false},
    };
    for (const Case& c : cases) {
        Horizon g(c.twin_bezels);
        g.Sprite().rotation = c.rotation;
        g.Sprite().shift_x = c.shift_x;
        g.Sprite().shift_y = c.shift_y;
        g.Ring().rotation = c.rotation;
        g.sprite.texture_scale_x = g.sprite.texture_scale_y = c.texture_scale;
        g.Needle().angle = c.needle;
        const render::InstanceInput in[] = {g.Input(c.placement)};
        render::WindowRenderer r;
        ASSERT_TRUE(r.Configure({.width = 90, .height = 90}, nullptr));
        r.Update(in);
        EXPECT_LE(DifferenceFromCairo(r, 1, render::kPanelBackground), kTolerance) << c.what;
        // The picture must really be there: the sprite's colours show through the window.
        render::Image img;
        r.ReadRgba(img);
        EXPECT_GT(Find(img, kBlue, 20).count + Find(img, kGreen, 20).count, 100) << c.what;

        // Redrawn in a piece (the needle's old and new places) it is the same as drawn whole.
        g.Needle().angle = c.needle + 61;
        g.Sprite().rotation = c.rotation;  // unchanged
        r.Update(in);
        render::Image fresh;
        ASSERT_TRUE(render::RenderWindow(in, {.width = 90, .height = 90}, fresh, nullptr));
        r.ReadRgba(img);
        EXPECT_TRUE(img.rgba == fresh.rgba) << c.what << ": drawing in pieces changed pixels";
    }
}

// The base keeps the background and roots; each step below must still look as Cairo draws it.
TEST(FastPathsTest, BaseFollowsRootsAndDrawOrder) {
    Horizon a, b, c;
    a.Needle().angle = 100;  // a's needle reaches under b's root where they overlap
    b.Needle().angle = 200;
    render::WindowRenderer r;
    constexpr uint32_t kBack = 0x204060;
    ASSERT_TRUE(r.Configure({.width = 260, .height = 100, .background_rgb = kBack}, nullptr));
    std::vector<render::InstanceInput> ins = {a.Input({.x = 0, .y = 0}), b.Input({.x = 50, .y = 10}),
                                              c.Input({.x = 170, .y = 10})};
    const auto check = [&](const char* what) {
        r.Update(ins);
        EXPECT_LE(DifferenceFromCairo(r, ins.size(), kBack), kTolerance) << what;
        r.Invalidate();
        r.Update(ins);
        EXPECT_LE(DifferenceFromCairo(r, ins.size(), kBack), kTolerance) << what << ", redrawn whole";
    };
    check("overlapping instances");
    c.states[0].visible = false;
    check("a lone root hidden");
    c.states[0].visible = true;
    c.root.header.image_flags = 0;  // the root drawn without its colour key: another command
    check("a lone root changed");
    ins[2].placement = {.x = 171, .y = 12};
    check("a lone instance moved");
    b.Needle().angle = 10;
    a.Needle().angle = 95;
    check("needles moved under and over roots");
    ins.pop_back();
    check("an instance gone");
    ins[1].placement = {.x = 100, .y = 10};
    check("no more overlap");
}

}  // namespace
