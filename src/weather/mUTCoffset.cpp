#include "weather/mUTCoffset.h"

#include <cmath>

#include "platform/Clock.h"
#include "system/OleDate.h"

namespace {
constexpr int kDaylightTime = 2;  // TIME_ZONE_ID_DAYLIGHT
constexpr std::int64_t kOleDayOfUnixEpoch = 25569;
}  // namespace

float GetUTCOffset(Clock& clock) {
    const TimeZoneState zone = clock.TimeZone();
    const std::int64_t bias = static_cast<std::int64_t>(zone.bias) +
                              (zone.status == kDaylightTime ? zone.daylightBias : zone.standardBias);
    return static_cast<float>(-bias);
}

double EpochToDate(std::int64_t seconds, float offsetMinutes) {
    const std::int64_t total = seconds + std::llround(static_cast<double>(offsetMinutes) * 60.0);
    std::int64_t days = total / 86400;
    std::int64_t rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    return OleDateFromDays(days + kOleDayOfUnixEpoch, static_cast<double>(rest));
}
