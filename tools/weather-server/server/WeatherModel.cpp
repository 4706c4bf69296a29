#include "server/WeatherModel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "server/Random.h"

namespace ws {

namespace {

constexpr double kPi = 3.14159265358979323846;

double round1(double value)
{
    return std::round(value * 10) / 10;
}

double clamp01(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

// A seed for one topic of one place on one day.
std::uint64_t seedFor(const Place& place, std::string_view topic, long long dayNumber)
{
    return mixSeed(hashText(place.key) ^ hashText(topic), static_cast<std::uint64_t>(dayNumber));
}

// Noise in [-1, 1] that drifts smoothly over `period` days, so that weather comes in spells.
double smoothNoise(const Place& place, std::string_view topic, long long dayNumber, int period)
{
    const long long knot = dayNumber >= 0 ? dayNumber / period : (dayNumber - period + 1) / period;
    const double fraction = static_cast<double>(dayNumber - knot * period) / period;
    const double a = Rng(seedFor(place, topic, knot)).range(-1, 1);
    const double b = Rng(seedFor(place, topic, knot + 1)).range(-1, 1);
    const double weight = (1 - std::cos(fraction * kPi)) / 2;
    return a + (b - a) * weight;
}

// The kinds of weather and their day and night icons.
struct Kind {
    int dayIcon;
    int nightIcon;
    Precip precipitation;
};

constexpr Kind kClear{1, 33, Precip::None}, kMostlyClear{2, 34, Precip::None},
    kPartly{3, 35, Precip::None}, kIntermittent{4, 36, Precip::None}, kHazy{5, 37, Precip::None},
    kMostlyCloudy{6, 38, Precip::None}, kCloudy{7, 7, Precip::None}, kDreary{8, 8, Precip::None},
    kFog{11, 11, Precip::None}, kShowers{12, 12, Precip::Rain},
    kCloudyShowers{13, 40, Precip::Rain}, kSunnyShowers{14, 39, Precip::Rain},
    kStorms{15, 15, Precip::Rain}, kCloudyStorms{16, 42, Precip::Rain},
    kSunnyStorms{17, 41, Precip::Rain}, kRain{18, 18, Precip::Rain},
    kFlurries{19, 19, Precip::Snow}, kCloudyFlurries{20, 43, Precip::Snow},
    kSunnyFlurries{21, 43, Precip::Snow}, kSnow{22, 22, Precip::Snow},
    kCloudySnow{23, 44, Precip::Snow}, kIce{24, 24, Precip::Ice}, kSleet{25, 25, Precip::Mixed},
    kFreezingRain{26, 26, Precip::Ice}, kRainAndSnow{29, 29, Precip::Mixed},
    kHot{30, 30, Precip::None}, kCold{31, 31, Precip::None}, kWindy{32, 32, Precip::None};

struct Conditions {
    double celsius;   // the day's maximum or the night's minimum
    double cloud;     // 0 ... 1
    double wet;       // 0 ... 1; above 0.62 it rains or snows
    double gustKmh;
    double season;    // -1 late January ... +1 late July
};

Kind pickKind(const Conditions& c, Rng& rng)
{
    const double pick = rng.uniform();
    if (c.wet > 0.62) {
        const bool heavy = c.wet > 0.8;
        if (c.celsius <= 0.5) {
            if (heavy)
                return c.cloud > 0.85 ? kSnow : kCloudySnow;
            return c.cloud > 0.7 ? kFlurries : c.cloud > 0.5 ? kCloudyFlurries : kSunnyFlurries;
        }
        if (c.celsius <= 3)
            return pick < 0.45 ? kRainAndSnow : pick < 0.75 ? kSleet : pick < 0.92 ? kFreezingRain
                                                                                : kIce;
        if (c.celsius >= 18 && pick < 0.55) {
            if (heavy)
                return kStorms;
            return c.cloud > 0.6 ? kCloudyStorms : kSunnyStorms;
        }
        if (heavy)
            return kRain;
        return c.cloud > 0.75 ? kShowers : c.cloud > 0.55 ? kCloudyShowers : kSunnyShowers;
    }
    if (c.celsius >= 32 && c.cloud < 0.4)
        return kHot;
    if (c.celsius <= -12 && c.cloud < 0.5)
        return kCold;
    if (c.gustKmh >= 70 && c.cloud < 0.6 && pick < 0.5)
        return kWindy;
    if (c.season < 0 && c.cloud > 0.5 && c.gustKmh < 25 && pick < 0.3)
        return pick < 0.2 ? kFog : kDreary;
    if (c.season > 0.3 && c.cloud < 0.3 && pick < 0.12)
        return kHazy;
    if (c.cloud < 0.12)
        return kClear;
    if (c.cloud < 0.28)
        return kMostlyClear;
    if (c.cloud < 0.42)
        return kPartly;
    if (c.cloud < 0.54)
        return kIntermittent;
    if (c.cloud < 0.7)
        return kMostlyCloudy;
    return c.cloud < 0.86 ? kCloudy : kDreary;
}

double saturationPressure(double celsius)
{
    return 6.1078 * std::pow(10.0, 7.5 * celsius / (237.3 + celsius));
}

// Probabilities, amounts and hours of one half day from its kind.
void fillPrecipitation(HalfDay& half, const Kind& kind, double wet, double celsius, Rng& rng)
{
    half.precipitation = kind.precipitation;
    half.heavy = wet > 0.8;
    const bool storm = kind.dayIcon >= 15 && kind.dayIcon <= 17;
    if (kind.precipitation == Precip::None) {
        // Dry: a small chance at most, and on clear days none at all.
        const int chance = wet < 0.15 ? 0 : static_cast<int>(wet * 40);
        half.rainProbability = celsius > 1 ? chance : 0;
        half.snowProbability = celsius <= 1 ? chance : 0;
        half.thunderstormProbability = celsius >= 22 && chance > 10 ? chance / 4 : 0;
    } else {
        const int chance = std::min(96, 40 + static_cast<int>((wet - 0.62) / 0.38 * 56));
        const double amount = half.heavy ? rng.range(5, 18) : rng.range(0.2, 4.5);
        const double hours = half.heavy ? rng.range(3, 9) : rng.range(0.5, 3);
        switch (kind.precipitation) {
        case Precip::Rain:
            half.rainProbability = chance;
            half.thunderstormProbability = storm ? chance * 3 / 4 : celsius >= 15 ? chance / 8 : 0;
            half.rainMm = round1(amount);
            half.hoursOfRain = round1(hours);
            break;
        case Precip::Snow:
            half.snowProbability = chance;
            half.rainProbability = celsius > 0 ? chance / 3 : 0;
            half.snowCm = round1(amount * 0.9);
            half.hoursOfSnow = round1(hours);
            break;
        case Precip::Ice:
            half.iceProbability = chance;
            half.rainProbability = chance / 2;
            half.iceMm = round1(amount / 3);
            half.rainMm = round1(amount / 2);
            half.hoursOfIce = round1(hours);
            half.hoursOfRain = round1(hours / 2);
            break;
        case Precip::Mixed:
            half.rainProbability = chance * 4 / 5;
            half.snowProbability = chance * 3 / 5;
            half.iceProbability = chance / 10;
            half.rainMm = round1(amount * 0.6);
            half.snowCm = round1(amount * 0.4);
            half.hoursOfRain = round1(hours);
            half.hoursOfSnow = round1(hours / 2);
            break;
        case Precip::None:
            break;
        }
    }
    half.precipitationProbability =
        std::max({half.rainProbability, half.snowProbability, half.iceProbability,
                  half.thunderstormProbability});
}

int windDirection(const Place& place, long long dayNumber, Rng& rng)
{
    // Mostly from the west; in some spells from the east.
    const double drift = smoothNoise(place, "direction", dayNumber, 3);
    const double base = drift < -0.6 ? 90 + 60 * drift : 255 + 70 * drift;
    const int degrees = static_cast<int>(std::lround(base + rng.range(-20, 20)));
    return ((degrees % 360) + 360) % 360;
}

HalfDay makeHalfDay(const Place& place, long long dayNumber, bool night, const Conditions& c,
                    double windiness, Rng& rng)
{
    HalfDay half;
    const Kind kind = pickKind(c, rng);
    half.icon = night ? kind.nightIcon : kind.dayIcon;
    half.phraseVariant = rng.integer(0, 1);
    half.cloudCover = static_cast<int>(std::lround(c.cloud * 100));
    fillPrecipitation(half, kind, c.wet, c.celsius, rng);
    const double wind = (6 + 28 * windiness + (kind.precipitation != Precip::None ? 4 : 0)) *
                        (night ? 0.7 : 1.0);
    half.windKmh = round1(wind + rng.range(-2, 2));
    half.windDegrees = windDirection(place, dayNumber, rng);
    half.gustKmh = round1(std::max(c.gustKmh * (night ? 0.8 : 1.0), half.windKmh * 1.3));
    half.gustDegrees = (half.windDegrees + rng.integer(-15, 15) + 360) % 360;
    return half;
}

}  // namespace

double relativeHumidity(double celsius, double dewPointC)
{
    const double rh = 100 * saturationPressure(dewPointC) / saturationPressure(celsius);
    return std::clamp(rh, 5.0, 100.0);
}

DayWeather dayWeather(const Place& place, Date date)
{
    const long long dayNumber = daysFromCivil(date);
    Rng rng(seedFor(place, "day", dayNumber));
    DayWeather w;
    w.date = date;

    const int doy = dayOfYear(date);
    const double season = std::sin(2 * kPi * (doy - 112) / 365.25);
    const double wet = clamp01(0.5 + 0.45 * smoothNoise(place, "wet", dayNumber, 3) +
                               rng.range(-0.25, 0.25));
    const double cloud = clamp01(0.1 + 0.85 * wet + rng.range(-0.2, 0.2));
    const double windiness =
        clamp01(0.45 + 0.4 * smoothNoise(place, "wind", dayNumber, 3) + rng.range(-0.15, 0.15));
    const double mean = 9.8 + 10.5 * season + place.climateOffsetC +
                        5.0 * smoothNoise(place, "temperature", dayNumber, 4) +
                        rng.range(-1.2, 1.2);
    const double spread = 3.5 + 7.0 * (1 - cloud) + 2.0 * std::max(season, 0.0);
    w.maxC = round1(mean + spread / 2);
    w.minC = round1(mean - spread / 2);

    const double nightWet = clamp01(wet + rng.range(-0.2, 0.2));
    const double nightCloud = clamp01(cloud + rng.range(-0.25, 0.2));
    const double gust = 15 + 55 * windiness + rng.range(0, 12);
    w.day = makeHalfDay(place, dayNumber, false, {w.maxC, cloud, wet, gust, season}, windiness, rng);
    w.night = makeHalfDay(place, dayNumber, true, {w.minC, nightCloud, nightWet, gust, season},
                          windiness, rng);

    w.sun = sunTimes(date, place.latitude, place.longitude);
    w.moon = moonDay(date);
    const double daylightHours = static_cast<double>(w.sun.setUtc - w.sun.riseUtc) / 3600;
    w.hoursOfSun = round1(daylightHours * 0.9 * std::pow(1 - cloud, 1.3));

    // Noon sun height gives the clear-sky UV index; clouds take some of it away.
    const double declination = 23.44 * std::sin(2 * kPi * (284 + doy) / 365);
    const double elevation = (90 - place.latitude + declination) * kPi / 180;
    const double clearUv = 12.5 * std::pow(std::max(std::sin(elevation), 0.0), 2.5);
    w.uvIndex = static_cast<int>(std::lround(clearUv * (1 - 0.6 * cloud)));

    w.dewPointC = round1(w.minC - (0.5 + 5.0 * (1 - wet)));
    w.pressureMb = std::round(1013 + 14 * smoothNoise(place, "pressure", dayNumber, 3) -
                              10 * (wet - 0.5));
    w.realFeelMaxC = round1(w.maxC + 3.0 * (1 - cloud) - 0.08 * w.day.windKmh +
                            (w.maxC > 25 ? 0.15 * (w.maxC - 25) : 0));
    w.shadeMaxC = round1(w.realFeelMaxC - 3.0 * (1 - cloud) * rng.range(0.5, 1.0));
    w.realFeelMinC = round1(w.minC - 0.1 * w.night.windKmh - (nightCloud < 0.3 ? 1.0 : 0.0));

    for (HalfDay* half : {&w.day, &w.night}) {
        const bool isDay = half == &w.day;
        // The day's driest air is at its maximum, the night's dampest at its minimum.
        const double warm = isDay ? w.maxC : w.minC + (w.maxC - w.minC) * 0.4;
        const double cool = isDay ? w.minC + (w.maxC - w.minC) * 0.4 : w.minC;
        half->humidityMin = static_cast<int>(std::lround(relativeHumidity(warm, w.dewPointC)));
        half->humidityMax = static_cast<int>(std::lround(relativeHumidity(cool, w.dewPointC)));
        half->humidityAverage = (half->humidityMin + half->humidityMax) / 2;
        const double sunShare = 1 - half->cloudCover / 100.0;
        half->evapotranspirationMm =
            round1(isDay ? 0.4 + 4.0 * std::max(season + 0.6, 0.1) * sunShare : rng.range(0.1, 0.6));
        half->solarIrradiance =
            round1(isDay ? 900 + 8000 * std::sin(elevation) * (0.3 + 0.7 * sunShare)
                         : rng.range(150, 700));
    }

    // Pollen: grass in early summer, mold in late summer and autumn, ragweed in August and
    // September, trees in spring; the levels are 1 (low) to 4 (very high).
    const int month = date.month;
    const int seasonal[4] = {month >= 5 && month <= 7 ? 3 : 1, month >= 7 && month <= 10 ? 2 : 1,
                             month == 8 || month == 9 ? 2 : 1, month >= 3 && month <= 5 ? 3 : 1};
    for (int i = 0; i < 4; ++i) {
        w.pollenLevel[i] = std::clamp(seasonal[i] + rng.integer(-1, 1) - (wet > 0.62 ? 1 : 0), 1, 4);
        w.pollenValue[i] = w.pollenLevel[i] == 1 ? rng.integer(0, 5) : rng.integer(10, 120) * w.pollenLevel[i];
    }
    w.airQuality = rng.integer(5, 45) + (season > 0.5 && cloud < 0.3 ? rng.integer(10, 50) : 0);
    return w;
}

double temperatureAt(const Place& place, long long utcSeconds)
{
    const LocalTime local = utcToLocal(utcSeconds);
    const DayWeather today = dayWeather(place, local.date);
    const long long peak = localToUtc(local.date, 15 * 60);
    // The evening fall is quick at first and slows towards the next sunrise.
    auto fall = [](double high, double low, double from, double to, double at) {
        const double f = std::clamp((at - from) / (to - from), 0.0, 1.0);
        return high + (low - high) * (1 - (1 - f) * (1 - f));
    };
    const double t = static_cast<double>(utcSeconds);
    if (utcSeconds < today.sun.riseUtc) {
        const Date yesterday = addDays(local.date, -1);
        const DayWeather before = dayWeather(place, yesterday);
        return fall(before.maxC, today.minC, static_cast<double>(localToUtc(yesterday, 15 * 60)),
                    static_cast<double>(today.sun.riseUtc), t);
    }
    if (utcSeconds <= peak) {
        const double f = (t - static_cast<double>(today.sun.riseUtc)) /
                         static_cast<double>(peak - today.sun.riseUtc);
        return today.minC + (today.maxC - today.minC) * (1 - std::cos(f * kPi)) / 2;
    }
    const DayWeather after = dayWeather(place, addDays(local.date, 1));
    return fall(today.maxC, after.minC, static_cast<double>(peak),
                static_cast<double>(after.sun.riseUtc), t);
}

CurrentWeather currentWeather(const Place& place, LocalTime now)
{
    CurrentWeather c;
    c.observedUtc = localToUtc(now.date, now.minuteOfDay);
    const DayWeather today = dayWeather(place, now.date);
    const DayWeather tomorrow = dayWeather(place, addDays(now.date, 1));
    Rng rng(mixSeed(seedFor(place, "now", daysFromCivil(now.date)),
                    static_cast<std::uint64_t>(now.minuteOfDay)));

    const DayWeather yesterday = dayWeather(place, addDays(now.date, -1));
    c.isDayTime = c.observedUtc >= today.sun.riseUtc && c.observedUtc < today.sun.setUtc;
    // Before sunrise it is still the night that began yesterday evening.
    const HalfDay& half = c.isDayTime                           ? today.day
                          : c.observedUtc < today.sun.riseUtc ? yesterday.night
                                                              : today.night;
    c.icon = half.icon;
    c.precipitation = half.precipitation;
    c.cloudCover = std::clamp(half.cloudCover + rng.integer(-8, 8), 0, 100);

    c.temperatureC = round1(temperatureAt(place, c.observedUtc));
    c.dewPointC = round1(std::min(today.dewPointC, c.temperatureC - 0.3));
    double humidity = relativeHumidity(c.temperatureC, c.dewPointC);
    if (half.precipitation != Precip::None)
        humidity = std::max(humidity, 85.0);
    c.relativeHumidity = static_cast<int>(std::lround(humidity));

    c.windKmh = round1(half.windKmh * rng.range(0.75, 1.2));
    c.windDegrees = (half.windDegrees + rng.integer(-15, 15) + 360) % 360;
    c.gustKmh = round1(std::max(half.gustKmh * rng.range(0.7, 1.0), c.windKmh * 1.3));

    const double sunShare = 1 - c.cloudCover / 100.0;
    const double sunBonus = c.isDayTime ? 3.0 * sunShare : 0.0;
    c.realFeelC = round1(c.temperatureC + sunBonus - 0.08 * c.windKmh);
    c.realFeelShadeC = round1(c.realFeelC - sunBonus * 0.8);
    c.apparentC = round1(c.temperatureC - 0.05 * c.windKmh + (humidity - 50) * 0.02);
    // Wind chill only means something in the cold.
    c.windChillC = c.temperatureC > 10 ? c.temperatureC : round1(c.temperatureC - 0.06 * c.windKmh);
    c.wetBulbC = round1(c.temperatureC - (c.temperatureC - c.dewPointC) / 3);

    if (c.isDayTime) {
        const double arc = static_cast<double>(c.observedUtc - today.sun.riseUtc) /
                           static_cast<double>(today.sun.setUtc - today.sun.riseUtc);
        c.uvIndexFloat = round1(today.uvIndex * std::sin(arc * kPi) * (0.5 + 0.5 * sunShare));
        c.uvIndex = static_cast<int>(std::lround(c.uvIndexFloat));
    }

    c.fog = c.icon == 11;
    if (c.fog)
        c.visibilityKm = round1(rng.range(0.2, 1.0));
    else if (half.precipitation != Precip::None)
        c.visibilityKm = round1(half.heavy ? rng.range(3, 8) : rng.range(8, 14));
    else if (c.icon == 5 || c.icon == 37)
        c.visibilityKm = round1(rng.range(6, 10));
    else
        c.visibilityKm = c.cloudCover < 30 ? 24.1 : 16.1;
    c.ceilingM = c.cloudCover < 10 ? 12192.0 : std::round((300 + 9000 * sunShare) / 30) * 30;

    const double dayShare = now.minuteOfDay / 1440.0;
    c.pressureMb = std::round(today.pressureMb + (tomorrow.pressureMb - today.pressureMb) * dayShare);
    const double trend = (tomorrow.pressureMb - today.pressureMb) / 8;   // change over 3 hours
    c.tendency = trend > 0.5 ? 'R' : trend < -0.5 ? 'F' : 'S';

    c.departureC = round1(c.temperatureC - temperatureAt(place, c.observedUtc - 86400));
    if (half.precipitation != Precip::None && rng.uniform() < 0.75) {
        // It is raining (or snowing) now: the past hours add up to what the half day brings,
        // and over a whole day to what the half day before brought as well.
        c.hasPrecipitation = true;
        const HalfDay& before = &half == &today.day     ? yesterday.night
                                : &half == &today.night ? today.day
                                                        : yesterday.day;
        const double halfTotal = half.rainMm + half.snowCm + half.iceMm;
        const double dayTotal = halfTotal + before.rainMm + before.snowCm + before.iceMm;
        const double hours = std::max({half.hoursOfRain, half.hoursOfSnow, half.hoursOfIce, 1.0});
        const double hourly = std::max(0.1, halfTotal / hours);
        static constexpr double kHours[7] = {1, 3, 6, 9, 12, 18, 24};
        for (int i = 0; i < 7; ++i) {
            const double cap = kHours[i] <= 12 ? halfTotal : dayTotal;
            c.precipitationMm[i] = round1(std::max(std::min(cap, hourly * kHours[i]), hourly));
        }
    }
    static constexpr int kRangeHours[3] = {6, 12, 24};
    for (int i = 0; i < 3; ++i) {
        double low = c.temperatureC;
        double high = c.temperatureC;
        for (int hour = 1; hour <= kRangeHours[i]; ++hour) {
            const double t = temperatureAt(place, c.observedUtc - hour * 3600LL);
            low = std::min(low, t);
            high = std::max(high, t);
        }
        c.rangeMinC[i] = round1(low);
        c.rangeMaxC[i] = round1(high);
    }
    return c;
}

}  // namespace ws
