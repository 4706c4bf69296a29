#pragma once

#include "server/Astronomy.h"
#include "replies/CivilTime.h"
#include "server/Places.h"

namespace ws {

// Made-up but plausible weather, fully determined by the place's key and the date (and, for
// the current conditions, the time of day): the same request always gets the same reply.
// All values are metric; the reply builders convert.

enum class Precip { None, Rain, Snow, Ice, Mixed };

// The service's name of a precipitation type; empty for none.
inline const char* precipitationName(Precip precipitation)
{
    switch (precipitation) {
    case Precip::Rain:
        return "Rain";
    case Precip::Snow:
        return "Snow";
    case Precip::Ice:
        return "Ice";
    case Precip::Mixed:
        return "Mixed";
    case Precip::None:
        break;
    }
    return "";
}

// The day (07:00-19:00) or the night (19:00-07:00) part of a forecast day.
struct HalfDay {
    int icon = 1;
    int phraseVariant = 0;
    Precip precipitation = Precip::None;
    bool heavy = false;
    int cloudCover = 0;
    int precipitationProbability = 0;
    int thunderstormProbability = 0;
    int rainProbability = 0;
    int snowProbability = 0;
    int iceProbability = 0;
    double rainMm = 0;
    double snowCm = 0;
    double iceMm = 0;
    double hoursOfRain = 0;
    double hoursOfSnow = 0;
    double hoursOfIce = 0;
    double windKmh = 0;
    int windDegrees = 0;
    double gustKmh = 0;
    int gustDegrees = 0;
    int humidityMin = 0;
    int humidityMax = 0;
    int humidityAverage = 0;
    double evapotranspirationMm = 0;
    double solarIrradiance = 0;   // W/m2
};

struct DayWeather {
    Date date;
    double minC = 0;
    double maxC = 0;
    double realFeelMinC = 0;
    double realFeelMaxC = 0;
    double shadeMaxC = 0;          // the shade's minimum equals realFeelMinC (it is night)
    double dewPointC = 0;
    double pressureMb = 0;
    double hoursOfSun = 0;
    SunTimes sun;
    MoonDay moon;
    int uvIndex = 0;
    int airQuality = 0;
    int pollenLevel[4] = {};       // grass, mold, ragweed, tree: 1 (low) ... 4
    int pollenValue[4] = {};
    HalfDay day;
    HalfDay night;
};

struct CurrentWeather {
    long long observedUtc = 0;
    bool isDayTime = true;
    int icon = 1;
    Precip precipitation = Precip::None;
    bool hasPrecipitation = false;
    double temperatureC = 0;
    double realFeelC = 0;
    double realFeelShadeC = 0;
    double dewPointC = 0;
    double apparentC = 0;
    double windChillC = 0;
    double wetBulbC = 0;
    int relativeHumidity = 0;
    int windDegrees = 0;
    double windKmh = 0;
    double gustKmh = 0;
    double uvIndexFloat = 0;
    int uvIndex = 0;
    double visibilityKm = 0;
    bool fog = false;
    int cloudCover = 0;
    double ceilingM = 0;
    double pressureMb = 0;
    char tendency = 'S';            // 'R' rising, 'S' steady, 'F' falling
    double departureC = 0;          // against the same time yesterday
    double precipitationMm[7] = {}; // past 1, 3, 6, 9, 12, 18, 24 hours
    double rangeMinC[3] = {};       // past 6, 12, 24 hours
    double rangeMaxC[3] = {};
};

DayWeather dayWeather(const Place& place, Date date);
CurrentWeather currentWeather(const Place& place, LocalTime now);
// The temperature curve that the current conditions follow (minimum at sunrise, maximum
// at 15:00).
double temperatureAt(const Place& place, long long utcSeconds);

// Saturation vapour pressure (Magnus) and the relative humidity of air at `celsius` whose
// dew point is `dewPointC`.
double relativeHumidity(double celsius, double dewPointC);

}  // namespace ws
