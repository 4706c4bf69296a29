#include "replies/CivilTime.h"

#include <cstdio>
#include <cstdlib>

namespace ws {

namespace {

constexpr long long kSecondsPerDay = 86400;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::optional<int> digits(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// 01:00 UTC on the last Sunday of the month, the moment the European clocks change.
long long changeMoment(int year, int month)
{
    Date last{year, month, daysInMonth(year, month)};
    last.day -= weekday(last);
    return daysFromCivil(last) * kSecondsPerDay + 3600;
}

}  // namespace

// Howard Hinnant's days_from_civil / civil_from_days algorithms.
long long daysFromCivil(Date date)
{
    const long long y = date.year - (date.month <= 2);
    const long long era = floorDiv(y, 400);
    const long long yoe = y - era * 400;
    const long long mp = (date.month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + date.day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date civilFromDays(long long days)
{
    days += 719468;
    const long long era = floorDiv(days, 146097);
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year, month, day};
}

Date addDays(Date date, int days)
{
    return civilFromDays(daysFromCivil(date) + days);
}

int weekday(Date date)
{
    // 1970-01-01 was a Thursday.
    return static_cast<int>((daysFromCivil(date) % 7 + 11) % 7);
}

int dayOfYear(Date date)
{
    return static_cast<int>(daysFromCivil(date) - daysFromCivil({date.year, 1, 1})) + 1;
}

std::optional<Date> parseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    const auto day = digits(text.substr(8, 2));
    if (!year || !month || !day || *year < 1971 || *month < 1 || *month > 12)
        return std::nullopt;
    if (*day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    return Date{*year, *month, *day};
}

std::optional<int> parseTimeOfDay(std::string_view text)
{
    if (text.size() != 5 || text[2] != ':')
        return std::nullopt;
    const auto hour = digits(text.substr(0, 2));
    const auto minute = digits(text.substr(3, 2));
    if (!hour || !minute || *hour > 23 || *minute > 59)
        return std::nullopt;
    return *hour * 60 + *minute;
}

bool isSummerTime(long long utcSeconds)
{
    const int year = civilFromDays(floorDiv(utcSeconds, kSecondsPerDay)).year;
    return utcSeconds >= changeMoment(year, 3) && utcSeconds < changeMoment(year, 10);
}

int utcOffsetMinutes(long long utcSeconds)
{
    return isSummerTime(utcSeconds) ? 120 : 60;
}

long long localToUtc(Date date, int minuteOfDay)
{
    const long long local = daysFromCivil(date) * kSecondsPerDay + minuteOfDay * 60LL;
    // Try summer time first; in the autumn's doubled hour this picks the earlier moment.
    if (isSummerTime(local - 7200))
        return local - 7200;
    return local - 3600;
}

LocalTime utcToLocal(long long utcSeconds)
{
    const long long local = utcSeconds + utcOffsetMinutes(utcSeconds) * 60LL;
    const long long days = floorDiv(local, kSecondsPerDay);
    return {civilFromDays(days), static_cast<int>((local - days * kSecondsPerDay) / 60)};
}

long long nextOffsetChange(long long utcSeconds)
{
    const int year = civilFromDays(floorDiv(utcSeconds, kSecondsPerDay)).year;
    for (long long moment : {changeMoment(year, 3), changeMoment(year, 10),
                             changeMoment(year + 1, 3)}) {
        if (moment > utcSeconds)
            return moment;
    }
    return changeMoment(year + 1, 10);
}

std::string isoLocal(long long utcSeconds)
{
    return isoWithOffset(utcSeconds, utcOffsetMinutes(utcSeconds));
}

std::string isoWithOffset(long long utcSeconds, int offset)
{
    const long long local = utcSeconds + offset * 60LL;
    const long long days = floorDiv(local, kSecondsPerDay);
    const Date date = civilFromDays(days);
    const long long second = local - days * kSecondsPerDay;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lld%c%02d:%02d", date.year,
                  date.month, date.day, second / 3600, second / 60 % 60, second % 60,
                  offset < 0 ? '-' : '+', std::abs(offset) / 60, std::abs(offset) % 60);
    return text;
}

std::string isoUtc(long long utcSeconds)
{
    const long long days = floorDiv(utcSeconds, kSecondsPerDay);
    const Date date = civilFromDays(days);
    const long long second = utcSeconds - days * kSecondsPerDay;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lldZ", date.year, date.month,
                  date.day, second / 3600, second / 60 % 60, second % 60);
    return text;
}

std::string isoDate(Date date)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

}  // namespace ws
