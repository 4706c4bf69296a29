#include "server/Replies.h"

#include <algorithm>
#include <cmath>

#include "replies/CurrentShape.h"
#include "server/WeatherModel.h"

namespace ws {

std::string currentConditionsReply(const Place& place, const ReplyOptions& options, LocalTime now)
{
    const CurrentWeather c = currentWeather(place, now);
    CurrentValues v;
    v.localObservation = isoLocal(c.observedUtc);
    v.observedUtc = c.observedUtc;
    v.icon = c.icon;
    v.hasPrecipitation = c.hasPrecipitation;
    if (c.precipitation != Precip::None)
        v.precipitationType = precipitationName(c.precipitation);
    v.isDayTime = c.isDayTime;
    v.temperature = c.temperatureC;
    v.realFeel = c.realFeelC;
    v.realFeelShade = c.realFeelShadeC;
    v.realFeelPhrases = true;
    v.relativeHumidity = c.relativeHumidity;
    v.indoorHumidity = std::min(c.relativeHumidity, 60);
    v.dewPoint = c.dewPointC;
    v.windDegrees = c.windDegrees;
    v.windSpeed = c.windKmh;
    v.gustSpeed = c.gustKmh;
    v.uvIndex = c.uvIndex;
    v.uvIndexFloat = c.uvIndexFloat;
    v.visibilityKm = c.visibilityKm;
    v.obstructions = c.fog ? "F" : "";
    v.cloudCover = c.cloudCover;
    v.ceilingM = c.ceilingM;
    v.pressureMb = c.pressureMb;
    v.tendency = c.tendency;
    v.departure = c.departureC;
    v.apparent = c.apparentC;
    v.windChill = c.windChillC;
    v.wetBulb = c.wetBulbC;
    v.precipitation.assign(std::begin(c.precipitationMm), std::end(c.precipitationMm));
    for (int i = 0; i < 3; ++i)
        v.ranges.push_back({c.rangeMinC[i], c.rangeMaxC[i]});
    v.link = serviceLink(place, options.language, "current-weather", "");
    JsonWriter w;
    w.beginArray();
    writeCurrentConditions(w, v, options.language.lang, options.details);
    w.endArray();
    return w.text();
}

}  // namespace ws
