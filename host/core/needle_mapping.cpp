#include "needle_mapping.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr double kPi = 3.14159265358979323846;

double MarkAngle(const NonlinearityTable& mark, int32_t px, int32_t py) {
    const double dx = static_cast<double>(mark.x) - px;
    const double dy = static_cast<double>(mark.y) - py;
    return std::atan2(dx, -dy) * 180.0 / kPi;  // 0 up, 90 right, y grows downward
}

}  // namespace

size_t NeedleMarkAngles(const NonlinearityTable* table, uint32_t entries, int32_t px, int32_t py,
                        double* angles) {
    if (table == nullptr) return 0;
    const size_t n = std::min(entries, kMaxTableEntries);
    double previous_raw = 0;
    for (size_t i = 0; i < n; ++i) {
        const double raw = MarkAngle(table[i], px, py);
        if (i == 0) {
            angles[0] = raw;
        } else {
            double step = std::remainder(raw - previous_raw, 360.0);  // within [-180, 180]
            if (std::fabs(std::fabs(step) - 180.0) < 1e-9) step = 180.0;
            angles[i] = angles[i - 1] + step;
        }
        previous_raw = raw;
    }
    return n;
}

double NeedleAngle(const NonlinearityTable* table, const double* angles, size_t count, double value) {
    if (count == 0 || std::isnan(value)) return NAN;
    if (count == 1) return angles[0];
    if (value == table[count - 1].value) return angles[count - 1];
    // The interval: the last mark at or below the value, kept within the table for extrapolation.
    size_t i = 0;
    while (i + 2 < count && table[i + 1].value <= value) ++i;
    const double v0 = table[i].value;
    const double v1 = table[i + 1].value;
    const double span = v1 - v0;
    if (!(span > 0) || !std::isfinite(span)) return angles[i];
    const double angle = angles[i] + (value - v0) * ((angles[i + 1] - angles[i]) / span);
    if (std::isnan(angle)) return angles[i];
    return std::clamp(angle, -kMaxAngle, kMaxAngle);
}

double TurnToward(double shown, double target, uint32_t limit) {
    if (std::isnan(target)) return shown;
    double diff = target - shown;
    if (std::fabs(diff) > 360.0) {
        shown += 360.0 * std::trunc(diff / 360.0);
        diff = target - shown;
    }
    if (limit == 0 || std::fabs(diff) <= limit) return target;
    return shown + (diff > 0 ? static_cast<double>(limit) : -static_cast<double>(limit));
}

}  // namespace host
