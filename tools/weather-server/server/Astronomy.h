#pragma once

#include <optional>
#include <string>

#include "server/CivilTime.h"

namespace ws {

// Sunrise and sunset of a local date, in UTC seconds (NOAA's approximate solar equations,
// good to a minute or two in central Europe).
struct SunTimes {
    long long riseUtc = 0;
    long long setUtc = 0;
};
SunTimes sunTimes(Date localDate, double latitude, double longitude);

// Moon of a local date. The rise repeats every lunar day (24 h 50 min), so about once a
// month a date has no rise at all: then rise is empty, as the service sends null.
struct MoonDay {
    std::optional<long long> riseUtc;
    long long setUtc = 0;
    std::string phase;   // "New", "WaxingCrescent", "First", ... as the service spells them
    int age = 0;         // whole days since the last new moon
};
MoonDay moonDay(Date localDate);

}  // namespace ws
