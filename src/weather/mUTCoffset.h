#pragma once
#include <cstdint>

class Clock;

// Minutes to add to UTC for local time, from the computer's present time-zone state (daylight
// saving time when the computer is in it now, whatever the date being converted).
float GetUTCOffset(Clock& clock);

// Seconds since 01.01.1970 00:00 UTC, plus `offsetMinutes`, as an OLE date. 64-bit seconds, so
// times after 2038 convert too.
double EpochToDate(std::int64_t seconds, float offsetMinutes);
