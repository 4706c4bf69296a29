#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "replies/JsonWriter.h"
#include "replies/Language.h"

namespace ws {

// Unit conversions as the service rounds them.
inline double toFahrenheit(double celsius) { return celsius * 9 / 5 + 32; }
inline double toMph(double kmh) { return kmh / 1.609344; }
inline double toMiles(double km) { return km / 1.609344; }
inline double toFeet(double metres) { return metres / 0.3048; }
inline double toInches(double mm) { return mm / 25.4; }
inline double toInHg(double mb) { return mb * 0.0295300; }

// {"Value":24.0,"Unit":"C","UnitType":17}
void writeMeasure(JsonWriter& w, double value, int decimals, std::string_view unit, int unitType,
                  const std::optional<std::string>& phrase = std::nullopt);

// {"Metric":{...},"Imperial":{...}} pairs of the current conditions.
void writeTemperaturePair(JsonWriter& w, double celsius,
                          const std::optional<std::string>& phraseMetric = std::nullopt,
                          const std::optional<std::string>& phraseImperial = std::nullopt);
void writeSpeedPair(JsonWriter& w, double kmh);
void writePrecipitationPair(JsonWriter& w, double mm);

// One measure in the unit system that a forecast was asked for.
void writeTemperature(JsonWriter& w, double celsius, bool metric,
                      const std::optional<std::string>& phrase = std::nullopt);
void writeSpeed(JsonWriter& w, double kmh, bool metric);
void writeLiquid(JsonWriter& w, double mm, bool metric);
void writeSnow(JsonWriter& w, double cm, bool metric);

}  // namespace ws
