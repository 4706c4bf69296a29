#include "replies/CurrentShape.h"

#include <algorithm>
#include <cmath>

#include "replies/ReplyParts.h"
#include "replies/WeatherTexts.h"

namespace ws {

namespace {

double toCelsius(double fahrenheit) { return (fahrenheit - 32) * 5 / 9; }

// A temperature pair from a value in the given system.
void temperaturePair(JsonWriter& w, const CurrentValues& c, double value,
                     const std::optional<std::string>& phrase = std::nullopt)
{
    if (!c.imperial)
        return writeTemperaturePair(w, value, phrase, phrase);
    w.beginObject().key("Metric");
    writeMeasure(w, std::round(toCelsius(value) * 10) / 10, 1, "C", 17, phrase);
    w.key("Imperial");
    writeMeasure(w, value, 1, "F", 18, phrase);
    w.endObject();
}

void speedPair(JsonWriter& w, const CurrentValues& c, double value)
{
    if (!c.imperial)
        return writeSpeedPair(w, value);
    w.beginObject().key("Metric");
    writeMeasure(w, value * 1.609344, 1, "km/h", 7);
    w.key("Imperial");
    writeMeasure(w, value, 1, "mi/h", 9);
    w.endObject();
}

void precipitationPair(JsonWriter& w, const CurrentValues& c, double value)
{
    if (!c.imperial)
        return writePrecipitationPair(w, value);
    w.beginObject().key("Metric");
    writeMeasure(w, value * 25.4, 1, "mm", 3);
    w.key("Imperial");
    writeMeasure(w, value, 2, "in", 1);
    w.endObject();
}

void writeDetails(JsonWriter& w, const CurrentValues& c, Lang lang)
{
    // The RealFeel phrases are in the reply's language.
    const auto feel = [&](const char* name, const std::optional<double>& value) {
        if (!value)
            return;
        w.key(name);
        std::optional<std::string> phrase;
        if (c.realFeelPhrases)
            phrase = realFeelPhrase(c.imperial ? toCelsius(*value) : *value, lang);
        temperaturePair(w, c, *value, phrase);
    };
    const auto temperature = [&](const char* name, const std::optional<double>& value) {
        if (!value)
            return;
        w.key(name);
        temperaturePair(w, c, *value);
    };
    feel("RealFeelTemperature", c.realFeel);
    feel("RealFeelTemperatureShade", c.realFeelShade);
    if (c.relativeHumidity)
        w.member("RelativeHumidity", *c.relativeHumidity);
    if (c.indoorHumidity)
        w.member("IndoorRelativeHumidity", *c.indoorHumidity);
    temperature("DewPoint", c.dewPoint);
    if (c.windDegrees && c.windSpeed) {
        w.key("Wind").beginObject().key("Direction").beginObject()
            .member("Degrees", *c.windDegrees)
            .member("Localized", compassLocalized(*c.windDegrees, lang))
            .member("English", compassEnglish(*c.windDegrees))
            .endObject().key("Speed");
        speedPair(w, c, *c.windSpeed);
        w.endObject();
    }
    if (c.gustSpeed) {
        w.key("WindGust").beginObject().key("Speed");
        speedPair(w, c, *c.gustSpeed);
        w.endObject();
    }
    if (c.uvIndex) {
        w.member("UVIndex", *c.uvIndex);
        if (c.uvIndexFloat)
            w.member("UVIndexFloat", *c.uvIndexFloat, 1);
        w.member("UVIndexText", uvCategory(*c.uvIndex, lang));
    }
    if (c.visibilityKm) {
        w.key("Visibility").beginObject().key("Metric");
        writeMeasure(w, *c.visibilityKm, 1, "km", 6);
        w.key("Imperial");
        writeMeasure(w, std::round(toMiles(*c.visibilityKm)), 1, "mi", 2);
        w.endObject();
    }
    if (c.obstructions)
        w.member("ObstructionsToVisibility", *c.obstructions);
    if (c.cloudCover)
        w.member("CloudCover", *c.cloudCover);
    if (c.ceilingM) {
        w.key("Ceiling").beginObject().key("Metric");
        writeMeasure(w, *c.ceilingM, 1, "m", 5);
        w.key("Imperial");
        writeMeasure(w, std::round(toFeet(*c.ceilingM) / 100) * 100, 1, "ft", 0);
        w.endObject();
    }
    if (c.pressureMb) {
        w.key("Pressure").beginObject().key("Metric");
        writeMeasure(w, *c.pressureMb, 1, "mb", 14);
        w.key("Imperial");
        writeMeasure(w, toInHg(*c.pressureMb), 2, "inHg", 12);
        w.endObject();
    }
    if (c.tendency) {
        w.key("PressureTendency").beginObject()
            .member("LocalizedText", tendencyText(*c.tendency, lang))
            .member("Code", std::string(1, *c.tendency))
            .endObject();
    }
    if (c.departure && !c.imperial) {
        w.key("Past24HourTemperatureDeparture").beginObject().key("Metric");
        writeMeasure(w, *c.departure, 1, "C", 17);
        w.key("Imperial");
        writeMeasure(w, std::round(*c.departure * 9 / 5), 1, "F", 18);
        w.endObject();
    }
    temperature("ApparentTemperature", c.apparent);
    temperature("WindChillTemperature", c.windChill);
    temperature("WetBulbTemperature", c.wetBulb);
    if (!c.precipitation.empty()) {
        w.key("Precip1hr");
        precipitationPair(w, c, c.precipitation[0]);
        w.key("PrecipitationSummary").beginObject().key("Precipitation");
        precipitationPair(w, c, c.precipitation[0]);
        static const char* const kPast[7] = {"PastHour",    "Past3Hours",  "Past6Hours", "Past9Hours",
                                             "Past12Hours", "Past18Hours", "Past24Hours"};
        for (std::size_t i = 0; i < std::min<std::size_t>(7, c.precipitation.size()); ++i) {
            w.key(kPast[i]);
            precipitationPair(w, c, c.precipitation[i]);
        }
        w.endObject();
    }
    if (!c.ranges.empty()) {
        w.key("TemperatureSummary").beginObject();
        static const char* const kRanges[3] = {"Past6HourRange", "Past12HourRange", "Past24HourRange"};
        for (std::size_t i = 0; i < std::min<std::size_t>(3, c.ranges.size()); ++i) {
            w.key(kRanges[i]).beginObject().key("Minimum");
            temperaturePair(w, c, c.ranges[i].minimum);
            w.key("Maximum");
            temperaturePair(w, c, c.ranges[i].maximum);
            w.endObject();
        }
        w.endObject();
    }
}

}  // namespace

void writeCurrentConditions(JsonWriter& w, const CurrentValues& c, Lang lang, bool details)
{
    w.beginObject()
        .member("LocalObservationDateTime", c.localObservation)
        .member("EpochTime", c.observedUtc)
        .member("WeatherText", iconPhrase(c.icon, lang))
        .member("WeatherIcon", c.icon)
        .member("HasPrecipitation", c.hasPrecipitation)
        .member("PrecipitationType", c.hasPrecipitation ? c.precipitationType : std::nullopt)
        .member("IsDayTime", c.isDayTime);
    w.key("Temperature");
    temperaturePair(w, c, c.temperature);
    if (details)
        writeDetails(w, c, lang);
    w.member("MobileLink", c.link).member("Link", c.link);
    w.endObject();
}

}  // namespace ws
