#include "replies/ForecastShape.h"

#include <algorithm>
#include <cmath>

#include "replies/ReplyParts.h"
#include "replies/WeatherTexts.h"

namespace ws {

namespace {

// Writes values in the asked system: as they are, or converted from metric as the service rounds.
struct Units {
    bool metric;
    bool given;   // the values are already in the asked system

    void temperature(JsonWriter& w, double v, const std::optional<std::string>& phrase = std::nullopt) const
    {
        if (given && !metric)
            return writeMeasure(w, v, 1, "F", 18, phrase);
        writeTemperature(w, v, metric, phrase);
    }
    void speed(JsonWriter& w, double v) const
    {
        if (given && !metric)
            return writeMeasure(w, v, 1, "mi/h", 9);
        writeSpeed(w, v, metric);
    }
    void liquid(JsonWriter& w, double v) const
    {
        if (given && !metric)
            return writeMeasure(w, v, 2, "in", 1);
        writeLiquid(w, v, metric);
    }
    void snow(JsonWriter& w, double v) const
    {
        if (given && !metric)
            return writeMeasure(w, v, 1, "in", 1);
        writeSnow(w, v, metric);
    }
    double kmh(double v) const { return given && !metric ? v * 1.609344 : v; }
    double celsius(double v) const { return given && !metric ? (v - 32) * 5 / 9 : v; }
};

void writeMoment(JsonWriter& w, std::string_view name, std::string_view epochName, const std::optional<Moment>& m)
{
    w.key(name);
    if (m)
        w.string(m->iso);
    else
        w.null();
    w.key(epochName);
    if (m)
        w.integer(m->utc);
    else
        w.null();
}

void writeWind(JsonWriter& w, std::string_view name, double speed, const std::optional<int>& degrees,
               const Units& u, Lang lang)
{
    w.key(name).beginObject().key("Speed");
    u.speed(w, speed);
    if (degrees) {
        w.key("Direction").beginObject()
            .member("Degrees", *degrees)
            .member("Localized", compassLocalized(*degrees, lang))
            .member("English", compassEnglish(*degrees))
            .endObject();
    }
    w.endObject();
}

void writeHalfDay(JsonWriter& w, const HalfDayValues& h, const Units& u, Lang lang, bool details)
{
    w.beginObject()
        .member("Icon", h.icon)
        .member("IconPhrase", iconPhrase(h.icon, lang))
        .member("HasPrecipitation", h.precipitationType.has_value());
    if (h.precipitationType) {
        w.member("PrecipitationType", *h.precipitationType);
        if (h.intensity)
            w.member("PrecipitationIntensity", *h.intensity);
    }
    if (!details) {
        w.endObject();
        return;
    }
    const std::string phrase = shortPhrase(h.icon, h.phraseVariant, lang);
    const bool windy = h.windSpeed && u.kmh(*h.windSpeed) >= 25;
    const std::string breezy = windy ? (lang == Lang::German ? "; windig" : "; breezy") : "";
    w.member("ShortPhrase", phrase)
        .member("LongPhrase", phrase + breezy)
        .member("PrecipitationProbability", h.precipitationProbability)
        .member("ThunderstormProbability", h.thunderstormProbability)
        .member("RainProbability", h.rainProbability)
        .member("SnowProbability", h.snowProbability)
        .member("IceProbability", h.iceProbability);
    if (h.windSpeed)
        writeWind(w, "Wind", *h.windSpeed, h.windDegrees, u, lang);
    if (h.gustSpeed)
        writeWind(w, "WindGust", *h.gustSpeed, h.gustDegrees, u, lang);
    if (h.totalLiquid) {
        w.key("TotalLiquid");
        u.liquid(w, *h.totalLiquid);
    }
    w.key("Rain");
    u.liquid(w, h.rain);
    w.key("Snow");
    u.snow(w, h.snow);
    if (h.ice) {
        w.key("Ice");
        u.liquid(w, *h.ice);
    }
    if (h.hoursOfRain && h.hoursOfSnow && h.hoursOfIce) {
        w.member("HoursOfPrecipitation", std::max({*h.hoursOfRain, *h.hoursOfSnow, *h.hoursOfIce}), 1)
            .member("HoursOfRain", *h.hoursOfRain, 1)
            .member("HoursOfSnow", *h.hoursOfSnow, 1)
            .member("HoursOfIce", *h.hoursOfIce, 1);
    }
    w.member("CloudCover", h.cloudCover);
    if (h.evapotranspiration) {
        w.key("Evapotranspiration");
        u.liquid(w, *h.evapotranspiration);
    }
    if (h.solarIrradiance) {
        // The service escapes this unit's superscript two.
        w.key("SolarIrradiance").beginObject()
            .key("Value").real(*h.solarIrradiance, 1)
            .key("Unit").escapedString("W/m\u00b2")
            .member("UnitType", 33)
            .endObject();
    }
    if (h.humidity) {
        w.key("RelativeHumidity").beginObject()
            .member("Minimum", h.humidity->minimum)
            .member("Maximum", h.humidity->maximum)
            .member("Average", h.humidity->average)
            .endObject();
    }
    w.endObject();
}

}  // namespace

void writeForecastDay(JsonWriter& w, const DayValues& d, Lang lang, bool details, bool metric, bool metricGiven)
{
    const Units u{metric, !metricGiven};
    const auto phrase = [&](double v) -> std::optional<std::string> {
        if (!d.realFeelPhrases)
            return std::nullopt;
        return realFeelPhrase(u.celsius(v), lang);
    };
    w.beginObject().member("Date", d.date.iso).member("EpochDate", d.date.utc);
    if (details) {
        w.key("Sun").beginObject();
        writeMoment(w, "Rise", "EpochRise", d.sunRise);
        writeMoment(w, "Set", "EpochSet", d.sunSet);
        w.endObject();
        w.key("Moon").beginObject();
        writeMoment(w, "Rise", "EpochRise", d.moonRise);
        writeMoment(w, "Set", "EpochSet", d.moonSet);
        w.member("Phase", d.moonPhase).member("Age", d.moonAge).endObject();
    }
    w.key("Temperature").beginObject().key("Minimum");
    u.temperature(w, d.minimum);
    w.key("Maximum");
    u.temperature(w, d.maximum);
    w.endObject();
    if (details) {
        if (d.realFeelMinimum && d.realFeelMaximum) {
            w.key("RealFeelTemperature").beginObject().key("Minimum");
            u.temperature(w, *d.realFeelMinimum, phrase(*d.realFeelMinimum));
            w.key("Maximum");
            u.temperature(w, *d.realFeelMaximum, phrase(*d.realFeelMaximum));
            w.endObject();
        }
        if (d.realFeelMinimum && d.shadeMaximum) {
            // At night, when the minimum falls, sun and shade feel alike.
            w.key("RealFeelTemperatureShade").beginObject().key("Minimum");
            u.temperature(w, *d.realFeelMinimum, phrase(*d.realFeelMinimum));
            w.key("Maximum");
            u.temperature(w, *d.shadeMaximum, phrase(*d.shadeMaximum));
            w.endObject();
        }
        if (d.hoursOfSun)
            w.member("HoursOfSun", *d.hoursOfSun, 1);
        if (d.degreeDays) {
            // Degree days against 18 C (65 F), in whole degrees.
            const double meanC = (u.celsius(d.minimum) + u.celsius(d.maximum)) / 2;
            const double heating = metric ? std::max(0.0, 18 - meanC) : std::max(0.0, 65 - toFahrenheit(meanC));
            const double cooling = metric ? std::max(0.0, meanC - 18) : std::max(0.0, toFahrenheit(meanC) - 65);
            w.key("DegreeDaySummary").beginObject().key("Heating");
            writeMeasure(w, std::round(heating), 1, metric ? "C" : "F", metric ? 17 : 18);
            w.key("Cooling");
            writeMeasure(w, std::round(cooling), 1, metric ? "C" : "F", metric ? 17 : 18);
            w.endObject();
        }
        if (!d.airAndPollen.empty()) {
            w.key("AirAndPollen").beginArray();
            for (const PollenEntry& e : d.airAndPollen) {
                w.beginObject()
                    .member("Name", e.name)
                    .member("Value", e.value)
                    .member("Category", e.category)
                    .member("CategoryValue", e.categoryValue);
                if (e.type)
                    w.member("Type", *e.type);
                w.endObject();
            }
            w.endArray();
        }
    }
    w.key("Day");
    writeHalfDay(w, d.day, u, lang, details);
    w.key("Night");
    writeHalfDay(w, d.night, u, lang, details);
    w.key("Sources").beginArray().string(d.source).endArray();
    w.member("MobileLink", d.link).member("Link", d.link);
    w.endObject();
}

}  // namespace ws
