#pragma once
#include <cstdint>

// The computer's time zone as the platform reports it (minutes; local = UTC - bias).
struct TimeZoneState {
    int status = 0;  // 0 unknown, 1 standard time, 2 daylight saving time
    std::int32_t bias = 0;
    std::int32_t standardBias = 0;
    std::int32_t daylightBias = 0;
};

// The local clock and time zone.
class Clock {
public:
    virtual ~Clock() = default;
    // Present local date and time as an OLE automation date (days since 30.12.1899 00:00, time
    // of day as fraction).
    virtual double Now() = 0;
    // Present local time as seconds since midnight (the timers' and balloons' time base).
    virtual float SecondsSinceMidnight() = 0;
    virtual TimeZoneState TimeZone() = 0;
    // Present time in seconds since 30.12.1899 00:00 UTC, with fraction: the schedule's time base,
    // which daylight saving time does not move.
    virtual double UtcSeconds() = 0;
    // The local time's offset from UTC in seconds (east positive) in force at a UTC second.
    virtual std::int32_t LocalOffset(std::int64_t utcSecond) = 0;
};
