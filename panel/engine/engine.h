// Engine monitoring: the Flydat engine monitor, the engine-hours store and the warning lamps.
//
// The gauge records themselves are reached through panel/gauges.h. This header names the module
// state and the operations that the three files share, so that they (and the unit tests) can see
// them. All of it is module-level static data: it takes its start value when the module is loaded,
// is shared by every instance of a gauge and is never reset at install or kill.
#pragma once

#include <cstdint>

#include "gauge.h"

namespace engine {

// ---- Integer conversions on host values --------------------------------------------------------

// 32-bit two's complement arithmetic that wraps instead of overflowing.
inline int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrappingMultiply(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// ---- Flydat engine monitor (flydat.cpp) ----------------------------------------------------------

inline constexpr const char* kWarningName = "flydat.warning";

// 1 while the display is on and at least one alarm flag is set; published as "flydat.warning".
extern int32_t FlydatWarning;
extern int32_t RpmAlarm;
extern int32_t EgtPtoAlarm;
extern int32_t ChtAlarm;
extern int32_t OilTemperatureAlarm;
extern int32_t EgtMagAlarm;
extern int32_t OilPressureAlarm;

// Engine hours in tenths of an hour: the base read at install, and the number last shown.
extern int32_t HoursBase;
extern int32_t HoursValue;

enum class Side { kLeft, kRight };

double ConvertTemperature(double x);
double CompressTemperature(int32_t kind, double value);
Side CurrentSide(int32_t units);
double DisplayGate(ElementHeader* element, const char* format, int32_t argument);

double RpmChannel(ElementHeader* element);
double EgtPtoChannel(ElementHeader* element);
double ChtChannel(ElementHeader* element);
double OilTemperatureChannel(ElementHeader* element);
double HoursChannel(ElementHeader* element);
double EgtMagChannel(ElementHeader* element);
double SideChannel(ElementHeader* element);
double OilPressureChannel(ElementHeader* element);

void FlydatService(uint32_t host_data, uint32_t service_code, uint32_t extra);

// ---- Engine hours store (engine_hours.cpp) -------------------------------------------------------

// The hours file, relative to the host's working directory, and the temporary file beside it that
// a save writes first and then renames over it.
inline constexpr const char* kHoursFolder = "aircraft";
inline constexpr const char* kHoursFile = "aircraft/skelvan.uur";
inline constexpr const char* kHoursTemporaryFile = "aircraft/skelvan.uur.new";

// Five characters and a terminator: the record last read from or written to the file.
inline constexpr int kHoursRecordLength = 5;
extern char HoursDigits[kHoursRecordLength + 1];

// The largest number of tenths that the record can hold: its first character has code 127.
inline constexpr uint32_t kLargestStorableHours = 79999;

void LoadEngineHours();
void SaveEngineHours();

// ---- Warning lamps (warning_lamps.cpp) -------------------------------------------------------------

extern int32_t LampTestLatch;
extern HostVariable WarningBinding;

double FuelLampValue(ElementHeader* element);
double ChargeLampValue(ElementHeader* element);
double FlydatLampValue(ElementHeader* element);
uint32_t LampTestToggle(const MousePoint* point, uint32_t event_flags);
void FlydatLampService(uint32_t host_data, uint32_t service_code, uint32_t extra);

}  // namespace engine
