#include "server/Replies.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "replies/JsonWriter.h"
#include "replies/ReplyParts.h"
#include "server/WeatherModel.h"
#include "replies/WeatherTexts.h"

namespace ws {

namespace {

bool isStorm(int icon)
{
    return (icon >= 15 && icon <= 17) || icon == 41 || icon == 42;
}

void writeOptionalTime(JsonWriter& w, std::string_view name, std::string_view epochName,
                       const std::optional<long long>& utc)
{
    w.key(name);
    if (utc)
        w.string(isoLocal(*utc));
    else
        w.null();
    w.key(epochName);
    if (utc)
        w.integer(*utc);
    else
        w.null();
}

void writeWindObject(JsonWriter& w, std::string_view name, double kmh, int degrees, bool metric,
                     Lang lang)
{
    w.key(name).beginObject().key("Speed");
    writeSpeed(w, kmh, metric);
    w.key("Direction").beginObject()
        .member("Degrees", degrees)
        .member("Localized", compassLocalized(degrees, lang))
        .member("English", compassEnglish(degrees))
        .endObject();
    w.endObject();
}

void writeHalfDay(JsonWriter& w, const HalfDay& half, const ReplyOptions& options)
{
    const Lang lang = options.language.lang;
    const bool metric = options.metric;
    const bool wet = half.precipitation != Precip::None;
    w.beginObject()
        .member("Icon", half.icon)
        .member("IconPhrase", iconPhrase(half.icon, lang))
        .member("HasPrecipitation", wet);
    if (wet) {
        const double amount = half.rainMm + half.snowCm + half.iceMm;
        w.member("PrecipitationType", precipitationName(half.precipitation))
            .member("PrecipitationIntensity", half.heavy ? "Heavy" : amount < 2 ? "Light" : "Moderate");
    }
    if (!options.details) {
        w.endObject();
        return;
    }
    const std::string phrase = shortPhrase(half.icon, half.phraseVariant, lang);
    const std::string windy = half.windKmh >= 25 ? (lang == Lang::German ? "; windig" : "; breezy") : "";
    w.member("ShortPhrase", phrase)
        .member("LongPhrase", phrase + windy)
        .member("PrecipitationProbability", half.precipitationProbability)
        .member("ThunderstormProbability", half.thunderstormProbability)
        .member("RainProbability", half.rainProbability)
        .member("SnowProbability", half.snowProbability)
        .member("IceProbability", half.iceProbability);
    writeWindObject(w, "Wind", half.windKmh, half.windDegrees, metric, lang);
    writeWindObject(w, "WindGust", half.gustKmh, half.gustDegrees, metric, lang);
    w.key("TotalLiquid");
    writeLiquid(w, half.rainMm + half.iceMm + half.snowCm, metric);
    w.key("Rain");
    writeLiquid(w, half.rainMm, metric);
    w.key("Snow");
    writeSnow(w, half.snowCm, metric);
    w.key("Ice");
    writeLiquid(w, half.iceMm, metric);
    w.member("HoursOfPrecipitation", std::max({half.hoursOfRain, half.hoursOfSnow, half.hoursOfIce}), 1)
        .member("HoursOfRain", half.hoursOfRain, 1)
        .member("HoursOfSnow", half.hoursOfSnow, 1)
        .member("HoursOfIce", half.hoursOfIce, 1)
        .member("CloudCover", half.cloudCover);
    w.key("Evapotranspiration");
    writeLiquid(w, half.evapotranspirationMm, metric);
    // The service escapes this unit's superscript two.
    w.key("SolarIrradiance").beginObject()
        .key("Value").real(half.solarIrradiance, 1)
        .key("Unit").escapedString("W/m\u00b2")
        .member("UnitType", 33)
        .endObject();
    w.key("RelativeHumidity").beginObject()
        .member("Minimum", half.humidityMin)
        .member("Maximum", half.humidityMax)
        .member("Average", half.humidityAverage)
        .endObject();
    w.endObject();
}

void writeAirAndPollen(JsonWriter& w, const DayWeather& day, Lang lang)
{
    w.key("AirAndPollen").beginArray();
    w.beginObject()
        .member("Name", "AirQuality")
        .member("Value", day.airQuality)
        .member("Category", airQualityCategory(day.airQuality, lang))
        .member("CategoryValue", airQualityCategoryValue(day.airQuality))
        .member("Type", "Ozone")
        .endObject();
    static const char* const kPollen[4] = {"Grass", "Mold", "Ragweed", "Tree"};
    for (int i = 0; i < 4; ++i) {
        w.beginObject()
            .member("Name", kPollen[i])
            .member("Value", day.pollenValue[i])
            .member("Category", pollenCategory(day.pollenLevel[i], lang))
            .member("CategoryValue", day.pollenLevel[i])
            .endObject();
    }
    w.beginObject()
        .member("Name", "UVIndex")
        .member("Value", day.uvIndex)
        .member("Category", uvCategory(day.uvIndex, lang))
        .member("CategoryValue", uvCategoryValue(day.uvIndex))
        .endObject();
    w.endArray();
}

void writeDay(JsonWriter& w, const Place& place, const DayWeather& day, int number,
              const ReplyOptions& options)
{
    const Lang lang = options.language.lang;
    const bool metric = options.metric;
    const long long start = localToUtc(day.date, 7 * 60);
    w.beginObject().member("Date", isoLocal(start)).member("EpochDate", start);
    if (options.details) {
        w.key("Sun").beginObject();
        writeOptionalTime(w, "Rise", "EpochRise", day.sun.riseUtc);
        writeOptionalTime(w, "Set", "EpochSet", day.sun.setUtc);
        w.endObject();
        w.key("Moon").beginObject();
        writeOptionalTime(w, "Rise", "EpochRise", day.moon.riseUtc);
        writeOptionalTime(w, "Set", "EpochSet", day.moon.setUtc);
        w.member("Phase", day.moon.phase).member("Age", day.moon.age).endObject();
    }
    w.key("Temperature").beginObject().key("Minimum");
    writeTemperature(w, day.minC, metric);
    w.key("Maximum");
    writeTemperature(w, day.maxC, metric);
    w.endObject();
    if (options.details) {
        w.key("RealFeelTemperature").beginObject().key("Minimum");
        writeTemperature(w, day.realFeelMinC, metric, realFeelPhrase(day.realFeelMinC, lang));
        w.key("Maximum");
        writeTemperature(w, day.realFeelMaxC, metric, realFeelPhrase(day.realFeelMaxC, lang));
        w.endObject();
        w.key("RealFeelTemperatureShade").beginObject().key("Minimum");
        writeTemperature(w, day.realFeelMinC, metric, realFeelPhrase(day.realFeelMinC, lang));
        w.key("Maximum");
        writeTemperature(w, day.shadeMaxC, metric, realFeelPhrase(day.shadeMaxC, lang));
        w.endObject();
        w.member("HoursOfSun", day.hoursOfSun, 1);
        // Degree days against 18 C (65 F), in whole degrees.
        const double meanC = (day.minC + day.maxC) / 2;
        const double heating = metric ? std::max(0.0, 18 - meanC) : std::max(0.0, 65 - toFahrenheit(meanC));
        const double cooling = metric ? std::max(0.0, meanC - 18) : std::max(0.0, toFahrenheit(meanC) - 65);
        w.key("DegreeDaySummary").beginObject().key("Heating");
        writeMeasure(w, std::round(heating), 1, metric ? "C" : "F", metric ? 17 : 18);
        w.key("Cooling");
        writeMeasure(w, std::round(cooling), 1, metric ? "C" : "F", metric ? 17 : 18);
        w.endObject();
        writeAirAndPollen(w, day, lang);
    }
    w.key("Day");
    writeHalfDay(w, day.day, options);
    w.key("Night");
    writeHalfDay(w, day.night, options);
    const std::string unit = metric ? "unit=c&" : "unit=f&";
    const std::string link = serviceLink(place, options.language, "daily-weather-forecast",
                                         "day=" + std::to_string(number) + "&" + unit);
    w.key("Sources").beginArray().string("AccuWeather").endArray();
    w.member("MobileLink", link).member("Link", link);
    w.endObject();
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
