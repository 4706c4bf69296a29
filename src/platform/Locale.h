#pragma once
#include <string>

// The user's regional settings that shown numbers and dates follow.
class Locale {
public:
    virtual ~Locale() = default;
    virtual char DecimalSeparator() = 0;
    // Day name in the user's language, Windows-1252; weekday 0 = Sunday ... 6 = Saturday.
    virtual std::string DayName(int weekday, bool abbreviated) = 0;
};
