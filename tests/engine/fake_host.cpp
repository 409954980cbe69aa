#include "fake_host.h"

#include <cstring>

#include "engine.h"
#include "gauges.h"
#include "module.h"

// The engine gauges in their Linkage order, Flydat before Flydatwarning.
ModuleLinkage Linkage = {
    MODULE_LINKAGE_HEAD,
    .gauges = {&FlydatGauge, &FuelwarningGauge, &ChargewarningGauge, &FlydatwarningGauge, nullptr},
};

void InstallEngineFakeHost() {
    InstallFakeHost();
    using namespace engine;
    FlydatWarning = 0;
    RpmAlarm = EgtPtoAlarm = ChtAlarm = OilTemperatureAlarm = EgtMagAlarm = OilPressureAlarm = 0;
    HoursBase = 0;
    HoursValue = 0;
    std::strcpy(HoursDigits, "0000 ");
    LampTestLatch = 0;
    WarningBinding = HostVariable{};
}
