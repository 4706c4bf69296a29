#include "system/OleDate.h"

#include <cmath>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kOleDayOfUnixEpoch = 25569;  // 01.01.1970

// Days from 01.01.1970 in the proleptic Gregorian calendar, and back (H. Hinnant's algorithms).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

void CivilFromDays(std::int64_t z, CivilTime& t) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
}

}  // namespace

double OleDateFromDays(std::int64_t days, double secondsOfDay) {
    const double fraction = secondsOfDay / kSecondsPerDay;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

double OleDate(int year, int month, int day, double secondsOfDay) {
    return OleDateFromDays(DaysFromCivil(year, month, day) + kOleDayOfUnixEpoch, secondsOfDay);
}

CivilTime CivilFromOleDate(double date) {
    CivilTime t;
    if (!std::isfinite(date) || std::fabs(date) > 3e6) return t;  // beyond the year 9999: the zero date
    std::int64_t days = static_cast<std::int64_t>(std::trunc(date));
    std::int64_t seconds = std::llround(std::fabs(date - std::trunc(date)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;
    }
    CivilFromDays(days - kOleDayOfUnixEpoch, t);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    t.weekday = static_cast<int>(((days % 7) + 13) % 7);
    return t;
}
