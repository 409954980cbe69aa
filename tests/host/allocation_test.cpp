// One host update in steady state allocates nothing: every refresh, callback, mapping and the
// model's step run on what install prepared. Counted with a replaced global operator new.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "launch.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace host {
namespace {

struct TempRoot {
    std::string path;
    TempRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "host-alloc-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TempRoot() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

long AllocationsDuring(Host& host, int updates) {
    const long before = g_allocations.load();
    for (int i = 0; i < updates; ++i) host.Update();
    return g_allocations.load() - before;
}

TEST(Allocation, FixtureGaugesUpdateWithoutAllocating) {
    TempRoot root;
    PanelConfig config;
    std::string error;
    ASSERT_TRUE(ParsePanelConfig("window 1 \"Main\" 400 300 shown\n"
                                 "gauge HostFixture Dial 0 0 100 100\n"
                                 "gauge HostFixture Dial 100 0 100 100\n"
                                 "gauge HostFixture Publisher 0 100 20 20\n"
                                 "gauge HostFixture Binder 0 120 20 20\n"
                                 "gauge Fixture FixtureA 200 0 100 100\n"
                                 "gauge Fixture FixtureB 200 100 100 100\n",
                                 "test", &config, &error))
        << error;
    LaunchOptions options;
    options.root = root.path;
    auto host = StartHost(options, {HOST_FIXTURE_PATH, FIXTURE_MODULE_PATH}, &config, &error);
    ASSERT_NE(host, nullptr) << error;
    host->SetFailure(kFailPitotStatic, true);  // failure lookups on the way
    AllocationsDuring(*host, 10);
    EXPECT_EQ(AllocationsDuring(*host, 200), 0);
}

TEST(Allocation, DefaultPanelUpdatesWithoutAllocating) {
    TempRoot root;
    LaunchOptions options;
    options.root = root.path;
    std::string error;
    auto host = StartHost(options, {SKELVAN_PATH, Q4D_PATH}, nullptr, &error);
    ASSERT_NE(host, nullptr) << error;
    ASSERT_TRUE(host->SetWindowShown(kFlightComputerWindow, true, &error)) << error;
    // The demo flight runs, as in every front end.
    AllocationsDuring(*host, 100);
    EXPECT_EQ(AllocationsDuring(*host, 500), 0);
}

}  // namespace
}  // namespace host
