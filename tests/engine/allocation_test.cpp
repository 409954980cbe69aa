// Gauge callbacks run at every update of the host's panel: a whole pass over the engine gauges
// must not allocate. Counts the program's operator new calls around one pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "engine.h"
#include "fake_host.h"
#include "gauges.h"

namespace {
long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(EngineAllocationTest, AnUpdatePassAllocatesNothing) {
    InstallEngineFakeHost();
    Host().values = {{1, 200}, {390, 2000}, {399, 1}, {400, 1}};
    Host().record_lookups = false;
    engine::FlydatLampService(0, 2, 0);  // binding itself may allocate in the host; not per update

    static char buffers[8][6];
    ElementHeader** boxes = FlydatGauge.elements[0]->children;
    for (int i = 0; i < 8; ++i) ElementAs<StringElement>(boxes[i])->text = buffers[i];

    const long before = allocations;
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < 8; ++i) {
            StringElement* box = ElementAs<StringElement>(boxes[i]);
            SetVariableNumber(box->variables[0], 5000.0 * pass);
            box->callback(&box->header);
        }
        for (GaugeHeader* lamp : {&FuelwarningGauge, &ChargewarningGauge, &FlydatwarningGauge}) {
            IconElement* icon = ElementAs<IconElement>(lamp->elements[0]->children[0]);
            icon->callback(&icon->header);
        }
    }
    const long during = allocations - before;

    for (int i = 0; i < 8; ++i) ElementAs<StringElement>(boxes[i])->text = nullptr;
    EXPECT_EQ(during, 0);
}

}  // namespace
