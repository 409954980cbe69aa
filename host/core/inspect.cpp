#include "inspect.h"

#include <algorithm>
#include <cstring>

#include "mouse_router.h"
#include "needle_mapping.h"
#include "runtime.h"

namespace host {

namespace {

using nlohmann::json;

const char* KindName(uint32_t kind) {
    switch (kind) {
        case kStaticImage: return "static";
        case kNeedle: return "needle";
        case kString: return "string";
        case kSlider: return "slider";
        case kIcon: return "icon";
        case kMovingImage: return "moving";
        case kSprite: return "sprite";
        default: return "unknown";
    }
}

json Failures(const FailureRecord* list) {
    if (list == nullptr) return nullptr;
    json out = json::array();
    for (size_t i = 0; i < kMaxFailureRecords && list[i].key != 0; ++i)
        out.push_back({list[i].key, list[i].action});
    return out;
}

json Element(const ElementHeader* e, size_t depth, size_t* budget) {
    json j;
    --*budget;
    j["kind"] = KindName(e->kind);
    if (e->kind > kSprite) j["kind_code"] = e->kind;
    j["bitmap"] = e->bitmap_id;
    j["position"] = {e->x, e->y};
    j["offset"] = {e->offset_x, e->offset_y};
    j["image_flags"] = e->image_flags;
    j["failures"] = Failures(e->failures);
    switch (e->kind) {
        case kNeedle: {
            const auto* n = ElementAs<NeedleElement>(e);
            j["token"] = n->variable.token;
            json table = json::array();
            const uint32_t count = n->table ? std::min(n->entries, kMaxTableEntries) : 0;
            for (uint32_t i = 0; i < count; ++i) table.push_back({n->table[i].x, n->table[i].y, n->table[i].value});
            j["table"] = table;
            j["turn_limit"] = n->turn_limit;
            j["callback"] = n->callback != nullptr;
            break;
        }
        case kString: {
            const auto* s = ElementAs<StringElement>(e);
            j["tokens"] = {s->variables[0].token, s->variables[1].token, s->variables[2].token};
            j["box"] = {s->box_width, s->box_height};
            j["fore"] = s->fore_color;
            j["back"] = s->back_color;
            j["highlight"] = s->highlight_color;
            j["font"] = std::string(s->font_face, strnlen(s->font_face, kFontFaceSize));
            j["weight"] = s->font_weight;
            j["charset"] = s->charset;
            j["format_flags"] = s->format_flags;
            j["chars"] = s->char_count;
            j["callback"] = s->callback != nullptr;
            break;
        }
        case kSlider: {
            const auto* s = ElementAs<SliderElement>(e);
            j["x"] = {{"token", s->x_variable.token}, {"scale", s->x_scale}};
            j["y"] = {{"token", s->y_variable.token}, {"scale", s->y_scale}};
            break;
        }
        case kIcon: {
            const auto* i = ElementAs<IconElement>(e);
            j["token"] = i->variable.token;
            j["switch_type"] = i->switch_type;
            j["scale"] = i->scale;
            j["offset_value"] = i->offset_value;
            j["count"] = i->count;
            j["callback"] = i->callback != nullptr;
            break;
        }
        case kMovingImage: {
            const auto* m = ElementAs<MovingImageElement>(e);
            j["x"] = {{"token", m->x_variable.token}, {"min", m->x_min}, {"max", m->x_max},
                      {"callback", m->x_callback != nullptr}};
            j["y"] = {{"token", m->y_variable.token}, {"min", m->y_min}, {"max", m->y_max},
                      {"callback", m->y_callback != nullptr}};
            break;
        }
        case kSprite: {
            const auto* s = ElementAs<SpriteElement>(e);
            j["x"] = {{"token", s->x_variable.token}, {"scale", s->x_scale}, {"callback", s->x_callback != nullptr}};
            j["y"] = {{"token", s->y_variable.token}, {"scale", s->y_scale}, {"callback", s->y_callback != nullptr}};
            j["rotation"] = {{"token", s->rotation_variable.token},
                             {"scale", s->rotation_scale},
                             {"callback", s->rotation_callback != nullptr}};
            j["texture_scale"] = {s->texture_scale_x, s->texture_scale_y};
            break;
        }
        default:
            break;
    }
    json children = json::array();
    if (e->children != nullptr && depth + 1 < kMaxTreeDepth)
        for (size_t i = 0; e->children[i] != nullptr && *budget > 0; ++i)
            children.push_back(Element(e->children[i], depth + 1, budget));
    j["children"] = children;
    return j;
}

const char* AreaKind(uint32_t kind) {
    switch (kind) {
        case kMouseParent: return "parent";
        case kMouseChild: return "child";
        case kMouseTooltip: return "tooltip";
        case kMouseEndParent: return "end_parent";
        case kMouseEndList: return "end_list";
        default: return "unknown";
    }
}

json Areas(const MouseArea* list) {
    json out = json::array();
    if (list == nullptr) return out;
    for (size_t i = 0; i < kMaxMouseRecords; ++i) {
        const MouseArea& a = list[i];
        json j;
        j["kind"] = AreaKind(a.kind);
        j["box"] = {a.box.x, a.box.y, a.box.width, a.box.height};
        j["cursor"] = a.cursor;
        j["help_id"] = a.help_id;
        j["flags"] = a.event_flags;
        j["event"] = a.event_id;
        const bool tooltip = a.kind == kMouseTooltip;
        j["handler"] = !tooltip && a.action.handler != nullptr;
        j["text"] = tooltip && a.action.text != nullptr ? json(a.action.text) : json(nullptr);
        j["tooltip_callback"] = tooltip && a.tooltip_args != nullptr && a.tooltip_args->callback != nullptr;
        out.push_back(j);
        if (a.kind == kMouseEndList) break;
    }
    return out;
}

}  // namespace

json InspectModule(const LoadedModule& module) {
    const ModuleLinkage& l = module.linkage();
    json j;
    j["module"] = module.name();
    j["linkage"] = {{"module_id", l.module_id}, {"version", l.module_version}, {"status", l.status},
                    {"reserved", l.reserved}};
    json gauges = json::array();
    for (const GaugeHeader* g : module.gauges()) {
        size_t budget = kMaxElements;
        gauges.push_back({{"name", g->name},
                          {"version", g->version},
                          {"size_mm", g->default_size_mm},
                          {"service_callback", g->service != nullptr},
                          {"root", Element(g->elements[0], 0, &budget)},
                          {"mouse", Areas(g->mouse_areas)}});
    }
    j["gauges"] = gauges;
    json bitmaps = json::array();
    const BitmapTable& table = module.bitmaps();
    for (uint32_t i = 0; i < table.count; ++i) {
        BitmapSize size;
        const bool ok = ReadBitmapSize(table.entries[i], &size);
        bitmaps.push_back({{"id", table.entries[i].id},
                           {"width", ok ? json(size.width) : json(nullptr)},
                           {"height", ok ? json(size.height) : json(nullptr)},
                           {"bpp", ok ? json(size.bpp) : json(nullptr)}});
    }
    j["bitmaps"] = bitmaps;
    return j;
}

}  // namespace host
