// Geometry of the display list, checked on the pictures it gives: each element kind lands where
// and how its records say, seen through what its companion shows.
#include <gtest/gtest.h>

#include <cmath>

#include "render_fixture.h"

namespace {

using namespace render_test;

constexpr double kPi = 3.14159265358979323846;

// ---- Draw order and command contents --------------------------------------------------------

TEST(DisplayListTest, CommandsFollowTheTreeAndCarryKeyAndCompanion) {
    TestGauge g(100, 100, Solid(kNearBlack));
    g.AddBitmap(200, 10, 10, Solid(kRed));
    g.AddBitmap(300, 20, 20, Solid(kBlue));
    g.AddBitmap(301, 20, 20, Solid(kWindow));
    IconElement icon{.header = {.kind = kIcon, .bitmap_id = 200, .x = 5, .y = 6, .owner = &g.header, .image_flags = 0x3},
                     .variable = {}, .switch_type = 0, .scale = 0, .offset_value = 0, .count = 1};
    SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = 300, .x = 0, .y = 0, .offset_x = 50, .offset_y = 50,
                                    .owner = &g.header, .image_flags = 0x80},
                         .x_variable = {}, .x_scale = 0, .y_variable = {}, .y_scale = 0, .rotation_variable = {},
                         .rotation_scale = 0, .texture_scale_x = 1, .texture_scale_y = 1};
    g.Add(icon.header);
    g.Add(sprite.header, 1);  // below the icon: drawn after it

    const render::DisplayList list = g.List({.x = 30, .y = 40}, 2.0);
    EXPECT_EQ(list.clip, (render::Rect{60, 80, 200, 200}));
    ASSERT_EQ(list.commands.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.commands[i].element, i);

    const render::BitmapDraw& root = list.commands[0].bitmap;
    EXPECT_EQ(root.bitmap_id, TestGauge::kRootId);
    EXPECT_EQ(root.transform, (render::Affine{2, 0, 0, 2, 60, 80}));
    EXPECT_TRUE(root.color_key);
    EXPECT_EQ(root.companion, nullptr);

    const render::BitmapDraw& ic = list.commands[1].bitmap;
    EXPECT_EQ(ic.transform, (render::Affine{2, 0, 0, 2, 70, 92}));
    EXPECT_TRUE(ic.color_key);

    const render::BitmapDraw& sp = list.commands[2].bitmap;
    EXPECT_FALSE(sp.color_key) << "image flags 0x80 lack the key bit";
    EXPECT_EQ(sp.companion_id, 301);
    EXPECT_EQ(sp.companion, g.bitmaps.Find(301));
    EXPECT_EQ(sp.companion_transform, (render::Affine{2, 0, 0, 2, 60, 80}));
    EXPECT_TRUE(list.missing_bitmaps.empty());
}

TEST(DisplayListTest, MissingBitmapsAreListedAndSkipped) {
    TestGauge g(50, 50, Solid(kNearBlack));
    StaticImageElement lost{.header = {.kind = kStaticImage, .bitmap_id = 999, .x = 0, .y = 0, .owner = &g.header,
                                       .image_flags = 0x1}};
    g.Add(lost.header);
    const render::DisplayList list = g.List();
    EXPECT_EQ(list.commands.size(), 1u);
    EXPECT_EQ(list.missing_bitmaps, std::vector<int32_t>{999});
}

// ---- Colour key ------------------------------------------------------------------------------

TEST(DisplayListTest, ColourKeyLetsOnlyPureBlackThrough) {
    auto quadrants = [](int x, int y) { return y < 10 ? (x < 10 ? kPureBlack : kWindow) : (x < 10 ? kNearBlack : kBlue); };
    struct Case {
        uint32_t flags;
        Rgb black_shows;
    } cases[] = {{0x1, kGrey}, {0x11, kGrey}, {0x2, kPureBlack}};
    for (const Case& c : cases) {
        TestGauge g(20, 20, quadrants, 8);
        g.root.header.image_flags = c.flags;
        const render::Image img = g.Render();
        EXPECT_TRUE(Near(At(img, 5, 5), c.black_shows, 0)) << std::hex << c.flags;
        EXPECT_TRUE(Near(At(img, 15, 5), kWindow, 0)) << std::hex << c.flags;
        EXPECT_TRUE(Near(At(img, 5, 15), kNearBlack, 0)) << std::hex << c.flags;
        EXPECT_TRUE(Near(At(img, 15, 15), kBlue, 0)) << std::hex << c.flags;
    }
}

// ---- Needles ---------------------------------------------------------------------------------

// A needle whose table value points at a mark covers that mark: the bitmap's rightward direction
// turns toward the mark, about the pivot offset on the bitmap.
TEST(DisplayListTest, NeedleAtATableValueCoversItsMark) {
    // White bar 44 long, pivot at (4, 2): 39 pixels of needle ahead of the pivot, 4 behind.
    auto needle_picture = [](int, int y) { return y >= 1 && y <= 3 ? kWhite : kPureBlack; };
    struct Mark {
        int x, y;
    } marks[] = {{50, 20}, {80, 50}, {50, 80}, {20, 50}, {29, 29}, {73, 27}, {72, 73}, {28, 72}};
    for (const Mark& m : marks) {
        TestGauge g(101, 101, Solid(kNearBlack), 8);
        g.AddBitmap(400, 44, 5, needle_picture, 4);
        NeedleElement needle{.header = {.kind = kNeedle, .bitmap_id = 400, .x = 50, .y = 50, .offset_x = 4,
                                        .offset_y = 2, .owner = &g.header, .image_flags = 0x3},
                             .variable = {}, .table = nullptr, .entries = 0, .turn_limit = 6};
        // The runtime's angle for the mark: degrees clockwise from straight up.
        g.Add(needle.header).angle = std::atan2(m.x - 50.0, -(m.y - 50.0)) * 180.0 / kPi;
        const render::Image img = g.Render();
        EXPECT_TRUE(Near(At(img, m.x, m.y), kWhite, 60)) << "mark (" << m.x << ", " << m.y << ")";
        // Nothing of the needle 20 pixels the other way from the pivot.
        const int ox = static_cast<int>(std::lround(50 - (m.x - 50) * 0.7));
        const int oy = static_cast<int>(std::lround(50 - (m.y - 50) * 0.7));
        EXPECT_TRUE(Near(At(img, ox, oy), kNearBlack, 0)) << "opposite (" << ox << ", " << oy << ")";
    }
}

// ---- Icons and sliders -----------------------------------------------------------------------

TEST(DisplayListTest, IconShowsBitmapIdPlusIndexWithinItsRun) {
    struct Case {
        int32_t index;
        Rgb shown;
    } cases[] = {{0, kRed}, {1, kBlue}, {2, kGreen}, {7, kGreen}, {-3, kRed}};
    for (const Case& c : cases) {
        TestGauge g(30, 30, Solid(kNearBlack));
        g.AddBitmap(200, 10, 10, Solid(kRed));
        g.AddBitmap(201, 10, 10, Solid(kBlue));
        g.AddBitmap(202, 10, 10, Solid(kGreen));
        g.AddBitmap(203, 10, 10, Solid(kWhite));  // past the run: never shown
        IconElement icon{.header = {.kind = kIcon, .bitmap_id = 200, .x = 5, .y = 5, .owner = &g.header, .image_flags = 0x3},
                         .variable = {}, .switch_type = 0, .scale = 0, .offset_value = 0, .count = 3};
        g.Add(icon.header).index = c.index;
        const render::Image img = g.Render();
        EXPECT_TRUE(Near(At(img, 9, 9), c.shown, 0)) << "index " << c.index;
        EXPECT_TRUE(Near(At(img, 2, 2), kNearBlack, 0));
    }
}

TEST(DisplayListTest, SliderMovesByItsProductsRightAndDown) {
    struct Case {
        double dx, dy;
    } cases[] = {{0, 0}, {5, 7}, {-5, -7}, {12.0, 0}};
    for (const Case& c : cases) {
        TestGauge g(60, 60, Solid(kNearBlack));
        g.AddBitmap(500, 10, 10, Solid(kRed));
        SliderElement slider{.header = {.kind = kSlider, .bitmap_id = 500, .x = 20, .y = 30, .owner = &g.header,
                                        .image_flags = 0x3},
                             .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1};
        host::ElementState& s = g.Add(slider.header);
        s.shift_x = c.dx;
        s.shift_y = c.dy;
        const Blob red = Find(g.Render(), kRed);
        EXPECT_EQ(red.left, 20 + c.dx);
        EXPECT_EQ(red.top, 30 + c.dy);
        EXPECT_EQ(red.count, 100);
    }
}

// ---- Sprites ---------------------------------------------------------------------------------

// A 20x20 texture with a red block right of its centre. The texture scale is texture pixels per
// gauge pixel (0.5 doubles it). Shifts move it in its own frame (a positive y product up), then it
// turns clockwise about the offset point.
TEST(DisplayListTest, SpriteShiftAndTurnSenses) {
    auto texture = [](int x, int y) { return (x >= 16 && y >= 8 && y < 12) ? kRed : kPureBlack; };
    struct Case {
        double shift_x, shift_y, rotation;
        float scale;
        double red_x, red_y;  // centre of the red block
    } cases[] = {
        {0, 0, 0, 1, 58, 50},      {0, 10, 0, 1, 58, 40},   {0, -10, 0, 1, 58, 60},  {10, 0, 0, 1, 68, 50},
        {0, 0, 90, 1, 50, 58},     {0, 0, -90, 1, 50, 42},  {0, 10, 90, 1, 60, 58},  {0, 0, 0, 0.5f, 66, 50},
        {0, 0, 0, 2, 54, 50},
        {0, 0, 450, 1, 50, 58},
    };
    for (const Case& c : cases) {
        TestGauge g(100, 100, Solid(kNearBlack));
        g.AddBitmap(600, 20, 20, texture);
        g.AddBitmap(601, 100, 100, Solid(kWindow));
        SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = 600, .x = 0, .y = 0, .offset_x = 50,
                                        .offset_y = 50, .owner = &g.header, .image_flags = 0x81},
                             .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1,
                             .rotation_variable = {}, .rotation_scale = 1, .texture_scale_x = c.scale,
                             .texture_scale_y = c.scale};
        host::ElementState& s = g.Add(sprite.header);
        s.shift_x = c.shift_x;
        s.shift_y = c.shift_y;
        s.rotation = c.rotation;
        const Blob red = Find(g.Render(), kRed, 60);
        ASSERT_GT(red.count, 0);
        EXPECT_NEAR(red.cx + 0.5, c.red_x, 1.0) << c.shift_x << " " << c.shift_y << " " << c.rotation;
        EXPECT_NEAR(red.cy + 0.5, c.red_y, 1.0) << c.shift_x << " " << c.shift_y << " " << c.rotation;
    }
}

// The companion: pure black outside, a light bezel, a (1,1,1) window with a white line down its
// middle. The sprite is a red card larger than everything.
Rgb Frame(int x, int y) {
    if (x < 5 || y < 5 || x >= 55 || y >= 55) return kPureBlack;
    if (x < 10 || y < 10 || x >= 50 || y >= 50) return Rgb{200, 200, 100};
    if (x == 30) return kWhite;
    return kWindow;
}

TEST(DisplayListTest, SpriteIsSeenOnlyThroughItsCompanionsWindow) {
    TestGauge g(60, 60, Frame, 8);
    g.AddBitmap(700, 100, 100, Solid(kRed));
    g.AddBitmap(701, 60, 60, Frame, 8);
    SpriteElement card{.header = {.kind = kSprite, .bitmap_id = 700, .x = 0, .y = 0, .offset_x = 30, .offset_y = 30,
                                  .owner = &g.header, .image_flags = 0x81},
                       .x_variable = {}, .x_scale = 0, .y_variable = {}, .y_scale = 1, .rotation_variable = {},
                       .rotation_scale = 1, .texture_scale_x = 1, .texture_scale_y = 1};
    host::ElementState& s = g.Add(card.header);
    s.rotation = 30;  // a turned card must stay inside the window too
    s.shift_y = 12;
    const render::Image img = g.Render(1.0, kBlue);
    EXPECT_TRUE(Near(At(img, 2, 30), kBlue, 0)) << "outside the bezel the background shows, not the card";
    EXPECT_TRUE(Near(At(img, 57, 57), kBlue, 0));
    EXPECT_TRUE(Near(At(img, 7, 30), Rgb{200, 200, 100}, 0)) << "the bezel covers the card";
    EXPECT_TRUE(Near(At(img, 20, 20), kRed, 0)) << "the card shows in the window";
    EXPECT_TRUE(Near(At(img, 30, 40), kWhite, 0)) << "the line in the window stays over the card";
}

// The attitude indicator's own numbers: a 256-pixel card at texture scale 0.55 and a 256-pixel bank
// ring at 1.05 whose see-through disc has radius 93. Seen through a frame opening, the card must
// fill the ring's disc at any pitch up to the full shift of 86 pixels and any bank.
TEST(DisplayListTest, AttitudeCardFillsTheBankRingAtFullPitch) {
    const Rgb sky{145, 213, 245}, ring_colour{24, 16, 16};
    auto frame = [](int x, int y) {
        const double dx = x - 134, dy = y - 134;
        return dx * dx + dy * dy <= 116.0 * 116.0 ? kWindow : kGrey;
    };
    auto card = [sky](int, int y) { return y < 128 ? sky : kNearBlack; };
    auto ring = [ring_colour](int x, int y) {
        const double dx = x - 127.5, dy = y - 127.5;
        return dx * dx + dy * dy <= 93.0 * 93.0 ? kPureBlack : ring_colour;
    };
    TestGauge g(300, 290, frame, 8);
    g.AddBitmap(4352, 256, 256, card, 8);
    g.AddBitmap(4353, 300, 290, frame, 8);
    g.AddBitmap(4608, 256, 256, ring, 8);
    g.AddBitmap(4609, 300, 290, frame, 8);
    SpriteElement card_sprite{.header = {.kind = kSprite, .bitmap_id = 4352, .x = 0, .y = 0, .offset_x = 134,
                                         .offset_y = 134, .owner = &g.header, .image_flags = 0x81},
                              .x_variable = {}, .x_scale = 0, .y_variable = {}, .y_scale = 2.0,
                              .rotation_variable = {}, .rotation_scale = -1.0, .texture_scale_x = 0.55f,
                              .texture_scale_y = 0.55f};
    SpriteElement ring_sprite = card_sprite;
    ring_sprite.header.bitmap_id = 4608;
    ring_sprite.texture_scale_x = ring_sprite.texture_scale_y = 1.05f;
    g.Add(card_sprite.header);
    g.Add(ring_sprite.header, 1);
    for (double pitch_product : {0.0, 86.0, -86.0}) {
        for (double bank : {0.0, 45.0, -90.0}) {
            g.states[1].shift_y = pitch_product;
            g.states[1].rotation = g.states[2].rotation = bank;
            const render::Image img = g.Render();
            int holes = 0;
            for (int y = 134 - 85; y <= 134 + 85; ++y)
                for (int x = 134 - 85; x <= 134 + 85; ++x) {
                    const double dx = x + 0.5 - 134, dy = y + 0.5 - 134;
                    if (dx * dx + dy * dy > 85.0 * 85.0) continue;
                    // The frame's (1,1,1) opening would show wherever neither card nor ring lies.
                    holes += Near(At(img, x, y), kWindow, 2);
                }
            EXPECT_EQ(holes, 0) << "pitch product " << pitch_product << ", bank " << bank;
        }
    }
}

TEST(DisplayListTest, SpriteWithoutCompanionIsDrawnWholeAndReported) {
    TestGauge g(40, 40, Solid(kNearBlack));
    g.AddBitmap(800, 10, 10, Solid(kRed));
    SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = 800, .x = 0, .y = 0, .offset_x = 20,
                                    .offset_y = 20, .owner = &g.header, .image_flags = 0x3},
                         .x_variable = {}, .x_scale = 0, .y_variable = {}, .y_scale = 0, .rotation_variable = {},
                         .rotation_scale = 0, .texture_scale_x = 1, .texture_scale_y = 1};
    g.Add(sprite.header);
    EXPECT_EQ(g.List().missing_bitmaps, std::vector<int32_t>{801});
    EXPECT_EQ(Find(g.Render(), kRed).count, 100);
}

// ---- Moving strip ----------------------------------------------------------------------------

// A strip 100 wide: red at its left end, blue at its right end, green between, panned under a
// 20x10 window. The minimum shows the left end, the maximum the right end.
TEST(DisplayListTest, StripPansFromLeftEndAtMinimumToRightEndAtMaximum) {
    auto strip = [](int x, int) { return x < 10 ? kRed : x >= 90 ? kBlue : kGreen; };
    auto window = [](int x, int) { return x == 10 ? kWhite : kWindow; };
    struct Case {
        double x_value;
        Rgb left_column, right_column;
    } cases[] = {{0, kRed, kGreen}, {360, kGreen, kBlue}, {180, kGreen, kGreen}, {-50, kRed, kGreen},
                 {NAN, kRed, kGreen}};
    for (const Case& c : cases) {
        TestGauge g(100, 60, Solid(kNearBlack));
        g.AddBitmap(900, 100, 8, strip);
        g.AddBitmap(901, 20, 10, window);
        MovingImageElement card{.header = {.kind = kMovingImage, .bitmap_id = 900, .x = 40, .y = 25,
                                           .owner = &g.header, .image_flags = 0x3},
                                .x_variable = {}, .x_min = 0, .x_max = 360, .y_variable = {}, .y_min = 0, .y_max = 0};
        host::ElementState& s = g.Add(card.header);
        s.strip_x = c.x_value;
        s.strip_y = 1.0;  // over a range of no width: the top shows
        const render::Image img = g.Render();
        EXPECT_TRUE(Near(At(img, 40, 28), c.left_column, 0)) << c.x_value;
        EXPECT_TRUE(Near(At(img, 59, 28), c.right_column, 0)) << c.x_value;
        EXPECT_TRUE(Near(At(img, 50, 28), kWhite, 0)) << "the companion's line over the strip";
        EXPECT_TRUE(Near(At(img, 45, 33), kNearBlack, 0)) << "below the 8-row strip, inside the window";
        EXPECT_TRUE(Near(At(img, 38, 28), kNearBlack, 0)) << "left of the window nothing of the strip";
        EXPECT_TRUE(Near(At(img, 61, 28), kNearBlack, 0)) << "right of the window nothing of the strip";
    }
}

// ---- Text ------------------------------------------------------------------------------------

StringElement Box(GaugeHeader* owner, int x, int y, uint32_t w, uint32_t h, uint32_t flags, uint32_t count) {
    StringElement e{.header = {.kind = kString, .bitmap_id = -1, .x = x, .y = y, .owner = owner, .image_flags = 0x2},
                    .variables = {}, .text = nullptr, .box_width = w, .box_height = h, .fore_color = 0x010101,
                    .back_color = 0x52DE94, .highlight_color = 0x010101, .font_face = "Courier New",
                    .font_weight = 400, .charset = 1, .format_flags = flags, .char_count = count, .callback = nullptr};
    return e;
}

constexpr Rgb kLcdGreen{0x94, 0xDE, 0x52};

TEST(DisplayListTest, TextIsCentredInItsFilledBox) {
    struct Case {
        const char* text;
        uint32_t flags;
        bool centred;
    } cases[] = {{"88", 0x25, true}, {"1234", 0x25, true}, {"88888", 0x25, true}, {"8", 0x20, false}};
    for (const Case& c : cases) {
        TestGauge g(120, 40, Solid(kGrey));
        StringElement box = Box(&g.header, 10, 5, 100, 30, c.flags, 5);
        std::snprintf(g.Add(box.header).text, sizeof(host::ElementState::text), "%s", c.text);
        const render::Image img = g.Render();
        EXPECT_TRUE(Near(At(img, 11, 6), kLcdGreen, 0)) << "the box is filled with its back colour";
        EXPECT_TRUE(Near(At(img, 108, 33), kLcdGreen, 0));
        EXPECT_TRUE(Near(At(img, 5, 2), kGrey, 0)) << "nothing outside the box";

        const Blob ink = Find(img, kWindow, 90);
        ASSERT_GT(ink.count, 0) << c.text;
        EXPECT_GE(ink.left, 10);
        EXPECT_LE(ink.right, 109);
        EXPECT_GE(ink.top, 5);
        EXPECT_LE(ink.bottom, 34);
        const double size = 30 / (render::kFontAscent + render::kFontDescent);
        EXPECT_GT(ink.bottom - ink.top, size * 0.5) << "the text fills the box's height";
        if (c.centred) {
            EXPECT_NEAR((ink.left + ink.right + 1) / 2.0, 60, 1.5) << c.text;
            EXPECT_NEAR((ink.top + ink.bottom + 1) / 2.0, 20, 0.1 * size) << c.text;
        } else {
            EXPECT_LT(ink.left, 10 + 0.2 * size) << "left-aligned";
            EXPECT_LT(ink.top, 5 + 0.4 * size) << "top-aligned";
        }
    }
}

TEST(DisplayListTest, TextSizeFitsTheCharacterCountInAWideOrTallBox) {
    TestGauge g(200, 200, Solid(kNearBlack));
    StringElement wide = Box(&g.header, 0, 0, 200, 20, 0x25, 6);
    StringElement tall = Box(&g.header, 0, 50, 60, 100, 0x25, 6);
    g.Add(wide.header);
    g.Add(tall.header);
    const render::DisplayList list = g.List();
    ASSERT_EQ(list.commands.size(), 3u);
    EXPECT_NEAR(list.commands[1].text.font_size, 20 / (render::kFontAscent + render::kFontDescent), 1e-9);
    EXPECT_NEAR(list.commands[2].text.font_size, 60 / (6 * render::kFontAdvance), 1e-9);
    EXPECT_EQ(list.commands[1].text.back_rgb, 0x94DE52u) << "record colours are 0x00BBGGRR";
}

// ---- Scaling ---------------------------------------------------------------------------------

TEST(DisplayListTest, ScaleAndPlacementSizeStretchTheGauge) {
    auto marker = [](int x, int y) { return (x >= 10 && x < 14 && y >= 20 && y < 24) ? kRed : kNearBlack; };
    TestGauge g(40, 30, marker);
    const render::Image doubled = g.Render(2.0);
    EXPECT_EQ(doubled.width, 80);
    EXPECT_EQ(doubled.height, 60);
    const Blob red = Find(doubled, kRed);
    EXPECT_NEAR(red.cx + 0.5, 24, 0.5);
    EXPECT_NEAR(red.cy + 0.5, 44, 0.5);
    EXPECT_GE(red.count, 36);  // 64 pixels, the edge ones blended by filtering
    EXPECT_LE(red.count, 64);

    // Placed 80x30 at (10, 5) in a window: twice as wide, as tall as the root.
    const render::InstanceInput in = g.Input({.x = 10, .y = 5, .width = 80, .height = 30});
    render::Image img;
    ASSERT_TRUE(render::RenderWindow(std::span(&in, 1), {.width = 100, .height = 40}, img, nullptr));
    const Blob placed = Find(img, kRed);
    EXPECT_NEAR(placed.cx + 0.5, 10 + 24, 0.5);
    EXPECT_NEAR(placed.cy + 0.5, 5 + 22, 0.5);
    EXPECT_TRUE(Near(At(img, 5, 20), render_test::Rgb{0x2E, 0x31, 0x34}, 0)) << "panel background left of it";
}

}  // namespace
