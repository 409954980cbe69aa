// A gauge module loaded from its shared library file and bound to the host's service table.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "module.h"

namespace host {

class LoadedModule {
public:
    // Loads the file, calls its entry point, writes `services` into its ImportTable, checks its
    // Linkage and calls module-init. On failure returns nullptr and a message naming the file and
    // what was found; the library is closed again.
    static std::unique_ptr<LoadedModule> Load(const std::string& path, HostServiceTable* services,
                                              std::string* error);
    // Module-deinit, entry point (unload), dlclose.
    ~LoadedModule();

    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // "libSkelvan.so" -> "Skelvan".
    static std::string NameFromPath(std::string_view path);

    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    ModuleLinkage& linkage() const { return *linkage_; }
    const BitmapTable& bitmaps() const { return *bitmaps_; }
    // The gauge list up to its first zero entry.
    const std::vector<GaugeHeader*>& gauges() const { return gauges_; }
    GaugeHeader* FindGauge(std::string_view name) const;
    // Place of a gauge in Linkage, or -1.
    int GaugeIndex(const GaugeHeader* header) const;

private:
    LoadedModule() = default;

    void* handle_ = nullptr;
    ModuleEntryPointFn entry_ = nullptr;
    ModuleLinkage* linkage_ = nullptr;
    const BitmapTable* bitmaps_ = nullptr;
    std::vector<GaugeHeader*> gauges_;
    std::string name_;
    std::string path_;
};

// Width, height and bits per pixel of a BMP file's bytes; false when they are not a BMP that
// can be read safely.
struct BitmapSize {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bpp = 0;
};
bool ReadBitmapSize(const BitmapResource& bitmap, BitmapSize* size);

}  // namespace host
