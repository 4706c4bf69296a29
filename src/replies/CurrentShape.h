#pragma once

#include <optional>
#include <string>
#include <vector>

#include "replies/JsonWriter.h"
#include "replies/Language.h"

namespace ws {

// The values of the service's current-conditions object, in one unit system: the local weather
// server's model gives metric ones, the keyless source those of the system asked for. Values
// that are absent leave their members out, as the service leaves out what it does not know.
struct CurrentValues {
    bool imperial = false;              // °F, mi/h, in; pressure always in mb
    std::string localObservation;       // "2026-07-09T16:21:00+02:00"
    long long observedUtc = 0;
    int icon = 0;
    bool hasPrecipitation = false;
    std::optional<std::string> precipitationType;
    bool isDayTime = true;
    double temperature = 0;
    std::optional<double> realFeel, realFeelShade, dewPoint, apparent, windChill, wetBulb, departure;
    bool realFeelPhrases = false;       // the RealFeel members carry the service's phrases
    std::optional<int> relativeHumidity, indoorHumidity;
    std::optional<int> windDegrees;
    std::optional<double> windSpeed, gustSpeed;
    std::optional<int> uvIndex;
    std::optional<double> uvIndexFloat;
    std::optional<double> visibilityKm;  // kilometres in either system
    std::optional<std::string> obstructions;
    std::optional<int> cloudCover;
    std::optional<double> ceilingM;      // metres in either system
    std::optional<double> pressureMb;
    std::optional<char> tendency;        // 'R', 'S', 'F'
    std::vector<double> precipitation;   // past 1, 3, 6, 9, 12, 18, 24 hours, as far as known
    struct Range {
        double minimum, maximum;
    };
    std::vector<Range> ranges;           // past 6, 12, 24 hours, as far as known
    std::string link;
};

// The object with both unit systems, the given one as it is and the other converted as the
// service rounds it. Without `details` only what the service sends without them.
void writeCurrentConditions(JsonWriter& w, const CurrentValues& c, Lang lang, bool details);

}  // namespace ws
