// Gauge records shared by the modules and the host.
//
// Every gauge is static data: a GaugeHeader, a tree of element records, a mouse area list and a
// few callbacks. The host reads these records, refreshes the variables bound in them, calls the
// callbacks, draws the elements and routes clicks. Fields are in the order of the host's published
// layouts. Fields marked "host-owned" are zero in every definition; only the host writes them.
//
// Integers are 32 bits, floats 64 bits (texture scales 32), references are pointers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <climits>
#include <cstring>
#include <type_traits>

struct GaugeHeader;
struct ElementHeader;
struct TooltipArgs;

// ---------------------------------------------------------------------------------------------
// Callback types

// Element value callback: gets the element's record, returns the value that the host uses in
// place of the variable of its axis. A text box's callback also writes the host's text buffer.
using ValueCallback = double (*)(ElementHeader* element);

// The clicked point, in gauge pixels. No handler of ours reads it.
struct MousePoint {
    int32_t x;
    int32_t y;
};

// Mouse handler: clicked point and event flags in, 32-bit result out.
using MouseHandler = uint32_t (*)(const MousePoint* point, uint32_t event_flags);

// Tooltip callback: fills a tooltip's "%1!d!" insert. The host hands over the tooltip's own
// argument record.
using TooltipCallback = double (*)(TooltipArgs* args);

// Gauge service callback: (host data, service code, host data). Codes of interest below.
using GaugeServiceCallback = void (*)(uint32_t host_data, uint32_t service_code, uint32_t extra);

inline constexpr uint32_t kServiceInstall = 2;  // sent before the gauge is installed
inline constexpr uint32_t kServiceKill = 12;    // sent before the gauge is killed

// ---------------------------------------------------------------------------------------------
// Lifecycle routines: one set per module, referenced by every GaugeHeader of the module.

using GaugeRoutine = uint32_t (*)();
using GaugeRoutineWithValue = uint32_t (*)(uint32_t host_value);

struct LifecycleRoutines {
    GaugeRoutine query;
    GaugeRoutineWithValue install;
    GaugeRoutine initialize;
    GaugeRoutine update;
    GaugeRoutineWithValue generate;
    GaugeRoutine draw;
    GaugeRoutine kill;
};

// ---------------------------------------------------------------------------------------------
// HostVariable: binding record of one simulation variable.

struct HostVariable {
    uint32_t token = 0;     // host's number of the variable; 0 = none
    void* pointer = nullptr;  // host-owned; address of a named variable after BindNamedVariable
    uint32_t type = 0;      // host-owned
    // Value of the last refresh: a 64-bit float for most tokens; for the radio frequency tokens
    // a 32-bit BCD integer in the first four bytes. Read and write it with the helpers below.
    alignas(8) unsigned char value[8] = {};
    alignas(8) unsigned char previous[8] = {};  // host-owned
};

inline double VariableNumber(const HostVariable& v) {
    double d;
    std::memcpy(&d, v.value, sizeof d);
    return d;
}
inline void SetVariableNumber(HostVariable& v, double d) { std::memcpy(v.value, &d, sizeof d); }
inline uint32_t VariableBcd(const HostVariable& v) {
    uint32_t u;
    std::memcpy(&u, v.value, sizeof u);
    return u;
}
inline void SetVariableBcd(HostVariable& v, uint32_t bcd) {
    std::memset(v.value, 0, sizeof v.value);
    std::memcpy(v.value, &bcd, sizeof bcd);
}

// A host value made a 32-bit integer by truncation toward zero. NaN, infinities and values beyond
// the range, where a plain conversion is undefined, give INT32_MIN: the "integer indefinite" that
// the panel system's own truncating conversion produces.
inline int32_t TruncateToInt32(double x) {
    if (!(x >= -2147483648.0 && x < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(x);
}

// Type code of a 32-bit integer named variable.
inline constexpr uint32_t kNamedVariableInt32 = 0x13;

constexpr HostVariable Var(uint32_t token) { return HostVariable{.token = token}; }

// ---------------------------------------------------------------------------------------------
// Needle table entry. A needle refers to an array of these plus its entry count.

struct NonlinearityTable {
    int32_t x;       // mark on the dial, gauge coordinates
    int32_t y;
    double value;    // needle value that points from the pivot at the mark
    double host_owned = 0;
};

// ---------------------------------------------------------------------------------------------
// Failure records: (key, action, 0), ended by a record whose key is 0.

struct FailureRecord {
    uint32_t key;
    uint32_t action;
    uint32_t reserved = 0;
};

enum FailureKey : uint32_t {
    kFailEngine = 2,
    kFailPitotStatic = 3,
    kFailVacuum = 4,
    kFailAirspeed = 6,
    kFailAltimeter = 7,
    kFailAttitude = 8,
    kFailComRadio = 9,
    kFailFuelIndicators = 10,
    kFailCompass = 12,
    kFailTurnCoordinator = 18,
    kFailVerticalSpeed = 19,
    kFailElectrical = 20,
    kFailAvionics = 21,
};

enum FailureAction : uint32_t {
    kFailFreeze = 1,  // keeps showing what it showed when the failure began
    kFailZero = 2,    // shows the value 0
    kFailHide = 3,    // not drawn
};

constexpr FailureRecord Failure(uint32_t key, uint32_t action) {
    return FailureRecord{.key = key, .action = action};
}
inline constexpr FailureRecord kFailureEnd{.key = 0, .action = 0};

// ---------------------------------------------------------------------------------------------
// Elements

enum ElementKind : uint32_t {
    kStaticImage = 0,
    kNeedle = 1,
    kString = 2,
    kSlider = 3,
    kIcon = 4,
    kMovingImage = 5,
    kSprite = 6,
};

// Image flags.
inline constexpr uint32_t kImageColorKey = 0x1;  // pure black (0,0,0) pixels are see-through
inline constexpr uint32_t kImageFlag2 = 0x2;
inline constexpr uint32_t kImageFlag10 = 0x10;
inline constexpr uint32_t kImageFlag80 = 0x80;

struct ElementHeader {
    uint32_t kind;
    int32_t bitmap_id;            // -1 on text boxes
    int32_t x;                    // position, gauge coordinates
    int32_t y;
    uint32_t host_owned1[2] = {};
    int32_t offset_x = 0;         // pivot on a needle bitmap, centre point of a sprite
    int32_t offset_y = 0;
    GaugeHeader* owner;           // header of the gauge that holds the element
    uint32_t host_owned2 = 0;
    ElementHeader** children = nullptr;        // drawn over this element, ended by nullptr
    const FailureRecord* failures = nullptr;   // ended by a zero key, or none
    uint32_t image_flags;
    uint32_t special_flags = 0;
    uint32_t reserved = 0;
};

struct StaticImageElement {
    ElementHeader header;
    uint32_t host_owned[4] = {};
};

struct NeedleElement {
    ElementHeader header;
    HostVariable variable;
    NonlinearityTable* table;
    uint32_t entries;
    uint32_t turn_limit;          // degrees per update
    ValueCallback callback = nullptr;
};

inline constexpr size_t kFontFaceSize = 32;

struct StringElement {
    ElementHeader header;
    HostVariable variables[3];    // only the first is ever bound
    char* text = nullptr;         // host-owned: buffer of char_count + 1 characters
    uint32_t box_width;
    uint32_t box_height;
    uint32_t fore_color;          // 0x00BBGGRR
    uint32_t back_color;
    uint32_t highlight_color;
    char font_face[kFontFaceSize];
    uint32_t font_weight;         // 100..900, 400 regular
    uint32_t charset;
    uint32_t format_flags;        // DrawText flags
    uint32_t char_count;
    ValueCallback callback;
};

// Text format flags.
inline constexpr uint32_t kTextCenter = 0x1;
inline constexpr uint32_t kTextVCenter = 0x4;
inline constexpr uint32_t kTextSingleLine = 0x20;

struct SliderElement {
    ElementHeader header;
    HostVariable x_variable;
    double x_scale;
    HostVariable y_variable;
    double y_scale;
};

struct IconElement {
    ElementHeader header;
    HostVariable variable;
    uint32_t switch_type;
    double scale;
    int32_t offset_value;
    uint32_t count;               // number of icons: bitmap_id .. bitmap_id + count - 1
    ValueCallback callback = nullptr;
};

struct MovingImageElement {
    ElementHeader header;
    HostVariable x_variable;
    double x_min;
    double x_max;
    HostVariable y_variable;
    double y_min;
    double y_max;
    ValueCallback x_callback = nullptr;
    ValueCallback y_callback = nullptr;
};

struct SpriteElement {
    ElementHeader header;
    HostVariable x_variable;
    double x_scale;
    HostVariable y_variable;
    double y_scale;
    HostVariable rotation_variable;
    double rotation_scale;
    float texture_scale_x;
    float texture_scale_y;
    ValueCallback x_callback = nullptr;
    ValueCallback y_callback = nullptr;
    ValueCallback rotation_callback = nullptr;
};

template <typename Kind> inline constexpr uint32_t kKindOf = 0;
template <> inline constexpr uint32_t kKindOf<StaticImageElement> = kStaticImage;
template <> inline constexpr uint32_t kKindOf<NeedleElement> = kNeedle;
template <> inline constexpr uint32_t kKindOf<StringElement> = kString;
template <> inline constexpr uint32_t kKindOf<SliderElement> = kSlider;
template <> inline constexpr uint32_t kKindOf<IconElement> = kIcon;
template <> inline constexpr uint32_t kKindOf<MovingImageElement> = kMovingImage;
template <> inline constexpr uint32_t kKindOf<SpriteElement> = kSprite;

// The element record whose header this is. Every kind starts with its ElementHeader, so the
// header's address is the record's address.
template <typename Kind>
Kind* ElementAs(ElementHeader* header) {
    static_assert(std::is_standard_layout_v<Kind>);
    static_assert(offsetof(Kind, header) == 0);
    return reinterpret_cast<Kind*>(header);
}
template <typename Kind>
const Kind* ElementAs(const ElementHeader* header) {
    static_assert(std::is_standard_layout_v<Kind>);
    static_assert(offsetof(Kind, header) == 0);
    return reinterpret_cast<const Kind*>(header);
}

// ---------------------------------------------------------------------------------------------
// Mouse areas

enum MouseAreaKind : uint32_t {
    kMouseEndList = 0,
    kMouseParent = 1,
    kMouseChild = 2,
    kMouseEndParent = 3,
    kMouseTooltip = 4,
};

enum CursorCode : int32_t {
    kCursorNone = -1,
    kCursorUpArrow = 1,
    kCursorDownArrow = 2,
    kCursorHand = 5,
};

inline constexpr uint32_t kMouseLeftSingle = 0x20000000;  // acts once per click
inline constexpr uint32_t kMouseLeftRepeat = 0x20200000;  // acts again and again while held
inline constexpr uint32_t kMouseRepeatBit = 0x00200000;

struct MouseBox {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// A child's handler or a tooltip's text: which one the kind says.
union MouseAction {
    MouseHandler handler;
    const char* text;
};

struct MouseArea {
    uint32_t kind;
    MouseBox box;
    int32_t cursor;
    uint32_t help_id;
    uint32_t event_flags;
    uint32_t event_id;            // host event; on a tooltip the number of TooltipArgs records
    MouseAction action;
    TooltipArgs* tooltip_args;
};

struct TooltipArgs {
    HostVariable variable;
    uint32_t host_owned1[2] = {};
    TooltipCallback callback = nullptr;
    uint32_t host_owned2[2] = {};
};

// A parent: its box (0,0,0,0 for the whole gauge) and the host's help text id, or 0.
constexpr MouseArea MouseParentArea(MouseBox box, uint32_t help_id) {
    return MouseArea{.kind = kMouseParent, .box = box, .cursor = kCursorNone, .help_id = help_id,
                     .event_flags = 0, .event_id = 0, .action = {.handler = nullptr},
                     .tooltip_args = nullptr};
}
// A child that sends a host event by itself.
constexpr MouseArea MouseEventArea(MouseBox box, int32_t cursor, uint32_t flags, uint32_t event_id) {
    return MouseArea{.kind = kMouseChild, .box = box, .cursor = cursor, .help_id = 0,
                     .event_flags = flags, .event_id = event_id, .action = {.handler = nullptr},
                     .tooltip_args = nullptr};
}
// A child that calls a MouseHandler.
constexpr MouseArea MouseHandlerArea(MouseBox box, int32_t cursor, uint32_t flags, MouseHandler handler) {
    return MouseArea{.kind = kMouseChild, .box = box, .cursor = cursor, .help_id = 0,
                     .event_flags = flags, .event_id = 0, .action = {.handler = handler},
                     .tooltip_args = nullptr};
}
// A tooltip shown over the enclosing parent's box.
constexpr MouseArea MouseTooltipArea(const char* text, TooltipArgs* args) {
    return MouseArea{.kind = kMouseTooltip, .box = {0, 0, 0, 0}, .cursor = kCursorNone,
                     .help_id = 0, .event_flags = 0, .event_id = 1, .action = {.text = text},
                     .tooltip_args = args};
}
inline constexpr MouseArea kMouseEndOfParent{.kind = kMouseEndParent, .box = {0, 0, 0, 0},
                                             .cursor = kCursorNone, .help_id = 0,
                                             .event_flags = 0, .event_id = 0,
                                             .action = {.handler = nullptr},
                                             .tooltip_args = nullptr};
inline constexpr MouseArea kMouseEndOfList{.kind = kMouseEndList, .box = {0, 0, 0, 0},
                                           .cursor = kCursorNone, .help_id = 0,
                                           .event_flags = 0, .event_id = 0,
                                           .action = {.handler = nullptr},
                                           .tooltip_args = nullptr};
inline constexpr MouseBox kWholeGauge{0, 0, 0, 0};

// ---------------------------------------------------------------------------------------------
// GaugeHeader

inline constexpr uint32_t kGaugeHeaderVersion = 800;

struct GaugeHeader {
    uint32_t version;
    const char* name;             // registration name
    ElementHeader** elements;     // its single entry is the root element
    LifecycleRoutines routines;   // query, install, initialize, update, generate, draw, kill
    uint32_t reserved = 0;
    uint32_t default_size_mm;
    uint32_t host_owned1[4] = {};
    MouseArea* mouse_areas;
    GaugeServiceCallback service = nullptr;
    uint32_t host_owned2[4] = {};
};

// ---------------------------------------------------------------------------------------------
// Layouts. Both sides compile these headers; the offsets pin the field order.

static_assert(std::is_standard_layout_v<HostVariable>);
static_assert(offsetof(HostVariable, token) == 0);
static_assert(offsetof(HostVariable, pointer) == 8);
static_assert(offsetof(HostVariable, type) == 16);
static_assert(offsetof(HostVariable, value) == 24);
static_assert(offsetof(HostVariable, previous) == 32);
static_assert(sizeof(HostVariable) == 40);

static_assert(sizeof(NonlinearityTable) == 24);
static_assert(offsetof(NonlinearityTable, value) == 8);
static_assert(sizeof(FailureRecord) == 12);

static_assert(std::is_standard_layout_v<ElementHeader>);
static_assert(offsetof(ElementHeader, kind) == 0);
static_assert(offsetof(ElementHeader, bitmap_id) == 4);
static_assert(offsetof(ElementHeader, x) == 8);
static_assert(offsetof(ElementHeader, y) == 12);
static_assert(offsetof(ElementHeader, host_owned1) == 16);
static_assert(offsetof(ElementHeader, offset_x) == 24);
static_assert(offsetof(ElementHeader, offset_y) == 28);
static_assert(offsetof(ElementHeader, owner) == 32);
static_assert(offsetof(ElementHeader, host_owned2) == 40);
static_assert(offsetof(ElementHeader, children) == 48);
static_assert(offsetof(ElementHeader, failures) == 56);
static_assert(offsetof(ElementHeader, image_flags) == 64);
static_assert(offsetof(ElementHeader, special_flags) == 68);
static_assert(offsetof(ElementHeader, reserved) == 72);
static_assert(sizeof(ElementHeader) == 80);

static_assert(offsetof(NeedleElement, variable) == 80);
static_assert(offsetof(NeedleElement, table) == 120);
static_assert(offsetof(NeedleElement, entries) == 128);
static_assert(offsetof(NeedleElement, turn_limit) == 132);
static_assert(offsetof(NeedleElement, callback) == 136);

static_assert(offsetof(StringElement, variables) == 80);
static_assert(offsetof(StringElement, text) == 200);
static_assert(offsetof(StringElement, box_width) == 208);
static_assert(offsetof(StringElement, fore_color) == 216);
static_assert(offsetof(StringElement, highlight_color) == 224);
static_assert(offsetof(StringElement, font_face) == 228);
static_assert(offsetof(StringElement, font_weight) == 260);
static_assert(offsetof(StringElement, charset) == 264);
static_assert(offsetof(StringElement, format_flags) == 268);
static_assert(offsetof(StringElement, char_count) == 272);
static_assert(offsetof(StringElement, callback) == 280);

static_assert(offsetof(SliderElement, x_variable) == 80);
static_assert(offsetof(SliderElement, x_scale) == 120);
static_assert(offsetof(SliderElement, y_variable) == 128);
static_assert(offsetof(SliderElement, y_scale) == 168);

static_assert(offsetof(IconElement, variable) == 80);
static_assert(offsetof(IconElement, switch_type) == 120);
static_assert(offsetof(IconElement, scale) == 128);
static_assert(offsetof(IconElement, offset_value) == 136);
static_assert(offsetof(IconElement, count) == 140);
static_assert(offsetof(IconElement, callback) == 144);

static_assert(offsetof(MovingImageElement, x_variable) == 80);
static_assert(offsetof(MovingImageElement, x_min) == 120);
static_assert(offsetof(MovingImageElement, x_max) == 128);
static_assert(offsetof(MovingImageElement, y_variable) == 136);
static_assert(offsetof(MovingImageElement, y_min) == 176);
static_assert(offsetof(MovingImageElement, y_max) == 184);
static_assert(offsetof(MovingImageElement, x_callback) == 192);
static_assert(offsetof(MovingImageElement, y_callback) == 200);

static_assert(offsetof(SpriteElement, x_variable) == 80);
static_assert(offsetof(SpriteElement, x_scale) == 120);
static_assert(offsetof(SpriteElement, y_variable) == 128);
static_assert(offsetof(SpriteElement, y_scale) == 168);
static_assert(offsetof(SpriteElement, rotation_variable) == 176);
static_assert(offsetof(SpriteElement, rotation_scale) == 216);
static_assert(offsetof(SpriteElement, texture_scale_x) == 224);
static_assert(offsetof(SpriteElement, texture_scale_y) == 228);
static_assert(offsetof(SpriteElement, x_callback) == 232);
static_assert(offsetof(SpriteElement, rotation_callback) == 248);

static_assert(std::is_standard_layout_v<MouseArea>);
static_assert(offsetof(MouseArea, box) == 4);
static_assert(offsetof(MouseArea, cursor) == 20);
static_assert(offsetof(MouseArea, help_id) == 24);
static_assert(offsetof(MouseArea, event_flags) == 28);
static_assert(offsetof(MouseArea, event_id) == 32);
static_assert(offsetof(MouseArea, action) == 40);
static_assert(offsetof(MouseArea, tooltip_args) == 48);
static_assert(sizeof(MouseArea) == 56);

static_assert(offsetof(TooltipArgs, variable) == 0);
static_assert(offsetof(TooltipArgs, callback) == 48);

static_assert(std::is_standard_layout_v<GaugeHeader>);
static_assert(offsetof(GaugeHeader, version) == 0);
static_assert(offsetof(GaugeHeader, name) == 8);
static_assert(offsetof(GaugeHeader, elements) == 16);
static_assert(offsetof(GaugeHeader, routines) == 24);
static_assert(sizeof(LifecycleRoutines) == 7 * sizeof(void*));
static_assert(offsetof(GaugeHeader, reserved) == 80);
static_assert(offsetof(GaugeHeader, default_size_mm) == 84);
static_assert(offsetof(GaugeHeader, mouse_areas) == 104);
static_assert(offsetof(GaugeHeader, service) == 112);
