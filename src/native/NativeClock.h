#pragma once
#include <ctime>

#include "platform/Clock.h"

// The C library's local time; the zone comes from TZ, else from the system's own setting.
class NativeClock : public Clock {
public:
    NativeClock();
    double Now() override;
    float SecondsSinceMidnight() override;
    TimeZoneState TimeZone() override;
    double UtcSeconds() override;
    std::int32_t LocalOffset(std::int64_t utcSecond) override;
};

// The zone at a moment the way Windows reports it: bias is the standard offset west of UTC in
// minutes, and bias + daylightBias (status 2) or bias + standardBias (otherwise) is the offset
// in force. Callers that change TZ call tzset() first.
TimeZoneState TimeZoneAt(std::time_t moment);

// A moment as local date and time: an OLE automation date (days since 30.12.1899 00:00).
double LocalOleDate(std::time_t moment);
