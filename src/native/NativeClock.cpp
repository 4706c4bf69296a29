#include "native/NativeClock.h"

namespace {
constexpr double kOleUnixEpoch = 25569.0;  // 01.01.1970 as an OLE automation date
constexpr double kSecondsPerDay = 86400.0;

std::tm Local(std::time_t moment) {
    std::tm tm{};
    localtime_r(&moment, &tm);
    return tm;
}
}  // namespace

// localtime_r need not read TZ again on every call; read it once for the process here.
NativeClock::NativeClock() { tzset(); }

double NativeClock::Now() { return LocalOleDate(std::time(nullptr)); }

float NativeClock::SecondsSinceMidnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::tm tm = Local(now.tv_sec);
    return static_cast<float>(tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec +
                              static_cast<double>(now.tv_nsec) / 1e9);
}

TimeZoneState NativeClock::TimeZone() { return TimeZoneAt(std::time(nullptr)); }

double NativeClock::UtcSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 + kOleUnixEpoch * kSecondsPerDay;
}

std::int32_t NativeClock::LocalOffset(std::int64_t utcSecond) {
    return static_cast<std::int32_t>(Local(static_cast<std::time_t>(utcSecond - kOleUnixEpoch * kSecondsPerDay)).tm_gmtoff);
}

TimeZoneState TimeZoneAt(std::time_t moment) {
    const std::tm tm = Local(moment);
    const auto inForce = static_cast<std::int32_t>(-tm.tm_gmtoff / 60);
    TimeZoneState state;
    if (tm.tm_isdst > 0) {
        state.status = 2;
        state.bias = static_cast<std::int32_t>(::timezone / 60);  // the zone's standard time
        state.daylightBias = inForce - state.bias;
    } else {
        state.status = ::daylight ? 1 : 0;  // a zone without daylight saving time reports "unknown"
        state.bias = inForce;
    }
    return state;
}

double LocalOleDate(std::time_t moment) {
    const std::tm tm = Local(moment);
    return static_cast<double>(moment + tm.tm_gmtoff) / kSecondsPerDay + kOleUnixEpoch;
}
