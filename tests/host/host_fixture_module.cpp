// A gauge module for the host's tests: every element kind, failure lists, a mouse list with nested
// parents, a tooltip insert, repeat and single children, and three gauges that publish and bind a
// named variable. The module reports what it sees through host events (ids 0xE000 and up), since
// it exports nothing that a test could read directly.
#include "module.h"
#include "text_format.h"

extern GaugeHeader DialGauge;
extern GaugeHeader PublisherGauge;
extern GaugeHeader BinderGauge;
extern GaugeHeader PlainGauge;

namespace {

// ---- Module state ----------------------------------------------------------------------------

double DiscValue = 0;      // stepped by the disc arrows
double TooltipValue = 42;  // fills the tooltip's insert
int32_t Published = 7;     // published as "hostfixture.value"
HostVariable Binding = {};

// Report to the test through the host's event log.
void Report(uint32_t id, uint32_t arg) { HostServices()->trigger_event(id, arg); }

// ---- Dial: every element kind ----------------------------------------------------------------

// Marks straight up, right and down of the pivot (50, 50): 0.9 degrees per unit.
NonlinearityTable dial_table[] = {
    {.x = 50, .y = 0, .value = 0},
    {.x = 100, .y = 50, .value = 100},
    {.x = 50, .y = 100, .value = 200},
};
// Two opposite marks, as the flight computer's disc has them.
NonlinearityTable disc_table[] = {
    {.x = 50, .y = 10, .value = 0},
    {.x = 50, .y = 90, .value = 1799},
};

FailureRecord freeze_list[] = {Failure(kFailAltimeter, kFailFreeze), kFailureEnd};
FailureRecord needle_list[] = {Failure(kFailAirspeed, kFailZero), Failure(kFailPitotStatic, kFailFreeze),
                               kFailureEnd};
FailureRecord hide_list[] = {Failure(kFailElectrical, kFailHide), kFailureEnd};
FailureRecord empty_list[] = {kFailureEnd};

double DiscCallback(ElementHeader*) { return DiscValue; }

// Writes exactly its character count and the zero.
double KollsmanText(ElementHeader* e) {
    auto* s = ElementAs<StringElement>(e);
    const double v = VariableNumber(s->variables[0]);
    text_format::Format(s->text, s->char_count, "%4d", static_cast<int32_t>(v > -1e9 && v < 1e9 ? v : 0));
    return v;
}

// Breaks the contract: fills the whole buffer, the terminator's place included, and returns NaN.
double WildText(ElementHeader* e) {
    auto* s = ElementAs<StringElement>(e);
    for (uint32_t i = 0; i <= s->char_count; ++i) s->text[i] = 'X';
    return __builtin_nan("");
}

double StripY(ElementHeader*) { return 1.0; }

StringElement dial_text = {
    .header = {.kind = kString, .bitmap_id = -1, .x = 10, .y = 60, .owner = &DialGauge, .image_flags = 0x2},
    .variables = {Var(75), Var(0), Var(0)},
    .box_width = 40,
    .box_height = 12,
    .fore_color = 0xFFFFFF,
    .back_color = 0x010101,
    .highlight_color = 0x010101,
    .font_face = "Courier New",
    .font_weight = 100,
    .charset = 1,
    .format_flags = 0x25,
    .char_count = 4,
    .callback = KollsmanText,
};
ElementHeader* needle_children[] = {&dial_text.header, nullptr};

NeedleElement dial_needle = {
    .header = {.kind = kNeedle, .bitmap_id = 0x110, .x = 50, .y = 50, .offset_x = 3, .offset_y = 2,
               .owner = &DialGauge, .children = needle_children, .failures = needle_list, .image_flags = 0x3},
    .variable = Var(61),
    .table = dial_table,
    .entries = 3,
    .turn_limit = 6,
};

NeedleElement dial_disc = {
    .header = {.kind = kNeedle, .bitmap_id = 0x120, .x = 50, .y = 50, .offset_x = 40, .offset_y = 40,
               .owner = &DialGauge, .image_flags = 0x3},
    .variable = Var(0),
    .table = disc_table,
    .entries = 2,
    .turn_limit = 6,
    .callback = DiscCallback,
};

IconElement dial_lamp = {
    .header = {.kind = kIcon, .bitmap_id = 0x200, .x = 0, .y = 0, .owner = &DialGauge, .failures = hide_list,
               .image_flags = 0x3},
    .variable = Var(401),
    .switch_type = 0,
    .scale = 0,
    .offset_value = 0,
    .count = 3,
};

SliderElement dial_slider = {
    .header = {.kind = kSlider, .bitmap_id = 0x300, .x = 20, .y = 20, .owner = &DialGauge,
               .failures = empty_list, .image_flags = 0x3},
    .x_variable = Var(69),
    .x_scale = 0.5,
    .y_variable = Var(0),
    .y_scale = 0,
};

MovingImageElement dial_strip = {
    .header = {.kind = kMovingImage, .bitmap_id = 0x400, .x = 5, .y = 5, .owner = &DialGauge,
               .image_flags = 0x3},
    .x_variable = Var(83),
    .x_min = 0,
    .x_max = 360,
    .y_variable = Var(0),
    .y_min = 0,
    .y_max = 0,
    .y_callback = StripY,
};

SpriteElement dial_sprite = {
    .header = {.kind = kSprite, .bitmap_id = 0x500, .x = 0, .y = 0, .offset_x = 50, .offset_y = 50,
               .owner = &DialGauge, .image_flags = 0x81},
    .x_variable = Var(0),
    .x_scale = 0,
    .y_variable = Var(78),
    .y_scale = 2.0,
    .rotation_variable = Var(80),
    .rotation_scale = -1.0,
    .texture_scale_x = 0.5f,
    .texture_scale_y = 0.5f,
};

StringElement dial_wild_text = {
    .header = {.kind = kString, .bitmap_id = -1, .x = 60, .y = 60, .owner = &DialGauge,
               .failures = hide_list, .image_flags = 0x2},
    .variables = {Var(0), Var(0), Var(0)},
    .box_width = 30,
    .box_height = 12,
    .fore_color = 0x010101,
    .back_color = 0xFFFFFF,
    .highlight_color = 0x010101,
    .font_face = "Courier New",
    .font_weight = 400,
    .charset = 1,
    .format_flags = 0x25,
    .char_count = 3,
    .callback = WildText,
};

ElementHeader* dial_children[] = {&dial_needle.header, &dial_disc.header,   &dial_lamp.header,
                                  &dial_slider.header, &dial_strip.header,  &dial_sprite.header,
                                  &dial_wild_text.header, nullptr};

StaticImageElement dial_root = {
    .header = {.kind = kStaticImage, .bitmap_id = 0x100, .x = 0, .y = 0, .owner = &DialGauge,
               .children = dial_children, .failures = freeze_list, .image_flags = 0x1},
};
// No zero entry after the root: the host reads only the root.
ElementHeader* dial_elements[] = {&dial_root.header};

uint32_t DialButton(const MousePoint* point, uint32_t) {
    Report(0xE200, static_cast<uint32_t>(point->x));
    return 0;
}
uint32_t DiscStep(const MousePoint*, uint32_t) {
    DiscValue += 100;
    return 0;
}
uint32_t ToggleWindow(const MousePoint*, uint32_t) {
    const uint32_t result = HostServices()->toggle_panel_window(77);
    Report(0xE300, result);
    return result;
}
double TooltipCallback(TooltipArgs*) { return TooltipValue; }

TooltipArgs dial_tooltip_args = {.variable = Var(0), .callback = TooltipCallback};

MouseArea dial_mouse[] = {
    MouseParentArea(kWholeGauge, 43850),
    MouseTooltipArea("Value: %1!d! units", &dial_tooltip_args),
    MouseParentArea({0, 80, 20, 20}, 0),  // gives nothing
    kMouseEndOfParent,
    MouseParentArea({20, 80, 20, 20}, 101),
    kMouseEndOfParent,
    MouseHandlerArea({20, 80, 20, 20}, kCursorHand, kMouseLeftSingle, DialButton),
    MouseEventArea({0, 0, 10, 10}, kCursorDownArrow, kMouseLeftSingle, 0x10001),
    MouseEventArea({10, 0, 10, 10}, kCursorUpArrow, kMouseLeftRepeat, 0x10002),
    MouseHandlerArea({30, 0, 10, 10}, kCursorUpArrow, kMouseLeftRepeat, DiscStep),
    MouseHandlerArea({40, 0, 10, 10}, kCursorHand, kMouseLeftSingle, ToggleWindow),
    MouseEventArea({60, 0, 10, 10}, kCursorHand, 0, 0x10009),  // no left-button flag: never acts
    kMouseEndOfParent,
    kMouseEndOfList,
};

// ---- Publisher and Binder: a named variable set up at code 2 -------------------------------

// Code 2 must come before install and code 12 before kill: the host's update operation answers 1
// only for an installed instance, so the service reports what it answers at each code.
void PublisherService(uint32_t, uint32_t code, uint32_t) {
    if (code == kServiceInstall) {
        Report(0xE002, HostServices()->element_list_update(nullptr));
        HostServices()->register_named_variable(&Published, kNamedVariableInt32, "hostfixture.value");
    } else if (code == kServiceKill) {
        Report(0xE00C, HostServices()->element_list_update(nullptr));
        HostServices()->unregister_named_variable("hostfixture.value");
    }
}

void BinderService(uint32_t, uint32_t code, uint32_t) {
    if (code == kServiceInstall) {
        HostServices()->bind_named_variable(&Binding, "hostfixture.value");
        Report(0xE102, Binding.pointer != nullptr ? static_cast<uint32_t>(*static_cast<int32_t*>(Binding.pointer))
                                                  : 0xFFFFFFFFu);
    } else if (code == kServiceKill) {
        Report(0xE10C, 0);
    }
}

StaticImageElement publisher_root = {
    .header = {.kind = kStaticImage, .bitmap_id = 0x600, .x = 0, .y = 0, .owner = &PublisherGauge,
               .image_flags = 0x1},
};
ElementHeader* publisher_elements[] = {&publisher_root.header, nullptr};

StaticImageElement binder_root = {
    .header = {.kind = kStaticImage, .bitmap_id = 0x700, .x = 0, .y = 0, .owner = &BinderGauge,
               .image_flags = 0x1},
};
ElementHeader* binder_elements[] = {&binder_root.header, nullptr};

StaticImageElement plain_root = {
    .header = {.kind = kStaticImage, .bitmap_id = 0x800, .x = 0, .y = 0, .owner = &PlainGauge,
               .image_flags = 0x1},
};
ElementHeader* plain_elements[] = {&plain_root.header, nullptr};

MouseArea plain_mouse[] = {
    MouseParentArea(kWholeGauge, 0),
    kMouseEndOfParent,
    kMouseEndOfList,
};

}  // namespace

GaugeHeader DialGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Dial",
    .elements = dial_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = dial_mouse,
};
GaugeHeader PublisherGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Publisher",
    .elements = publisher_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = plain_mouse,
    .service = PublisherService,
};
GaugeHeader BinderGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Binder",
    .elements = binder_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = plain_mouse,
    .service = BinderService,
};
GaugeHeader PlainGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Plain",
    .elements = plain_elements,
    .routines = kModuleRoutines,
    .default_size_mm = 12,
    .mouse_areas = plain_mouse,
};

ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&DialGauge, &PublisherGauge, &BinderGauge, &PlainGauge, nullptr},
};

const BitmapTable ModuleBitmaps = {.count = 0, .entries = nullptr};
