// What a gauge module exports, and the frame code that every module compiles in.
//
// A module exports exactly four names (C linkage):
//   Linkage           module id, version and the ordered list of its GaugeHeaders
//   ImportTable       the entry the host fills with its HostServiceTable address
//   ModuleEntryPoint  called by the host right after loading and right before unloading
//   ModuleBitmaps     the module's bitmaps by id (BMP file bytes)
#pragma once

#include <cstddef>
#include <cstdint>

#include "gauge.h"
#include "host_services.h"

#if defined(__GNUC__)
#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define MODULE_EXPORT extern "C"
#endif

inline constexpr uint32_t kModuleId = 0x13;
inline constexpr uint32_t kModuleVersion = 0x0800;  // not the GaugeHeader version (800)

// Room for the gauge list; the entries after the list's zero end stay zero.
inline constexpr size_t kLinkageCapacity = 32;

struct ModuleLinkage {
    uint32_t module_id;
    void (*module_init)();
    void (*module_deinit)();
    uint32_t status;
    uint32_t reserved;
    uint32_t module_version;
    GaugeHeader* gauges[kLinkageCapacity];  // in order, ended by nullptr
};

inline constexpr uint32_t kImportHostServices = 0x0F;

struct ImportEntry {
    uint32_t id;
    HostServiceTable* pointer;
};

struct ModuleImportTable {
    ImportEntry entries[2];  // (0x0F, host services), (0, none)
};

// Entry point reasons, as the platform's loader gives them.
inline constexpr uint32_t kEntryProcessDetach = 0;
inline constexpr uint32_t kEntryProcessAttach = 1;

using ModuleEntryPointFn = int32_t (*)(void* module_handle, uint32_t reason, void* reserved);

// One bitmap: the bytes of a BMP file.
struct BitmapResource {
    uint32_t id;
    const unsigned char* bytes;
    uint32_t size;
};

struct BitmapTable {
    uint32_t count;
    const BitmapResource* entries;  // sorted by id
};

// Exported symbol names, for the host's loader.
inline constexpr const char* kLinkageSymbol = "Linkage";
inline constexpr const char* kImportTableSymbol = "ImportTable";
inline constexpr const char* kEntryPointSymbol = "ModuleEntryPoint";
inline constexpr const char* kBitmapsSymbol = "ModuleBitmaps";

// Defined by each module (its gauge list and its bitmaps) and by the shared frame code.
MODULE_EXPORT ModuleLinkage Linkage;
MODULE_EXPORT ModuleImportTable ImportTable;
MODULE_EXPORT const BitmapTable ModuleBitmaps;
MODULE_EXPORT int32_t ModuleEntryPoint(void* module_handle, uint32_t reason, void* reserved);

// The module's one set of lifecycle routines (frame/lifecycle.cpp). They act on the root element
// of the first gauge in Linkage, whichever gauge the host calls them for.
uint32_t ModuleQuery();
uint32_t ModuleInstall(uint32_t host_value);
uint32_t ModuleInitialize();
uint32_t ModuleUpdate();
uint32_t ModuleGenerate(uint32_t host_value);
uint32_t ModuleDraw();
uint32_t ModuleKill();

inline constexpr LifecycleRoutines kModuleRoutines = {
    .query = ModuleQuery,
    .install = ModuleInstall,
    .initialize = ModuleInitialize,
    .update = ModuleUpdate,
    .generate = ModuleGenerate,
    .draw = ModuleDraw,
    .kill = ModuleKill,
};

void ModuleInit();
void ModuleDeinit();

// The head of every module's Linkage; the module adds its gauge list.
#define MODULE_LINKAGE_HEAD                                                            \
    .module_id = kModuleId, .module_init = ModuleInit, .module_deinit = ModuleDeinit, \
    .status = 0, .reserved = 0, .module_version = kModuleVersion

// The host's service table, read anew at each call.
inline HostServiceTable* HostServices() { return ImportTable.entries[0].pointer; }

// Finds a bitmap in a table by id, or nullptr.
inline const BitmapResource* FindBitmap(const BitmapTable& table, uint32_t id) {
    size_t lo = 0, hi = table.count;
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        if (table.entries[mid].id < id) lo = mid + 1;
        else hi = mid;
    }
    if (lo < table.count && table.entries[lo].id == id) return &table.entries[lo];
    return nullptr;
}

// Number of gauges in a Linkage: the list ends at its first zero entry.
inline size_t GaugeCount(const ModuleLinkage& linkage) {
    size_t n = 0;
    while (n < kLinkageCapacity && linkage.gauges[n] != nullptr) ++n;
    return n;
}
