#include "replies/ReplyParts.h"

#include <cmath>


namespace ws {

void writeMeasure(JsonWriter& w, double value, int decimals, std::string_view unit, int unitType,
                  const std::optional<std::string>& phrase)
{
    w.beginObject().key("Value").real(value, decimals).member("Unit", unit).member("UnitType", unitType);
    if (phrase)
        w.member("Phrase", *phrase);
    w.endObject();
}

void writeTemperaturePair(JsonWriter& w, double celsius,
                          const std::optional<std::string>& phraseMetric,
                          const std::optional<std::string>& phraseImperial)
{
    w.beginObject().key("Metric");
    writeMeasure(w, celsius, 1, "C", 17, phraseMetric);
    w.key("Imperial");
    // Fahrenheit comes as whole degrees, written 75.0.
    writeMeasure(w, std::round(toFahrenheit(celsius)), 1, "F", 18, phraseImperial);
    w.endObject();
}

void writeSpeedPair(JsonWriter& w, double kmh)
{
    w.beginObject().key("Metric");
    writeMeasure(w, kmh, 1, "km/h", 7);
    w.key("Imperial");
    writeMeasure(w, toMph(kmh), 1, "mi/h", 9);
    w.endObject();
}

void writePrecipitationPair(JsonWriter& w, double mm)
{
    w.beginObject().key("Metric");
    writeMeasure(w, mm, 1, "mm", 3);
    w.key("Imperial");
    writeMeasure(w, toInches(mm), 2, "in", 1);
    w.endObject();
}

void writeTemperature(JsonWriter& w, double celsius, bool metric,
                      const std::optional<std::string>& phrase)
{
    if (metric)
        writeMeasure(w, celsius, 1, "C", 17, phrase);
    else
        writeMeasure(w, std::round(toFahrenheit(celsius)), 1, "F", 18, phrase);
}

void writeSpeed(JsonWriter& w, double kmh, bool metric)
{
    if (metric)
        writeMeasure(w, kmh, 1, "km/h", 7);
    else
        writeMeasure(w, toMph(kmh), 1, "mi/h", 9);
}

void writeLiquid(JsonWriter& w, double mm, bool metric)
{
    if (metric)
        writeMeasure(w, mm, 1, "mm", 3);
    else
        writeMeasure(w, toInches(mm), 2, "in", 1);
}

void writeSnow(JsonWriter& w, double cm, bool metric)
{
    if (metric)
        writeMeasure(w, cm, 1, "cm", 4);
    else
        writeMeasure(w, toInches(cm * 10), 1, "in", 1);
}

}  // namespace ws
