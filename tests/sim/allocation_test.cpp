// Counts every allocation of the process to show that the model allocates nothing per step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "aircraft.h"

namespace {
long allocations = 0;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace host::sim {
namespace {

TEST(Allocation, StepsEventsAndControlsAllocateNothing) {
    Aircraft a(true);
    a.sim.Advance(1);
    const long before = allocations;
    a.sim.Advance(900);  // start, take-off, climb, cruise, descent
    for (uint32_t e : {kEventComSwap, kEventComWholeUp, kEventTrimUp, kEventMasterToggle, kEventStarter}) a.sim.Event(e, 0);
    a.sim.SetControl("roll", 0.5);
    a.sim.SetFailure(kFailureEngine, true);
    a.sim.Advance(60);
    EXPECT_EQ(allocations, before);
}

}  // namespace
}  // namespace host::sim
