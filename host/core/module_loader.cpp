#include "module_loader.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace host {

namespace {

const BitmapTable kNoBitmaps = {.count = 0, .entries = nullptr};

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

}  // namespace

std::string LoadedModule::NameFromPath(std::string_view path) {
    size_t slash = path.find_last_of('/');
    std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (file.substr(0, 3) == "lib") file.remove_prefix(3);
    size_t dot = file.find('.');
    if (dot != std::string_view::npos) file = file.substr(0, dot);
    return std::string(file);
}

std::unique_ptr<LoadedModule> LoadedModule::Load(const std::string& path, HostServiceTable* services,
                                                 std::string* error) {
    std::unique_ptr<LoadedModule> module(new LoadedModule());
    module->path_ = path;
    module->name_ = NameFromPath(path);
    auto fail = [&](const std::string& what) {
        *error = "module " + path + ": " + what;
        return nullptr;
    };

    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        return fail(std::string("cannot load: ") + (why ? why : "unknown reason"));
    }
    module->handle_ = handle;
    // From here on the destructor would run deinit; until the module is accepted, close by hand.
    auto close = [&] {
        if (module->entry_) module->entry_(handle, kEntryProcessDetach, nullptr);
        dlclose(handle);
        module->handle_ = nullptr;
        module->entry_ = nullptr;
        module->linkage_ = nullptr;
    };
    auto refuse = [&](const std::string& what) {
        close();
        return fail(what);
    };

    auto entry = reinterpret_cast<ModuleEntryPointFn>(dlsym(handle, kEntryPointSymbol));
    if (entry == nullptr) return refuse(std::string("no symbol ") + kEntryPointSymbol);
    if (entry(handle, kEntryProcessAttach, nullptr) == 0) {
        dlclose(handle);
        module->handle_ = nullptr;
        return fail("its entry point refused to load (returned 0)");
    }
    module->entry_ = entry;

    auto* imports = static_cast<ModuleImportTable*>(dlsym(handle, kImportTableSymbol));
    if (imports == nullptr) return refuse(std::string("no symbol ") + kImportTableSymbol);
    if (imports->entries[0].id != kImportHostServices)
        return refuse("ImportTable's first entry has id " + Hex(imports->entries[0].id) + ", expected " +
                      Hex(kImportHostServices));
    imports->entries[0].pointer = services;

    auto* linkage = static_cast<ModuleLinkage*>(dlsym(handle, kLinkageSymbol));
    if (linkage == nullptr) return refuse(std::string("no symbol ") + kLinkageSymbol);
    if (linkage->module_id != kModuleId)
        return refuse("Linkage has module id " + Hex(linkage->module_id) + ", expected " + Hex(kModuleId));
    if (linkage->module_version != kModuleVersion)
        return refuse("Linkage has version " + Hex(linkage->module_version) + ", expected " +
                      Hex(kModuleVersion));
    const size_t count = GaugeCount(*linkage);
    for (size_t i = 0; i < count; ++i) {
        GaugeHeader* g = linkage->gauges[i];
        // The lifecycle routines walk to the first gauge's root; every gauge needs a name and a root.
        if (g->name == nullptr || g->elements == nullptr || g->elements[0] == nullptr)
            return refuse("gauge " + std::to_string(i + 1) + " of Linkage has no name or no root element");
        module->gauges_.push_back(g);
    }
    module->linkage_ = linkage;

    auto* bitmaps = static_cast<const BitmapTable*>(dlsym(handle, kBitmapsSymbol));
    module->bitmaps_ = (bitmaps != nullptr && (bitmaps->count == 0 || bitmaps->entries != nullptr))
                           ? bitmaps
                           : &kNoBitmaps;

    if (linkage->module_init) linkage->module_init();
    return module;
}

LoadedModule::~LoadedModule() {
    if (handle_ == nullptr) return;
    if (linkage_ && linkage_->module_deinit) linkage_->module_deinit();
    if (entry_) entry_(handle_, kEntryProcessDetach, nullptr);
    dlclose(handle_);
}

GaugeHeader* LoadedModule::FindGauge(std::string_view name) const {
    for (GaugeHeader* g : gauges_)
        if (name == g->name) return g;
    return nullptr;
}

int LoadedModule::GaugeIndex(const GaugeHeader* header) const {
    for (size_t i = 0; i < gauges_.size(); ++i)
        if (gauges_[i] == header) return static_cast<int>(i);
    return -1;
}

bool ReadBitmapSize(const BitmapResource& bitmap, BitmapSize* size) {
    // BITMAPFILEHEADER (14 bytes) then an info header of at least 40 bytes.
    if (bitmap.bytes == nullptr || bitmap.size < 54) return false;
    const unsigned char* b = bitmap.bytes;
    if (b[0] != 'B' || b[1] != 'M') return false;
    auto i32 = [&](size_t at) {
        uint32_t u = static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
                     static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
        int32_t v;
        std::memcpy(&v, &u, sizeof v);
        return v;
    };
    const int32_t width = i32(18);
    const int32_t height = i32(22);
    const int32_t bpp = static_cast<int32_t>(b[28]) | static_cast<int32_t>(b[29]) << 8;
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    size->width = width;
    size->height = height < 0 ? -height : height;  // negative: stored top-down
    size->bpp = bpp;
    return true;
}

}  // namespace host
