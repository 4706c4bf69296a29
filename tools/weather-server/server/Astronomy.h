#pragma once
// Sun and moon are shared with the keyless source's adapter; the built-in places keep Central
// European time.
#include "replies/Astronomy.h"
#include "replies/CivilTime.h"

namespace ws {

inline MoonDay moonDay(Date localDate)
{
    return moonDay(localToUtc(localDate, 0), localToUtc(addDays(localDate, 1), 0), localToUtc(localDate, 720));
}

}  // namespace ws
