#pragma once

#include <optional>
#include <string>
#include <vector>

#include "replies/JsonWriter.h"
#include "replies/Language.h"

namespace ws {

// The values of one day of the service's daily forecast. They come metric (the local weather
// server's model) or already in the system the forecast is asked in (the keyless source);
// absent values leave their members out.

struct Moment {
    std::string iso;   // "2026-07-09T05:01:00+02:00"
    long long utc = 0;
};

struct HalfDayValues {
    int icon = 0;
    int phraseVariant = 0;                 // 0: the icon phrase; 1: a livelier one
    std::optional<std::string> precipitationType;
    std::optional<std::string> intensity;
    int precipitationProbability = 0, thunderstormProbability = 0, rainProbability = 0,
        snowProbability = 0, iceProbability = 0;
    std::optional<double> windSpeed, gustSpeed;
    std::optional<int> windDegrees, gustDegrees;
    std::optional<double> totalLiquid;
    double rain = 0, snow = 0;             // mm and cm (in and in)
    std::optional<double> ice;
    std::optional<double> hoursOfRain, hoursOfSnow, hoursOfIce;
    int cloudCover = 0;
    std::optional<double> evapotranspiration, solarIrradiance;
    struct Humidity {
        int minimum, maximum, average;
    };
    std::optional<Humidity> humidity;
};

struct PollenEntry {
    std::string name;
    int value = 0;
    std::string category;
    int categoryValue = 0;
    std::optional<std::string> type;
};

struct DayValues {
    Moment date;                            // 07:00 local
    std::optional<Moment> sunRise, sunSet, moonRise, moonSet;
    std::string moonPhase;
    int moonAge = 0;
    double minimum = 0, maximum = 0;
    std::optional<double> realFeelMinimum, realFeelMaximum, shadeMaximum;
    bool realFeelPhrases = false;
    std::optional<double> hoursOfSun;
    bool degreeDays = false;
    std::vector<PollenEntry> airAndPollen;
    HalfDayValues day, night;
    std::string source;
    std::string link;
};

// `metricGiven`: the values are metric (else in the asked system); `metric`: the asked system.
void writeForecastDay(JsonWriter& w, const DayValues& d, Lang lang, bool details, bool metric, bool metricGiven);

}  // namespace ws
