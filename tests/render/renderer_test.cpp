// The window renderer: failures, redrawing only what changed, wild values, PNG files.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "render_fixture.h"

namespace {

using namespace render_test;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A dial with a needle (element 1) and a lamp icon (element 2).
struct Dial : TestGauge {
    NeedleElement needle{.header = {.kind = kNeedle, .bitmap_id = 400, .x = 30, .y = 30, .offset_x = 2, .offset_y = 2,
                                    .owner = &header, .image_flags = 0x3},
                         .variable = {}, .table = nullptr, .entries = 0, .turn_limit = 6};
    IconElement lamp{.header = {.kind = kIcon, .bitmap_id = 200, .x = 50, .y = 50, .owner = &header, .image_flags = 0x3},
                     .variable = {}, .switch_type = 0, .scale = 0, .offset_value = 0, .count = 2};
    Dial() : TestGauge(60, 60, Solid(kNearBlack), 8) {
        AddBitmap(400, 26, 5, [](int, int y) { return y >= 1 && y <= 3 ? kWhite : kPureBlack; });
        AddBitmap(200, 8, 8, Solid(kGreen));
        AddBitmap(201, 8, 8, Solid(kRed));
        Add(needle.header);
        Add(lamp.header);
    }
    host::ElementState& Needle() { return states[1]; }
    host::ElementState& Lamp() { return states[2]; }
};

// Where the needle points: up (0), right (90), down (180) or left (270), read from the picture.
int Pointing(const render::Image& img) {
    const Blob w = Find(img, kWhite, 60);
    if (w.count == 0) return -1;
    const double dx = w.cx + 0.5 - 30, dy = w.cy + 0.5 - 30;
    if (std::fabs(dx) > std::fabs(dy)) return dx > 0 ? 90 : 270;
    return dy > 0 ? 180 : 0;
}

render::Image Read(const render::WindowRenderer& r) {
    render::Image img;
    r.ReadRgba(img);
    return img;
}

// ---- Failures --------------------------------------------------------------------------------

TEST(RendererTest, HiddenElementsAreNotDrawnAndFrozenOnesKeepTheirLastPicture) {
    Dial d;
    render::WindowRenderer r;
    ASSERT_TRUE(r.Configure({.width = 60, .height = 60}, nullptr));
    const render::InstanceInput in = d.Input();

    d.Needle().angle = 90;
    d.Lamp().index = 1;
    r.Update(std::span(&in, 1));
    EXPECT_EQ(Pointing(Read(r)), 90);
    EXPECT_EQ(Find(Read(r), kRed).count, 64);

    // Action 1: the needle freezes while the runtime's angle moves on; action 3 hides the lamp.
    d.Needle().frozen = true;
    d.Needle().angle = 180;
    d.Lamp().visible = false;
    r.Update(std::span(&in, 1));
    EXPECT_EQ(Pointing(Read(r)), 90) << "frozen: the picture it showed when the failure began";
    EXPECT_EQ(Find(Read(r), kRed).count, 0) << "hidden";
    EXPECT_EQ(Find(Read(r), kGreen).count, 0) << "hidden means no icon at all, not icon 0";

    d.Needle().angle = 270;
    r.Update(std::span(&in, 1));
    EXPECT_EQ(Pointing(Read(r)), 90);

    // Failure over: today's values again.
    d.Needle().frozen = false;
    d.Lamp().visible = true;
    r.Update(std::span(&in, 1));
    EXPECT_EQ(Pointing(Read(r)), 270);
    EXPECT_EQ(Find(Read(r), kRed).count, 64);

    // Action 2 (zero) reaches us as an ordinary state: the runtime maps the value 0.
}

TEST(RendererTest, ElementFrozenFromItsFirstUpdateShowsItsFirstState) {
    Dial d;
    d.Needle().frozen = true;
    d.Needle().angle = 180;
    EXPECT_EQ(Pointing(d.Render()), 180);
}

// ---- Redrawing only what changed -------------------------------------------------------------

TEST(RendererTest, UnchangedListsAreNotRedrawnAndChangesMatchAFreshPicture) {
    Dial a, b;
    b.root.header.bitmap_id = TestGauge::kRootId;  // same module layout, separate records
    const render::InstanceInput ins[] = {a.Input({.x = 0, .y = 0}), b.Input({.x = 70, .y = 10})};
    render::WindowRenderer r;
    ASSERT_TRUE(r.Configure({.width = 140, .height = 80, .scale = 1.5}, nullptr));

    EXPECT_EQ(r.Update(ins), 2u) << "first update draws everything";
    EXPECT_EQ(r.Update(ins), 0u) << "nothing changed";
    EXPECT_EQ(r.Update(ins), 0u);

    b.Needle().angle = 135;
    EXPECT_EQ(r.Update(ins), 1u) << "only the changed instance";
    a.Lamp().index = 1;
    a.Needle().angle = 300;
    EXPECT_EQ(r.Update(ins), 1u);

    render::Image fresh;
    ASSERT_TRUE(render::RenderWindow(ins, {.width = 140, .height = 80, .scale = 1.5}, fresh, nullptr));
    const render::Image kept = Read(r);
    ASSERT_EQ(kept.rgba.size(), fresh.rgba.size());
    EXPECT_TRUE(kept.rgba == fresh.rgba) << "incremental updates give the same picture as drawing anew";

    // Overlapping instances: a change in one redraws the other where they overlap.
    const render::InstanceInput overlapping[] = {a.Input({.x = 0, .y = 0}), b.Input({.x = 40, .y = 40})};
    render::WindowRenderer o;
    ASSERT_TRUE(o.Configure({.width = 100, .height = 100}, nullptr));
    o.Update(overlapping);
    a.Needle().angle = 10;
    EXPECT_EQ(o.Update(overlapping), 2u);
    ASSERT_TRUE(render::RenderWindow(overlapping, {.width = 100, .height = 100}, fresh, nullptr));
    EXPECT_TRUE(Read(o).rgba == fresh.rgba);
}

// ---- Wild values -----------------------------------------------------------------------------

// Values no sane runtime gives still draw something defined and never poison the Cairo context:
// a later, ordinary instance in the same window must still be drawn.
TEST(RendererTest, WildValuesDrawDefinedPictures) {
    struct Case {
        const char* what;
        double angle, shift, rotation;
        float texture_scale;
        int32_t index;
        bool needle_up;  // not a number and huge turns read as 0
    } cases[] = {
        {"NaN", kNaN, kNaN, kNaN, NAN, 0, true},
        {"+inf", kInf, kInf, kInf, INFINITY, 1 << 30, true},
        {"-inf", -kInf, -kInf, -kInf, -INFINITY, INT32_MIN, true},
        {"huge", 1e300, 1e300, -1e300, 3e38f, INT32_MAX, false},
        {"zero scale", 0, 0, 0, 0.0f, -1, true},
    };
    for (const Case& c : cases) {
        Dial d;
        d.AddBitmap(600, 10, 10, Solid(kBlue));
        SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = 600, .x = 0, .y = 0, .offset_x = 30,
                                        .offset_y = 30, .owner = &d.header, .image_flags = 0x3},
                             .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1, .rotation_variable = {},
                             .rotation_scale = 1, .texture_scale_x = c.texture_scale,
                             .texture_scale_y = c.texture_scale};
        SliderElement slider{.header = {.kind = kSlider, .bitmap_id = 200, .x = 0, .y = 0, .owner = &d.header,
                                        .image_flags = 0x3},
                             .x_variable = {}, .x_scale = 1, .y_variable = {}, .y_scale = 1};
        d.Needle().angle = c.angle;
        d.Lamp().index = c.index;
        host::ElementState& sp = d.Add(sprite.header);
        sp.shift_x = sp.shift_y = c.shift;
        sp.rotation = c.rotation;
        d.Add(slider.header).shift_x = c.shift;
        d.Add(slider.header).shift_y = -c.shift;

        Dial after;  // an ordinary gauge drawn after the wild one
        after.Needle().angle = 90;
        const render::InstanceInput ins[] = {d.Input(), after.Input({.x = 60, .y = 0})};
        render::Image img;
        ASSERT_TRUE(render::RenderWindow(ins, {.width = 120, .height = 60}, img, nullptr)) << c.what;
        for (const render::DrawCommand& cmd : d.List().commands)
            EXPECT_TRUE(cmd.bitmap.transform.Finite() && cmd.bitmap.transform.Determinant() != 0) << c.what;
        if (c.needle_up) {
            const render::Image left = d.Render();
            EXPECT_EQ(Pointing(left), 0) << c.what;
        }
        EXPECT_TRUE(Near(At(img, 60 + 45, 30), kWhite, 60)) << c.what << ": the next gauge is still drawn";
    }
}

// Record fields at the ends of their ranges: no overflow on the way to a transform, and nothing
// drawn far off the gauge.
TEST(RendererTest, ExtremeRecordFieldsBuildFiniteCommands) {
    TestGauge g(40, 40, Solid(kNearBlack));
    g.AddBitmap(INT32_MAX, 4, 4, Solid(kRed));
    g.AddBitmap(400, 8, 2, Solid(kWhite));
    NeedleElement needle{.header = {.kind = kNeedle, .bitmap_id = 400, .x = INT32_MAX, .y = INT32_MIN,
                                    .offset_x = INT32_MIN, .offset_y = INT32_MAX, .owner = &g.header, .image_flags = 0x3},
                         .variable = {}, .table = nullptr, .entries = 0, .turn_limit = 6};
    IconElement icon{.header = {.kind = kIcon, .bitmap_id = INT32_MAX, .x = 0, .y = 0, .owner = &g.header, .image_flags = 0x3},
                     .variable = {}, .switch_type = 3, .scale = 0, .offset_value = 0, .count = UINT32_MAX};
    SpriteElement sprite{.header = {.kind = kSprite, .bitmap_id = INT32_MAX, .x = INT32_MIN, .y = 0,
                                    .offset_x = INT32_MIN, .offset_y = 0, .owner = &g.header, .image_flags = 0x3},
                         .x_variable = {}, .x_scale = 0, .y_variable = {}, .y_scale = 0, .rotation_variable = {},
                         .rotation_scale = 0, .texture_scale_x = 1, .texture_scale_y = 1};
    StringElement box{.header = {.kind = kString, .bitmap_id = -1, .x = INT32_MAX, .y = INT32_MAX, .owner = &g.header,
                                 .image_flags = 0x2},
                      .variables = {}, .text = nullptr, .box_width = UINT32_MAX, .box_height = UINT32_MAX,
                      .fore_color = 0xFFFFFFFF, .back_color = 0xFFFFFFFF, .highlight_color = 0, .font_face = "x",
                      .font_weight = UINT32_MAX, .charset = 1, .format_flags = UINT32_MAX, .char_count = UINT32_MAX,
                      .callback = nullptr};
    StringElement huge = box;  // on the gauge, as large as a box can be
    huge.header.x = huge.header.y = 0;
    ElementHeader unknown{.kind = 77, .bitmap_id = 400, .x = 0, .y = 0, .owner = &g.header, .image_flags = 0x1};
    g.Add(needle.header);
    g.Add(icon.header).index = INT32_MAX;
    g.Add(sprite.header);
    g.Add(box.header);
    g.Add(unknown);
    g.Add(huge.header);
    std::snprintf(g.states.back().text, sizeof g.states.back().text, "88");
    const render::DisplayList list = g.List();
    for (const render::DrawCommand& c : list.commands) {
        EXPECT_TRUE(c.bitmap.transform.Finite());
        EXPECT_TRUE(std::isfinite(c.text.font_size) && std::isfinite(c.text.origin.x));
    }
    // Only the root and the huge box reach the gauge: the rest lies far off it (and the icon's id
    // would pass the largest id), and the unknown kind draws nothing.
    ASSERT_EQ(list.commands.size(), 2u);
    EXPECT_EQ(list.commands[1].element, 6);
    EXPECT_LE(list.commands[1].text.font_size, 1024);
    const render::Image img = g.Render();
    EXPECT_TRUE(Near(At(img, 20, 20), kWhite, 0)) << "only the huge box reaches the gauge, in its back colour";
}

TEST(RendererTest, TextWithEightBitAndControlCharactersDraws) {
    TestGauge g(100, 30, Solid(kNearBlack));
    StringElement box{.header = {.kind = kString, .bitmap_id = -1, .x = 0, .y = 0, .owner = &g.header, .image_flags = 0x2},
                      .variables = {}, .text = nullptr, .box_width = 100, .box_height = 30, .fore_color = 0xFFFFFF,
                      .back_color = 0x010101, .highlight_color = 0, .font_face = {}, .font_weight = 900, .charset = 1,
                      .format_flags = 0x25, .char_count = 6, .callback = nullptr};
    std::memset(box.font_face, 'A', sizeof box.font_face);  // no terminator in the record
    host::ElementState& s = g.Add(box.header);
    const char wild[] = "\xB0" "12\t\x81\xFF";
    std::memcpy(s.text, wild, sizeof wild);
    const render::DisplayList list = g.List();
    ASSERT_EQ(list.commands.size(), 2u);
    EXPECT_STREQ(list.commands[1].text.text, "\xC2\xB0" "12  \xC3\xBF") << "Latin-1 to UTF-8, controls as spaces";
    EXPECT_EQ(std::string(list.commands[1].text.font_face), std::string(kFontFaceSize, 'A'));
    EXPECT_GT(Find(g.Render(), kWhite, 60).count, 0) << "the text is drawn";
}

TEST(RendererTest, BadWindowSpecsAreRefused) {
    render::WindowRenderer r;
    std::string error;
    const render::WindowSpec bad[] = {
        {.width = 0, .height = 10},           {.width = 10, .height = -1},
        {.width = 10, .height = 10, .scale = 0}, {.width = 10, .height = 10, .scale = kNaN},
        {.width = 10, .height = 10, .scale = 17}, {.width = 20000, .height = 10},
    };
    for (const render::WindowSpec& s : bad) {
        error.clear();
        EXPECT_FALSE(r.Configure(s, &error));
        EXPECT_FALSE(error.empty());
    }
    const render::InstanceInput empty;
    render::Image img;
    EXPECT_FALSE(render::RenderInstance(empty, 1.0, img, &error));
}

// ---- PNG -------------------------------------------------------------------------------------

TEST(RendererTest, InstancePngReadsBackWithItsPixels) {
    Dial d;
    d.Lamp().index = 1;
    render::Image img;
    std::string error;
    ASSERT_TRUE(render::RenderInstance(d.Input({.x = 500, .y = 500}), 2.0, img, &error)) << error;
    EXPECT_EQ(img.width, 120);
    EXPECT_EQ(img.height, 120);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "render_test_png";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "dial.png").string();
    ASSERT_TRUE(render::WritePng(img, path, &error)) << error;

    cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(back), 120);
    const unsigned char* row = cairo_image_surface_get_data(back) + 108 * cairo_image_surface_get_stride(back);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(row)[108], 0xFFDC1E1Eu) << "the lit lamp at (54, 54) x 2";
    cairo_surface_destroy(back);
    std::filesystem::remove_all(dir);

    EXPECT_FALSE(render::WritePng(img, "/nonexistent-dir/x.png", &error));
    EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
}

}  // namespace
