// The module's bitmaps by id. Filled by the bitmap generator once the artwork exists.
#include "module.h"

const BitmapTable ModuleBitmaps = {.count = 0, .entries = nullptr};
