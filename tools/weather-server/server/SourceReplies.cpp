#include "server/SourceReplies.h"

#include <cmath>
#include <functional>
#include <map>

#include "replies/JsonWriter.h"
#include "server/WeatherModel.h"

namespace ws {

namespace {

// The service's icons as WMO weather codes (the source's own).
int wmoCode(int icon)
{
    static const std::map<int, int> kCodes = {
        {1, 0},   {2, 1},   {3, 2},   {4, 2},   {5, 2},   {6, 3},   {7, 3},   {8, 3},   {11, 45},
        {12, 80}, {13, 81}, {14, 80}, {15, 95}, {16, 95}, {17, 95}, {18, 63}, {19, 71}, {20, 85},
        {21, 85}, {22, 73}, {23, 86}, {24, 67}, {25, 66}, {26, 66}, {29, 63}, {30, 0},  {31, 0},
        {32, 3},  {33, 0},  {34, 1},  {35, 2},  {36, 2},  {37, 2},  {38, 3},  {39, 80}, {40, 81},
        {41, 95}, {42, 95}, {43, 85}, {44, 86}};
    const auto it = kCodes.find(icon);
    return it == kCodes.end() ? 3 : it->second;
}

struct Units {
    bool fahrenheit = false, mph = false, inch = false;
    double temperature(double c) const { return fahrenheit ? c * 9 / 5 + 32 : c; }
    double speed(double kmh) const { return mph ? kmh / 1.609344 : kmh; }
    double liquid(double mm) const { return inch ? mm / 25.4 : mm; }
    double snow(double cm) const { return inch ? cm / 2.54 : cm; }
};

// "2026-07-09T16:15" on the places' clock.
std::string localText(long long utc)
{
    return isoLocal(utc).substr(0, 16);
}

std::vector<std::string> names(const std::optional<std::string>& list)
{
    std::vector<std::string> out;
    const std::string text = list.value_or("");
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        if (!rest.substr(0, comma).empty())
            out.emplace_back(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return out;
}

void writePlace(JsonWriter& w, const Place& place, Lang lang)
{
    w.beginObject()
        .member("id", std::stoll(place.key))
        .member("name", place.name(lang))
        .member("latitude", place.latitude, 3)
        .member("longitude", place.longitude, 3)
        .member("elevation", place.elevationM, 1)
        .member("feature_code", "PPL")
        .member("country_code", place.countryId)
        .member("timezone", place.timeZoneName);
    if (!place.postalCode.empty())
        w.key("postcodes").beginArray().string(place.postalCode).endArray();
    w.member("country", countryName(place.countryId, lang)).member("admin1", place.area(lang));
    w.endObject();
}

Lang langOf(std::string_view language)
{
    return Language::fromCode(language).lang;
}

// The hour's values: the half day it falls in, the current conditions' curve for temperature.
struct Hour {
    const Place& place;
    long long utc;
    Date date;
    int hour;
    const DayWeather& today;
    const DayWeather& yesterday;
    const HalfDay& half() const
    {
        if (hour >= 7 && hour < 19)
            return today.day;
        return hour < 7 ? yesterday.night : today.night;
    }
};

using HourValue = std::function<double(const Hour&, const Units&)>;

const std::map<std::string, HourValue>& hourlyValues()
{
    static const std::map<std::string, HourValue> kValues = {
        {"temperature_2m", [](const Hour& h, const Units& u) { return u.temperature(temperatureAt(h.place, h.utc)); }},
        {"weather_code", [](const Hour& h, const Units&) { return double(wmoCode(h.half().icon)); }},
        {"precipitation_probability", [](const Hour& h, const Units&) { return double(h.half().precipitationProbability); }},
        {"precipitation", [](const Hour& h, const Units& u) { return u.liquid((h.half().rainMm + h.half().iceMm + h.half().snowCm * 10 / 7) / 12); }},
        {"rain", [](const Hour& h, const Units& u) { return u.liquid((h.half().rainMm + h.half().iceMm) / 12); }},
        {"showers", [](const Hour&, const Units&) { return 0.0; }},
        {"snowfall", [](const Hour& h, const Units& u) { return u.snow(h.half().snowCm / 12); }},
        {"cloud_cover", [](const Hour& h, const Units&) { return double(h.half().cloudCover); }},
        // The day's pressure, drifting towards the next day's through the hours.
        {"pressure_msl", [](const Hour& h, const Units&) { return h.today.pressureMb + (h.today.pressureMb - h.yesterday.pressureMb) * (h.hour - 12) / 24.0; }},
        {"wind_speed_10m", [](const Hour& h, const Units& u) { return u.speed(h.half().windKmh); }},
        {"wind_direction_10m", [](const Hour& h, const Units&) { return double(h.half().windDegrees); }},
        {"wind_gusts_10m", [](const Hour& h, const Units& u) { return u.speed(h.half().gustKmh); }},
        {"relative_humidity_2m", [](const Hour& h, const Units&) { return double(h.half().humidityAverage); }},
    };
    return kValues;
}

using CurrentValue = std::function<double(const CurrentWeather&, const Units&)>;

const std::map<std::string, CurrentValue>& currentValues()
{
    static const std::map<std::string, CurrentValue> kValues = {
        {"temperature_2m", [](const CurrentWeather& c, const Units& u) { return u.temperature(c.temperatureC); }},
        {"apparent_temperature", [](const CurrentWeather& c, const Units& u) { return u.temperature(c.realFeelC); }},
        {"dew_point_2m", [](const CurrentWeather& c, const Units& u) { return u.temperature(c.dewPointC); }},
        {"relative_humidity_2m", [](const CurrentWeather& c, const Units&) { return double(c.relativeHumidity); }},
        {"is_day", [](const CurrentWeather& c, const Units&) { return c.isDayTime ? 1.0 : 0.0; }},
        {"weather_code", [](const CurrentWeather& c, const Units&) { return double(wmoCode(c.icon)); }},
        {"cloud_cover", [](const CurrentWeather& c, const Units&) { return double(c.cloudCover); }},
        {"pressure_msl", [](const CurrentWeather& c, const Units&) { return c.pressureMb; }},
        {"wind_speed_10m", [](const CurrentWeather& c, const Units& u) { return u.speed(c.windKmh); }},
        {"wind_direction_10m", [](const CurrentWeather& c, const Units&) { return double(c.windDegrees); }},
        {"wind_gusts_10m", [](const CurrentWeather& c, const Units& u) { return u.speed(c.gustKmh); }},
        {"uv_index", [](const CurrentWeather& c, const Units&) { return c.uvIndexFloat; }},
        {"visibility", [](const CurrentWeather& c, const Units&) { return c.visibilityKm * 1000; }},
        {"precipitation", [](const CurrentWeather& c, const Units& u) { return u.liquid(c.precipitationMm[0]); }},
    };
    return kValues;
}

using DayValue = std::function<void(JsonWriter&, const DayWeather&, const Units&)>;

const std::map<std::string, DayValue>& dailyValues()
{
    static const std::map<std::string, DayValue> kValues = {
        {"weather_code", [](JsonWriter& w, const DayWeather& d, const Units&) { w.integer(wmoCode(d.day.icon)); }},
        {"temperature_2m_max", [](JsonWriter& w, const DayWeather& d, const Units& u) { w.real(u.temperature(d.maxC), 1); }},
        {"temperature_2m_min", [](JsonWriter& w, const DayWeather& d, const Units& u) { w.real(u.temperature(d.minC), 1); }},
        {"apparent_temperature_max", [](JsonWriter& w, const DayWeather& d, const Units& u) { w.real(u.temperature(d.realFeelMaxC), 1); }},
        {"apparent_temperature_min", [](JsonWriter& w, const DayWeather& d, const Units& u) { w.real(u.temperature(d.realFeelMinC), 1); }},
        {"sunrise", [](JsonWriter& w, const DayWeather& d, const Units&) { w.string(localText(d.sun.riseUtc)); }},
        {"sunset", [](JsonWriter& w, const DayWeather& d, const Units&) { w.string(localText(d.sun.setUtc)); }},
        {"daylight_duration", [](JsonWriter& w, const DayWeather& d, const Units&) { w.real(double(d.sun.setUtc - d.sun.riseUtc), 1); }},
        {"sunshine_duration", [](JsonWriter& w, const DayWeather& d, const Units&) { w.real(d.hoursOfSun * 3600, 1); }},
        {"uv_index_max", [](JsonWriter& w, const DayWeather& d, const Units&) { w.real(d.uvIndex, 1); }},
        {"precipitation_probability_max", [](JsonWriter& w, const DayWeather& d, const Units&) {
             w.integer(std::max(d.day.precipitationProbability, d.night.precipitationProbability)); }},
    };
    return kValues;
}

const Place* placeAt(const std::optional<std::string>& latitude, const std::optional<std::string>& longitude)
{
    if (!latitude || !longitude)
        return nullptr;
    char* end = nullptr;
    const double lat = std::strtod(latitude->c_str(), &end);
    const double lon = std::strtod(longitude->c_str(), &end);
    for (const Place& place : builtInPlaces())
        if (std::fabs(place.latitude - lat) < 0.01 && std::fabs(place.longitude - lon) < 0.01)
            return &place;
    return nullptr;
}

}  // namespace

std::string sourcePlaceReply(const Place& place, std::string_view language)
{
    JsonWriter w;
    writePlace(w, place, langOf(language));
    return w.text();
}

std::string sourceSearchReply(const std::vector<const Place*>& places, std::string_view language)
{
    JsonWriter w;
    w.beginObject();
    if (!places.empty()) {
        w.key("results").beginArray();
        for (const Place* place : places)
            writePlace(w, *place, langOf(language));
        w.endArray();
    }
    w.member("generationtime_ms", 0.5, 1).endObject();
    return w.text();
}

std::string sourceErrorReply(std::string_view reason)
{
    JsonWriter w;
    w.beginObject().member("error", true).member("reason", reason).endObject();
    return w.text();
}

std::optional<std::string> sourceForecastReply(const QueryParams& query, LocalTime now)
{
    const Place* place = placeAt(query.get("latitude"), query.get("longitude"));
    if (!place)
        return std::nullopt;
    Units u;
    u.fahrenheit = query.get("temperature_unit").value_or("") == "fahrenheit";
    u.mph = query.get("wind_speed_unit").value_or("") == "mph";
    u.inch = query.get("precipitation_unit").value_or("") == "inch";
    const int pastDays = wholeNumber(query.get("past_days").value_or("0"), 0, 92).value_or(0);
    const int forecastDays = wholeNumber(query.get("forecast_days").value_or("7"), 0, 16).value_or(7);
    const long long nowUtc = localToUtc(now.date, now.minuteOfDay);

    std::vector<DayWeather> days;   // one day before the first, for the night before 07:00
    for (int i = -pastDays - 1; i < forecastDays; ++i)
        days.push_back(dayWeather(*place, addDays(now.date, i)));

    JsonWriter w;
    w.beginObject()
        .member("latitude", place->latitude, 3)
        .member("longitude", place->longitude, 3)
        .member("generationtime_ms", 0.5, 1)
        .member("utc_offset_seconds", utcOffsetMinutes(nowUtc) * 60)
        .member("timezone", place->timeZoneName)
        .member("timezone_abbreviation", isSummerTime(nowUtc) ? "CEST" : "CET")
        .member("elevation", place->elevationM, 1);

    if (const std::vector<std::string> asked = names(query.get("current")); !asked.empty()) {
        const CurrentWeather c = currentWeather(*place, now);
        w.key("current").beginObject()
            .member("time", localText(localToUtc(now.date, now.minuteOfDay / 15 * 15)))
            .member("interval", 900);
        for (const std::string& name : asked) {
            const auto it = currentValues().find(name);
            w.key(name);
            if (it == currentValues().end())
                w.null();
            else
                w.real(it->second(c, u), 2);
        }
        w.endObject();
    }
    if (const std::vector<std::string> asked = names(query.get("hourly")); !asked.empty()) {
        w.key("hourly").beginObject().key("time").beginArray();
        for (std::size_t d = 1; d < days.size(); ++d)
            for (int hour = 0; hour < 24; ++hour)
                w.string(localText(localToUtc(days[d].date, hour * 60)));
        w.endArray();
        for (const std::string& name : asked) {
            const auto it = hourlyValues().find(name);
            w.key(name).beginArray();
            for (std::size_t d = 1; d < days.size(); ++d)
                for (int hour = 0; hour < 24; ++hour) {
                    if (it == hourlyValues().end()) {
                        w.null();
                        continue;
                    }
                    const Hour h{*place, localToUtc(days[d].date, hour * 60), days[d].date, hour, days[d], days[d - 1]};
                    w.real(it->second(h, u), 2);
                }
            w.endArray();
        }
        w.endObject();
    }
    if (const std::vector<std::string> asked = names(query.get("daily")); !asked.empty()) {
        w.key("daily").beginObject().key("time").beginArray();
        for (std::size_t d = 1; d < days.size(); ++d)
            w.string(isoDate(days[d].date));
        w.endArray();
        for (const std::string& name : asked) {
            const auto it = dailyValues().find(name);
            w.key(name).beginArray();
            for (std::size_t d = 1; d < days.size(); ++d) {
                if (it == dailyValues().end())
                    w.null();
                else
                    it->second(w, days[d], u);
            }
            w.endArray();
        }
        w.endObject();
    }
    w.endObject();
    return w.text();
}

}  // namespace ws
