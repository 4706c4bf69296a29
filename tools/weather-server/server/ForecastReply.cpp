#include "server/Replies.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "replies/JsonWriter.h"
#include "replies/ForecastShape.h"
#include "replies/ReplyParts.h"
#include "server/WeatherModel.h"
#include "replies/WeatherTexts.h"

namespace ws {

namespace {

bool isStorm(int icon)
{
    return (icon >= 15 && icon <= 17) || icon == 41 || icon == 42;
}

std::optional<Moment> momentOf(const std::optional<long long>& utc)
{
    if (!utc)
        return std::nullopt;
    return Moment{isoLocal(*utc), *utc};
}

HalfDayValues halfValues(const HalfDay& half)
{
    HalfDayValues h;
    h.icon = half.icon;
    h.phraseVariant = half.phraseVariant;
    if (half.precipitation != Precip::None) {
        const double amount = half.rainMm + half.snowCm + half.iceMm;
        h.precipitationType = precipitationName(half.precipitation);
        h.intensity = half.heavy ? "Heavy" : amount < 2 ? "Light" : "Moderate";
    }
    h.precipitationProbability = half.precipitationProbability;
    h.thunderstormProbability = half.thunderstormProbability;
    h.rainProbability = half.rainProbability;
    h.snowProbability = half.snowProbability;
    h.iceProbability = half.iceProbability;
    h.windSpeed = half.windKmh;
    h.windDegrees = half.windDegrees;
    h.gustSpeed = half.gustKmh;
    h.gustDegrees = half.gustDegrees;
    h.totalLiquid = half.rainMm + half.iceMm + half.snowCm;
    h.rain = half.rainMm;
    h.snow = half.snowCm;
    h.ice = half.iceMm;
    h.hoursOfRain = half.hoursOfRain;
    h.hoursOfSnow = half.hoursOfSnow;
    h.hoursOfIce = half.hoursOfIce;
    h.cloudCover = half.cloudCover;
    h.evapotranspiration = half.evapotranspirationMm;
    h.solarIrradiance = half.solarIrradiance;
    h.humidity = HalfDayValues::Humidity{half.humidityMin, half.humidityMax, half.humidityAverage};
    return h;
}

std::vector<PollenEntry> airAndPollen(const DayWeather& day, Lang lang)
{
    std::vector<PollenEntry> entries;
    entries.push_back({"AirQuality", day.airQuality, airQualityCategory(day.airQuality, lang),
                       airQualityCategoryValue(day.airQuality), "Ozone"});
    static const char* const kPollen[4] = {"Grass", "Mold", "Ragweed", "Tree"};
    for (int i = 0; i < 4; ++i)
        entries.push_back({kPollen[i], day.pollenValue[i], pollenCategory(day.pollenLevel[i], lang),
                           day.pollenLevel[i], std::nullopt});
    entries.push_back({"UVIndex", day.uvIndex, uvCategory(day.uvIndex, lang), uvCategoryValue(day.uvIndex),
                       std::nullopt});
    return entries;
}

void writeDay(JsonWriter& w, const Place& place, const DayWeather& day, int number,
              const ReplyOptions& options)
{
    const Lang lang = options.language.lang;
    const long long start = localToUtc(day.date, 7 * 60);
    DayValues d;
    d.date = {isoLocal(start), start};
    d.sunRise = momentOf(day.sun.riseUtc);
    d.sunSet = momentOf(day.sun.setUtc);
    d.moonRise = momentOf(day.moon.riseUtc);
    d.moonSet = momentOf(day.moon.setUtc);
    d.moonPhase = day.moon.phase;
    d.moonAge = day.moon.age;
    d.minimum = day.minC;
    d.maximum = day.maxC;
    d.realFeelMinimum = day.realFeelMinC;
    d.realFeelMaximum = day.realFeelMaxC;
    d.shadeMaximum = day.shadeMaxC;
    d.realFeelPhrases = true;
    d.hoursOfSun = day.hoursOfSun;
    d.degreeDays = true;
    d.airAndPollen = airAndPollen(day, lang);
    d.day = halfValues(day.day);
    d.night = halfValues(day.night);
    d.source = "AccuWeather";
    const std::string unit = options.metric ? "unit=c&" : "unit=f&";
    d.link = serviceLink(place, options.language, "daily-weather-forecast",
                         "day=" + std::to_string(number) + "&" + unit);
    writeForecastDay(w, d, lang, options.details, options.metric, true);
}

// The headline names the first notable day of the next five, or promises a quiet spell.
void writeHeadline(JsonWriter& w, const Place& place, const std::vector<DayWeather>& days,
                   const ReplyOptions& options)
{
    const Lang lang = options.language.lang;
    const bool de = lang == Lang::German;
    struct Notable {
        const char* category;
        int severity;
        const char* de;
        const char* en;
    };
    std::optional<Notable> notable;
    std::size_t index = 0;
    for (; index < days.size() && index < 5 && !notable; ++index) {
        const DayWeather& day = days[index];
        const HalfDay& half = day.day;
        if (isStorm(half.icon) || isStorm(day.night.icon))
            notable = Notable{"thunderstorm", 3, "Gewitter", "Thunderstorms"};
        else if (half.precipitation == Precip::Ice || half.precipitation == Precip::Mixed)
            notable = Notable{"ice", 2, "Glätte durch gefrierenden Regen", "Icy mix"};
        else if (half.precipitation == Precip::Snow)
            notable = Notable{"snow", 3, "Schneefall", "Snow"};
        else if (half.precipitation == Precip::Rain && half.heavy)
            notable = Notable{"rain", 4, "Kräftiger Regen", "Heavy rain"};
        else if (day.maxC >= 30)
            notable = Notable{"heat", 4, "Heiß", "Hot"};
    }
    const std::size_t at = notable ? index - 1 : std::min<std::size_t>(days.size(), 5) - 1;
    const Date date = days[at].date;
    std::string when;
    if (at == 0)
        when = de ? "heute" : "today";
    else if (at == 1)
        when = de ? "morgen" : "tomorrow";
    else
        when = (de ? "am " : "") + weekdayName(weekday(date), lang);
    std::string text;
    if (notable)
        text = std::string(de ? notable->de : notable->en) + " " + when;
    else
        text = de ? "Überwiegend ruhiges Wetter bis " + weekdayName(weekday(date), lang)
                  : "Mostly quiet weather through " + weekdayName(weekday(date), lang);
    const long long effective = localToUtc(notable ? date : days[0].date, 7 * 60);
    const std::string link = serviceLink(place, options.language, "daily-weather-forecast",
                                         options.metric ? "unit=c&" : "unit=f&");
    w.key("Headline").beginObject()
        .member("EffectiveDate", isoLocal(effective))
        .member("EffectiveEpochDate", effective)
        .member("Severity", notable ? notable->severity : 7);
    w.key("Text").escapedString(text);
    w.member("Category", notable ? notable->category : "");
    if (notable) {
        const long long end = localToUtc(date, 19 * 60);
        w.member("EndDate", isoLocal(end)).member("EndEpochDate", end);
    } else {
        w.key("EndDate").null().key("EndEpochDate").null();
    }
    w.member("MobileLink", link).member("Link", link);
    w.endObject();
}

}  // namespace

std::string dailyForecastReply(const Place& place, int days, const ReplyOptions& options,
                               Date today)
{
    std::vector<DayWeather> weather;
    for (int i = 0; i < days; ++i)
        weather.push_back(dayWeather(place, addDays(today, i)));
    JsonWriter w;
    w.beginObject();
    writeHeadline(w, place, weather, options);
    w.key("DailyForecasts").beginArray();
    for (int i = 0; i < days; ++i)
        writeDay(w, place, weather[static_cast<std::size_t>(i)], i + 1, options);
    w.endArray().endObject();
    return w.text();
}

}  // namespace ws
