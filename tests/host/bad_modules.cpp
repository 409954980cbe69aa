// Modules the loader must refuse: built with -DBAD_VERSION or -DBAD_ID, each a frame with one
// plain gauge and a Linkage whose head is wrong.
#include "module.h"

extern GaugeHeader BadGauge;

namespace {
StaticImageElement root = {
    .header = {.kind = kStaticImage, .bitmap_id = 1, .x = 0, .y = 0, .owner = &BadGauge, .image_flags = 0x1},
};
ElementHeader* elements[] = {&root.header};
MouseArea mouse[] = {MouseParentArea(kWholeGauge, 0), kMouseEndOfParent, kMouseEndOfList};
}  // namespace

GaugeHeader BadGauge = {
    .version = kGaugeHeaderVersion,
    .name = "Bad",
    .elements = elements,
    .routines = kModuleRoutines,
    .default_size_mm = 100,
    .mouse_areas = mouse,
};

ModuleLinkage Linkage = {
#if defined(BAD_VERSION)
    .module_id = kModuleId, .module_init = ModuleInit, .module_deinit = ModuleDeinit, .status = 0,
    .reserved = 0, .module_version = 0x0700,
#else
    .module_id = 0x12, .module_init = ModuleInit, .module_deinit = ModuleDeinit, .status = 0,
    .reserved = 0, .module_version = kModuleVersion,
#endif
    .gauges = {&BadGauge, nullptr},
};

const BitmapTable ModuleBitmaps = {.count = 0, .entries = nullptr};
