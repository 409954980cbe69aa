// The live panel's page, embedded into the executable at build time (embed_assets.cmake).
#pragma once

#include <cstddef>

namespace web {

struct Asset {
    const char* path;  // "/index.html", "/app.js", ...
    const char* content_type;
    const unsigned char* bytes;
    size_t size;
};

extern const Asset kAssets[];
extern const size_t kAssetCount;

}  // namespace web
