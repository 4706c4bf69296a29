#pragma once
#include <string>
#include <string_view>

#include "weather/CurrentConditions.h"

class Locale;

// The texts and tiles of one forecast column, read from one day of "DailyForecasts". The
// temperature and wind units are those of the current-conditions object.
struct ForecastDay {
    std::string heading;  // "DDD DD.MM.", upper case
    std::string link, headingTip;
    int dayIcon = 0, nightIcon = 0;  // weather tiles; 0 = no picture
    std::string dayIconTip, nightIconTip;
    std::string maximum, maximumTip, minimum, minimumTip;
    std::string dayWind, dayWindTip, nightWind, nightWindTip;
    std::string uv, uvTip;
};

ForecastDay ReadForecastDay(std::string_view day, const UnitTexts& units, Locale& locale);
