#include "mouse_router.h"

namespace host {

namespace {

struct Box {
    int64_t x0, y0, x1, y1;  // x1, y1 exclusive
    bool Contains(int64_t x, int64_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

Box BoxOf(const MouseBox& b) {
    return Box{b.x, b.y, static_cast<int64_t>(b.x) + b.width, static_cast<int64_t>(b.y) + b.height};
}

struct Open {
    const MouseArea* record;
    Box box;
    bool contains;  // the point lies in this parent and in every parent around it
    const MouseArea* tooltip;
};

}  // namespace

MouseHit HitTest(const MouseArea* list, int32_t x, int32_t y, int32_t width, int32_t height) {
    MouseHit hit;
    if (list == nullptr) return hit;
    const Box gauge{0, 0, width > 0 ? width : INT32_MAX, height > 0 ? height : INT32_MAX};
    constexpr size_t kMaxDepth = 16;
    Open stack[kMaxDepth];
    size_t depth = 0;
    size_t best_depth = 0;

    auto close = [&] {
        const Open& top = stack[depth - 1];
        const bool gives = top.record->help_id != 0 || top.tooltip != nullptr;
        // The innermost parent that gives a tooltip wins; among equals the first in the list.
        if (top.contains && gives && depth > best_depth) {
            best_depth = depth;
            hit.parent = top.record;
            hit.tooltip = top.tooltip;
        }
        --depth;
    };

    for (size_t i = 0; i < kMaxMouseRecords; ++i) {
        const MouseArea& area = list[i];
        if (area.kind == kMouseEndList) break;
        switch (area.kind) {
            case kMouseParent: {
                const Box& around = depth > 0 ? stack[depth - 1].box : gauge;
                const bool whole = area.box.x == 0 && area.box.y == 0 && area.box.width == 0 &&
                                   area.box.height == 0;
                const Box box = whole ? around : BoxOf(area.box);
                const bool inside = (depth == 0 || stack[depth - 1].contains) &&
                                    (depth > 0 || gauge.Contains(x, y)) && box.Contains(x, y);
                if (depth == kMaxDepth) break;  // nesting this deep: ignored
                stack[depth++] = Open{&area, box, inside, nullptr};
                break;
            }
            case kMouseEndParent:
                if (depth > 0) close();
                break;
            case kMouseChild:
                if (hit.child == nullptr && (depth == 0 || stack[depth - 1].contains) &&
                    BoxOf(area.box).Contains(x, y))
                    hit.child = &area;
                break;
            case kMouseTooltip:
                if (depth > 0 && stack[depth - 1].tooltip == nullptr) stack[depth - 1].tooltip = &area;
                break;
            default:
                break;  // a kind we do not know: skipped
        }
    }
    while (depth > 0) close();  // parents left open by a list without their end records
    return hit;
}

}  // namespace host
