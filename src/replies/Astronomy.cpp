#include "replies/Astronomy.h"

#include <algorithm>
#include <cmath>

namespace ws {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSynodicMonthDays = 29.530588853;
constexpr long long kNewMoonUtc = 947182440;      // 2000-01-06 18:14 UTC
constexpr long long kFirstMoonRiseUtc = 947138400; // 2000-01-06 06:00 UTC, with the sun
// One lunar day: the synodic month holds one rise fewer than it holds solar days.
constexpr double kLunarDaySeconds = kSynodicMonthDays * 86400 / (kSynodicMonthDays - 1);
constexpr long long kMoonUpSeconds = 44700;        // about half a lunar day above the horizon

double radians(double degrees)
{
    return degrees * kPi / 180;
}

// The first event of the series first + k * lunar day at or after `from`, to the minute.
long long nextEvent(long long first, long long from)
{
    const double k = std::ceil(static_cast<double>(from - first) / kLunarDaySeconds);
    long long event = first + std::llround(k * kLunarDaySeconds / 60) * 60;
    if (event < from)
        event = first + std::llround((k + 1) * kLunarDaySeconds / 60) * 60;
    return event;
}

}  // namespace

SunTimes sunTimes(Date localDate, double latitude, double longitude)
{
    const double gamma = 2 * kPi / 365 * (dayOfYear(localDate) - 1);
    const double equationOfTime =
        229.18 * (0.000075 + 0.001868 * std::cos(gamma) - 0.032077 * std::sin(gamma) -
                  0.014615 * std::cos(2 * gamma) - 0.040849 * std::sin(2 * gamma));
    const double declination =
        0.006918 - 0.399912 * std::cos(gamma) + 0.070257 * std::sin(gamma) -
        0.006758 * std::cos(2 * gamma) + 0.000907 * std::sin(2 * gamma) -
        0.002697 * std::cos(3 * gamma) + 0.00148 * std::sin(3 * gamma);
    const double lat = radians(latitude);
    const double cosHourAngle = std::cos(radians(90.833)) / (std::cos(lat) * std::cos(declination)) -
                                std::tan(lat) * std::tan(declination);
    const double hourAngle = std::acos(std::clamp(cosHourAngle, -1.0, 1.0)) * 180 / kPi;
    const long long midnight = daysFromCivil(localDate) * 86400;
    const double riseMinutes = 720 - 4 * (longitude + hourAngle) - equationOfTime;
    const double setMinutes = 720 - 4 * (longitude - hourAngle) - equationOfTime;
    return {midnight + std::llround(riseMinutes) * 60, midnight + std::llround(setMinutes) * 60};
}

MoonDay moonDay(long long start, long long end, long long noonUtc)
{
    MoonDay moon;
    const long long rise = nextEvent(kFirstMoonRiseUtc, start);
    if (rise < end) {
        moon.riseUtc = rise;
        moon.setUtc = rise + kMoonUpSeconds;
    } else {
        moon.setUtc = nextEvent(kFirstMoonRiseUtc + kMoonUpSeconds, start);
    }
    const double noon = static_cast<double>(noonUtc);
    double age = std::fmod((noon - kNewMoonUtc) / 86400.0, kSynodicMonthDays);
    if (age < 0)
        age += kSynodicMonthDays;
    moon.age = static_cast<int>(age);
    const double part = age / kSynodicMonthDays;
    static constexpr struct {
        double upTo;
        const char* name;
    } kPhases[] = {{0.034, "New"},   {0.216, "WaxingCrescent"}, {0.284, "First"},
                   {0.466, "WaxingGibbous"}, {0.534, "Full"},   {0.716, "WaningGibbous"},
                   {0.784, "Last"},  {0.966, "WaningCrescent"}, {1.01, "New"}};
    for (const auto& phase : kPhases) {
        if (part < phase.upTo) {
            moon.phase = phase.name;
            break;
        }
    }
    return moon;
}

}  // namespace ws
