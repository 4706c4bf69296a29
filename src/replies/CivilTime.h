#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace ws {

// A calendar date in the proleptic Gregorian calendar.
struct Date {
    int year = 1970;
    int month = 1;
    int day = 1;
    auto operator<=>(const Date&) const = default;
};

// A wall-clock moment at the built-in places (all of them keep Central European time).
struct LocalTime {
    Date date;
    int minuteOfDay = 0;
};

long long daysFromCivil(Date date);   // days since 1970-01-01
Date civilFromDays(long long days);
Date addDays(Date date, int days);
int weekday(Date date);               // 0 = Sunday ... 6 = Saturday
int dayOfYear(Date date);             // 1 ... 366

// Strict "YYYY-MM-DD" and "HH:MM"; anything else, or an impossible date or time, is empty.
std::optional<Date> parseDate(std::string_view text);
std::optional<int> parseTimeOfDay(std::string_view text);

// Central European time: UTC+1, UTC+2 from the last Sunday of March 01:00 UTC to the
// last Sunday of October 01:00 UTC.
bool isSummerTime(long long utcSeconds);
int utcOffsetMinutes(long long utcSeconds);
long long localToUtc(Date date, int minuteOfDay);
LocalTime utcToLocal(long long utcSeconds);
long long nextOffsetChange(long long utcSeconds);

// "2026-07-09T16:21:00+02:00" in the places' local time, and "2026-10-25T01:00:00Z".
std::string isoLocal(long long utcSeconds);
std::string isoUtc(long long utcSeconds);
// The same moment at a fixed offset from UTC: "2026-07-09T10:21:00-04:00".
std::string isoWithOffset(long long utcSeconds, int offsetMinutes);
std::string isoDate(Date date);   // "2026-07-09"

}  // namespace ws
