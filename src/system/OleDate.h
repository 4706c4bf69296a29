#pragma once
#include <cstdint>

// Date-time values as the widget keeps them: OLE automation dates, days since 30.12.1899 00:00
// with the time of day as fraction. Before that day the whole days count backwards while the
// time of day still counts forwards (29.12.1899 06:00 is -1.25).

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int weekday = 6;  // 0 = Sunday ... 6 = Saturday
};

// Day number (0 = 30.12.1899) and seconds into that day.
double OleDateFromDays(std::int64_t days, double secondsOfDay);
double OleDate(int year, int month, int day, double secondsOfDay);
// To the nearest second.
CivilTime CivilFromOleDate(double date);
