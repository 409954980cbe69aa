// Where a needle points for a value: through its NonlinearityTable, exactly at each mark, linear in
// angle between marks, and at the rate of the nearest interval beyond both ends. Angles are degrees
// clockwise from straight up, made continuous along the table so that a hand whose marks pass a
// full turn keeps turning the same way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gauge.h"

namespace host {

// Tables are read to this many entries at most, whatever count a needle gives.
inline constexpr uint32_t kMaxTableEntries = 256;

// Continuous angle of each mark of the table about the pivot (px, py). Each step between marks is
// taken the short way round; a step of exactly half a turn is taken clockwise. Returns the number
// of marks written (at most kMaxTableEntries).
size_t NeedleMarkAngles(const NonlinearityTable* table, uint32_t entries, int32_t px, int32_t py,
                        double* angles);

// The angle for a value. NaN for a NaN value or an empty table.
double NeedleAngle(const NonlinearityTable* table, const double* angles, size_t count, double value);

// One update of the shown angle toward the target, by at most `limit` degrees (0: no limit).
// Whole turns between the two are dropped first, so a needle never spins more than a turn to
// reach its target; it turns the way that the target lies.
double TurnToward(double shown, double target, uint32_t limit);

// Angles are kept within this many degrees of zero, so that wild values stay finite and exact
// enough to step.
inline constexpr double kMaxAngle = 1e9;

}  // namespace host
