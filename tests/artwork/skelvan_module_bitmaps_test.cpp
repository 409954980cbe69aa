// The built Skelvan module: every bitmap that its gauge records name is among the bitmaps that it
// embeds, the needles' marks lie on painted ticks, and the text boxes sit on grounds of their own
// back colour, so that the records and the pictures agree wherever they share a number.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "artkit.h"
#include "module.h"

namespace {

using artkit::DecodedBmp;
using artkit::Image;
using artkit::Rgb;

struct Placed {
    const GaugeHeader* gauge;
    const ElementHeader* element;
    const ElementHeader* root;
};

class SkelvanModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle_ = dlopen(SKELVAN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        linkage_ = static_cast<ModuleLinkage*>(dlsym(handle_, kLinkageSymbol));
        bitmaps_ = static_cast<const BitmapTable*>(dlsym(handle_, kBitmapsSymbol));
        ASSERT_NE(linkage_, nullptr);
        ASSERT_NE(bitmaps_, nullptr);
        decoded_ = new std::map<uint32_t, DecodedBmp>();
        for (uint32_t i = 0; i < bitmaps_->count; ++i) {
            const BitmapResource& r = bitmaps_->entries[i];
            (*decoded_)[r.id] = artkit::DecodeBmp(std::vector<uint8_t>(r.bytes, r.bytes + r.size));
        }
    }
    static void TearDownTestSuite() {
        delete decoded_;
        decoded_ = nullptr;
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }
    static std::vector<Placed> Elements() {
        std::vector<Placed> out;
        for (size_t g = 0; g < GaugeCount(*linkage_); ++g) {
            const GaugeHeader* gauge = linkage_->gauges[g];
            const ElementHeader* root = gauge->elements[0];
            std::function<void(const ElementHeader*)> walk = [&](const ElementHeader* e) {
                out.push_back({gauge, e, root});
                if (e->children)
                    for (ElementHeader** c = e->children; *c; ++c) walk(*c);
            };
            walk(root);
        }
        return out;
    }
    static const Image* Bitmap(int32_t id) {
        auto it = decoded_->find(uint32_t(id));
        return it == decoded_->end() || !it->second.ok ? nullptr : &it->second.image;
    }
    static void* handle_;
    static ModuleLinkage* linkage_;
    static const BitmapTable* bitmaps_;
    static std::map<uint32_t, DecodedBmp>* decoded_;
};
void* SkelvanModule::handle_ = nullptr;
ModuleLinkage* SkelvanModule::linkage_ = nullptr;
const BitmapTable* SkelvanModule::bitmaps_ = nullptr;
std::map<uint32_t, DecodedBmp>* SkelvanModule::decoded_ = nullptr;

TEST_F(SkelvanModule, TableIsSortedAndEveryEntryIsABmp) {
    ASSERT_GT(bitmaps_->count, 0u);
    for (uint32_t i = 0; i < bitmaps_->count; ++i) {
        if (i > 0) {
            EXPECT_LT(bitmaps_->entries[i - 1].id, bitmaps_->entries[i].id);
        }
        EXPECT_TRUE((*decoded_)[bitmaps_->entries[i].id].ok) << bitmaps_->entries[i].id;
    }
}

TEST_F(SkelvanModule, EveryBitmapThatARecordNamesIsEmbedded) {
    ASSERT_GT(GaugeCount(*linkage_), 0u);
    for (const Placed& p : Elements()) {
        const ElementHeader* e = p.element;
        SCOPED_TRACE(std::string(p.gauge->name) + " element kind " + std::to_string(e->kind));
        if (e->kind == kString) {
            EXPECT_EQ(e->bitmap_id, -1);
            continue;
        }
        ASSERT_NE(Bitmap(e->bitmap_id), nullptr) << e->bitmap_id;
        if (e->kind == kIcon) {
            const auto* icon = ElementAs<IconElement>(e);
            for (uint32_t i = 1; i < icon->count; ++i) EXPECT_NE(Bitmap(e->bitmap_id + int32_t(i)), nullptr) << i;
        }
        if (e->kind == kSprite || e->kind == kMovingImage) {
            EXPECT_NE(Bitmap(e->bitmap_id + 1), nullptr);
        }
        if (e->kind == kSprite) {
            // The sprite is seen through a companion that repeats the gauge's frame.
            const BitmapResource* own = FindBitmap(*bitmaps_, uint32_t(e->bitmap_id + 1));
            const BitmapResource* frame = FindBitmap(*bitmaps_, uint32_t(p.root->bitmap_id));
            ASSERT_TRUE(own && frame);
            EXPECT_TRUE(own->size == frame->size && std::equal(own->bytes, own->bytes + own->size, frame->bytes));
        }
        if (e->kind == kNeedle) {
            const Image* needle = Bitmap(e->bitmap_id);
            EXPECT_LT(e->offset_x, needle->width);
            EXPECT_LT(e->offset_y, needle->height);
        }
    }
}

bool Bright(Rgb c) { return std::max({c.r, c.g, c.b}) >= 170; }

bool BrightNear(const Image& img, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int xx = x + dx, yy = y + dy;
            if (xx >= 0 && yy >= 0 && xx < img.width && yy < img.height && Bright(img.At(xx, yy))) return true;
        }
    return false;
}

// A mark that a text box covers (the feet altimeter's Kollsman window lies over its marks at
// three o'clock) cannot show; its tick must then go on visibly along the ray just past the box.
bool MarkOnTick(const Image& dial, const NeedleElement& needle, const NonlinearityTable& m,
                const std::vector<const StringElement*>& boxes) {
    if (BrightNear(dial, m.x, m.y)) return true;
    auto covered = [&](double x, double y) {
        for (const StringElement* b : boxes)
            if (x >= b->header.x - 4 && x < b->header.x + int(b->box_width) + 4 && y >= b->header.y - 4 &&
                y < b->header.y + int(b->box_height) + 4)
                return true;
        return false;
    };
    if (!covered(m.x, m.y)) return false;
    const double px = needle.header.x, py = needle.header.y;
    const double len = std::hypot(m.x - px, m.y - py);
    double x = m.x, y = m.y;
    while (covered(x, y)) x += (m.x - px) / len, y += (m.y - py) / len;
    for (int step = 0; step < 12; ++step, x += (m.x - px) / len, y += (m.y - py) / len)
        if (BrightNear(dial, int(std::lround(x)), int(std::lround(y)))) return true;
    return false;
}

TEST_F(SkelvanModule, NeedleMarksLieOnPaintedTicks) {
    int needles = 0;
    const std::vector<Placed> all = Elements();
    for (const Placed& p : all) {
        if (p.element->kind != kNeedle) continue;
        ++needles;
        const auto* needle = ElementAs<NeedleElement>(p.element);
        const Image* dial = Bitmap(p.root->bitmap_id);
        ASSERT_NE(dial, nullptr);
        std::vector<const StringElement*> boxes;
        for (const Placed& q : all)
            if (q.gauge == p.gauge && q.element->kind == kString) boxes.push_back(ElementAs<StringElement>(q.element));
        for (uint32_t i = 0; i < needle->entries; ++i) {
            const NonlinearityTable& m = needle->table[i];
            EXPECT_TRUE(MarkOnTick(*dial, *needle, m, boxes))
                << p.gauge->name << " mark " << m.value << " at " << m.x << "," << m.y;
        }
    }
    EXPECT_GT(needles, 0);
}

TEST_F(SkelvanModule, TextBoxesSitOnTheirOwnBackColour) {
    int boxes = 0;
    for (const Placed& p : Elements()) {
        if (p.element->kind != kString) continue;
        ++boxes;
        const auto* box = ElementAs<StringElement>(p.element);
        const Rgb back{uint8_t(box->back_color), uint8_t(box->back_color >> 8), uint8_t(box->back_color >> 16)};
        const Image* face = Bitmap(p.root->bitmap_id);
        ASSERT_NE(face, nullptr);
        int off = 0;
        for (uint32_t y = 0; y < box->box_height; ++y)
            for (uint32_t x = 0; x < box->box_width; ++x) {
                const int fx = p.element->x + int(x), fy = p.element->y + int(y);
                if (fx >= face->width || fy >= face->height || !(face->At(fx, fy) == back)) ++off;
            }
        EXPECT_EQ(off, 0) << p.gauge->name << " box at " << p.element->x << "," << p.element->y;
    }
    EXPECT_GT(boxes, 0);
}

}  // namespace
