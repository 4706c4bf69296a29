#include "server/Replies.h"

#include <algorithm>
#include <cmath>

#include "replies/JsonWriter.h"
#include "replies/ReplyParts.h"
#include "server/WeatherModel.h"
#include "replies/WeatherTexts.h"

namespace ws {

namespace {

std::optional<std::string> precipitationType(Precip precipitation)
{
    if (precipitation == Precip::None) return std::nullopt;
    return precipitationName(precipitation);
}

void writeDetails(JsonWriter& w, const CurrentWeather& c, Lang lang)
{
    w.key("RealFeelTemperature");
    writeTemperaturePair(w, c.realFeelC, realFeelPhrase(c.realFeelC, lang),
                         realFeelPhrase(c.realFeelC, lang));
    w.key("RealFeelTemperatureShade");
    writeTemperaturePair(w, c.realFeelShadeC, realFeelPhrase(c.realFeelShadeC, lang),
                         realFeelPhrase(c.realFeelShadeC, lang));
    w.member("RelativeHumidity", c.relativeHumidity);
    w.member("IndoorRelativeHumidity", std::min(c.relativeHumidity, 60));
    w.key("DewPoint");
    writeTemperaturePair(w, c.dewPointC);
    w.key("Wind").beginObject().key("Direction").beginObject()
        .member("Degrees", c.windDegrees)
        .member("Localized", compassLocalized(c.windDegrees, lang))
        .member("English", compassEnglish(c.windDegrees))
        .endObject().key("Speed");
    writeSpeedPair(w, c.windKmh);
    w.endObject();
    w.key("WindGust").beginObject().key("Speed");
    writeSpeedPair(w, c.gustKmh);
    w.endObject();
    w.member("UVIndex", c.uvIndex)
        .member("UVIndexFloat", c.uvIndexFloat, 1)
        .member("UVIndexText", uvCategory(c.uvIndex, lang));
    w.key("Visibility").beginObject().key("Metric");
    writeMeasure(w, c.visibilityKm, 1, "km", 6);
    w.key("Imperial");
    writeMeasure(w, std::round(toMiles(c.visibilityKm)), 1, "mi", 2);
    w.endObject();
    w.member("ObstructionsToVisibility", c.fog ? "F" : "");
    w.member("CloudCover", c.cloudCover);
    w.key("Ceiling").beginObject().key("Metric");
    writeMeasure(w, c.ceilingM, 1, "m", 5);
    w.key("Imperial");
    writeMeasure(w, std::round(toFeet(c.ceilingM) / 100) * 100, 1, "ft", 0);
    w.endObject();
    w.key("Pressure").beginObject().key("Metric");
    writeMeasure(w, c.pressureMb, 1, "mb", 14);
    w.key("Imperial");
    writeMeasure(w, toInHg(c.pressureMb), 2, "inHg", 12);
    w.endObject();
    w.key("PressureTendency").beginObject()
        .member("LocalizedText", tendencyText(c.tendency, lang))
        .member("Code", std::string(1, c.tendency))
        .endObject();
    w.key("Past24HourTemperatureDeparture").beginObject().key("Metric");
    writeMeasure(w, c.departureC, 1, "C", 17);
    w.key("Imperial");
    writeMeasure(w, std::round(c.departureC * 9 / 5), 1, "F", 18);
    w.endObject();
    w.key("ApparentTemperature");
    writeTemperaturePair(w, c.apparentC);
    w.key("WindChillTemperature");
    writeTemperaturePair(w, c.windChillC);
    w.key("WetBulbTemperature");
    writeTemperaturePair(w, c.wetBulbC);
    w.key("Precip1hr");
    writePrecipitationPair(w, c.precipitationMm[0]);
    w.key("PrecipitationSummary").beginObject().key("Precipitation");
    writePrecipitationPair(w, c.precipitationMm[0]);
    static const char* const kPast[7] = {"PastHour",    "Past3Hours",  "Past6Hours", "Past9Hours",
                                         "Past12Hours", "Past18Hours", "Past24Hours"};
    for (int i = 0; i < 7; ++i) {
        w.key(kPast[i]);
        writePrecipitationPair(w, c.precipitationMm[i]);
    }
    w.endObject();
    w.key("TemperatureSummary").beginObject();
    static const char* const kRanges[3] = {"Past6HourRange", "Past12HourRange", "Past24HourRange"};
    for (int i = 0; i < 3; ++i) {
        w.key(kRanges[i]).beginObject().key("Minimum");
        writeTemperaturePair(w, c.rangeMinC[i]);
        w.key("Maximum");
        writeTemperaturePair(w, c.rangeMaxC[i]);
        w.endObject();
    }
    w.endObject();
}

}  // namespace

std::string currentConditionsReply(const Place& place, const ReplyOptions& options, LocalTime now)
{
    const CurrentWeather c = currentWeather(place, now);
    const Lang lang = options.language.lang;
    const std::string link = serviceLink(place, options.language, "current-weather", "");
    JsonWriter w;
    w.beginArray().beginObject()
        .member("LocalObservationDateTime", isoLocal(c.observedUtc))
        .member("EpochTime", c.observedUtc)
        .member("WeatherText", iconPhrase(c.icon, lang))
        .member("WeatherIcon", c.icon)
        .member("HasPrecipitation", c.hasPrecipitation)
        .member("PrecipitationType", c.hasPrecipitation ? precipitationType(c.precipitation)
                                                        : std::nullopt)
        .member("IsDayTime", c.isDayTime);
    w.key("Temperature");
    writeTemperaturePair(w, c.temperatureC);
    if (options.details)
        writeDetails(w, c, lang);
    w.member("MobileLink", link).member("Link", link);
    w.endObject().endArray();
    return w.text();
}

}  // namespace ws
