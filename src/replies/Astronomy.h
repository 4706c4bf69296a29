#pragma once

#include <optional>
#include <string>

#include "replies/CivilTime.h"

namespace ws {

// Sunrise and sunset of a local date, in UTC seconds (NOAA's approximate solar equations,
// good to a minute or two in central Europe).
struct SunTimes {
    long long riseUtc = 0;
    long long setUtc = 0;
};
SunTimes sunTimes(Date localDate, double latitude, double longitude);

// Moon of a local date, the same at every place (only the local day's bounds differ). The rise repeats every lunar day (24 h 50 min), so about once a
// month a date has no rise at all: then rise is empty, as the service sends null.
struct MoonDay {
    std::optional<long long> riseUtc;
    long long setUtc = 0;
    std::string phase;   // "New", "WaxingCrescent", "First", ... as the service spells them
    int age = 0;         // whole days since the last new moon
};
// The local day runs from `startUtc` to `endUtc`; the age is taken at its noon.
MoonDay moonDay(long long startUtc, long long endUtc, long long noonUtc);

}  // namespace ws
