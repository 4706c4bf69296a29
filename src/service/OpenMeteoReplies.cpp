#include "service/OpenMeteoReplies.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "replies/Astronomy.h"
#include "replies/CivilTime.h"
#include "replies/CurrentShape.h"
#include "replies/ForecastShape.h"
#include "replies/JsonWriter.h"
#include "replies/Language.h"
#include "replies/LocationShape.h"
#include "replies/WeatherTexts.h"
#include "service/mJSON.h"
#include "system/Numbers.h"

namespace {

using ws::JsonWriter;
using Number = std::optional<double>;


struct WmoIcon {
    int code, day, night;
};
// The WMO weather codes the source uses, onto the service's day and night pictures.
constexpr WmoIcon kWmoIcons[] = {
    {0, 1, 33},   {1, 2, 34},   {2, 3, 35},   {3, 7, 38},   {45, 11, 11}, {48, 11, 11},
    {51, 12, 12}, {53, 12, 12}, {55, 12, 12}, {56, 26, 26}, {57, 26, 26}, {61, 18, 18},
    {63, 18, 18}, {65, 18, 18}, {66, 26, 26}, {67, 26, 26}, {71, 19, 19}, {73, 22, 22},
    {75, 22, 22}, {77, 19, 19}, {80, 14, 39}, {81, 13, 40}, {82, 12, 12}, {85, 21, 43},
    {86, 23, 44}, {95, 15, 15}, {96, 15, 15}, {99, 15, 15},
};

bool IsThunder(int code) { return code >= 95; }
bool IsFreezing(int code) { return code == 56 || code == 57 || code == 66 || code == 67; }
bool IsSnow(int code) { return (code >= 71 && code <= 77) || code == 85 || code == 86; }
bool IsWet(int code) { return code >= 51; }

// The service's name of what falls, or nothing.
std::optional<std::string> PrecipitationType(int code) {
    if (!IsWet(code)) return std::nullopt;
    if (IsFreezing(code)) return "Ice";
    return IsSnow(code) ? "Snow" : "Rain";
}

// A number of a reply; nothing for null, text, or a value no weather has (which could not be
// turned into a whole number safely).
Number Reading(const std::string& text) {
    const Number n = text == "null" ? std::nullopt : StrictNumber(text);
    if (!n || !std::isfinite(*n) || std::fabs(*n) > 1e9) return std::nullopt;
    return n;
}

Number NumberAt(std::string_view json, std::string_view path) { return Reading(Trim(GetJSONValue(json, path))); }

std::vector<std::string> Elements(std::string_view json, std::string_view path) {
    const std::string array = GetJSONValue(json, path);
    if (array.empty() || array.front() != '[') return {};
    std::vector<std::string> all = SplitJSONArray(array);
    all.erase(all.begin());
    if (all.size() == 1 && Trim(all[0]).empty()) all.clear();
    return all;
}

std::vector<Number> Series(std::string_view json, std::string_view path) {
    std::vector<Number> values;
    for (const std::string& e : Elements(json, path)) values.push_back(Reading(Trim(e)));
    return values;
}

// "2026-07-09T16:30" or "2026-07-09" as seconds since 1970 on the place's own clock.
std::optional<long long> LocalSeconds(std::string_view text) {
    const std::optional<ws::Date> date = ws::parseDate(text.substr(0, std::min<std::size_t>(10, text.size())));
    if (!date) return std::nullopt;
    long long seconds = ws::daysFromCivil(*date) * 86400;
    if (text.size() > 10) {
        if (text[10] != 'T') return std::nullopt;
        const std::optional<int> minute = ws::parseTimeOfDay(text.substr(11, 5));
        if (!minute) return std::nullopt;
        seconds += *minute * 60LL;
    }
    return seconds;
}

// The forecast reply's parts and the hour that "current" falls in.
struct Forecast {
    std::string_view json;
    int offsetMinutes = 0;
    std::vector<long long> hours;  // hourly times on the place's clock

    std::vector<Number> Hourly(std::string_view name) const { return Series(json, std::string("hourly/") + std::string(name)); }
    // The index of the hour that holds `local`, or -1.
    long Index(long long local) const {
        if (hours.empty() || local < hours.front()) return -1;
        const long i = static_cast<long>((local - hours.front()) / 3600);
        return i < static_cast<long>(hours.size()) ? i : -1;
    }
};

std::optional<Forecast> ReadForecast(std::string_view json, bool days) {
    Forecast f;
    f.json = json;
    for (const char* part : {"current", "hourly"})
        if (GetJSONValue(json, part).empty()) return std::nullopt;
    if (days && GetJSONValue(json, "daily").empty()) return std::nullopt;
    f.offsetMinutes = static_cast<int>(std::lround(Val(GetJSONValue(json, "utc_offset_seconds")) / 60));
    for (const std::string& t : Elements(json, "hourly/time")) {
        const std::optional<long long> s = LocalSeconds(Trim(t));
        if (!s) return std::nullopt;
        f.hours.push_back(*s);
    }
    return f;
}

Number At(const std::vector<Number>& values, long i) {
    return i >= 0 && i < static_cast<long>(values.size()) ? values[static_cast<std::size_t>(i)] : std::nullopt;
}

// 'R', 'S' or 'F' from the sea-level pressure three hours before `now`; nothing without it.
std::optional<char> Tendency(const std::vector<Number>& pressure, long now) {
    const Number p = At(pressure, now), before = At(pressure, now - 3);
    if (!p || !before) return std::nullopt;
    const double change = *p - *before;
    return change >= 1.0 ? 'R' : change <= -1.0 ? 'F' : 'S';
}

}  // namespace

int ServiceIcon(int wmoCode, bool day) {
    for (const WmoIcon& i : kWmoIcons)
        if (i.code == wmoCode) return day ? i.day : i.night;
    return 0;
}

std::optional<std::string> LocationFromPlace(std::string_view place) {
    const std::string id = Trim(GetJSONValue(place, "id"));
    if (id.empty() || id == "null") return std::nullopt;
    const std::vector<std::string> postcodes = Elements(place, "postcodes");
    ws::LocationValues v;
    v.key = id;
    // The source names a place in the language asked for, or in its own when it has no other.
    v.localizedName = v.englishName = GetJSONValue(place, "name");
    v.postalCode = postcodes.empty() ? std::string() : Trim(postcodes[0]);
    const std::string country = GetJSONValue(place, "country");
    v.country = {GetJSONValue(place, "country_code"), country, country};
    const std::string area = GetJSONValue(place, "admin1");
    v.area = {"", area, area};
    v.timeZoneName = GetJSONValue(place, "timezone");
    v.latitude = Val(GetJSONValue(place, "latitude"));
    v.longitude = Val(GetJSONValue(place, "longitude"));
    v.coordinateDecimals = 5;  // the forecast is asked for where the place is, to the metre
    if (const Number elevation = NumberAt(place, "elevation")) v.elevationM = *elevation;
    ws::JsonWriter w;
    ws::writeLocation(w, v);
    return w.text();
}

std::string SearchFromResults(std::string_view reply) {
    std::string array = "[";
    for (const std::string& place : Elements(reply, "results")) {
        const std::optional<std::string> location = LocationFromPlace(place);
        if (!location) continue;
        if (array.size() > 1) array += ',';
        array += *location;
    }
    return array + "]";
}

std::string ForecastRequestPath(const ForecastQuery& q) {
    std::string path = "v1/forecast?latitude=" + q.latitude + "&longitude=" + q.longitude +
        "&current=temperature_2m,relative_humidity_2m,apparent_temperature,is_day,weather_code,cloud_cover,"
        "pressure_msl,wind_speed_10m,wind_direction_10m,wind_gusts_10m,dew_point_2m,uv_index,visibility"
        "&hourly=weather_code,precipitation_probability,precipitation,rain,showers,snowfall,cloud_cover,"
        "pressure_msl,wind_speed_10m,wind_direction_10m,wind_gusts_10m"
        "&daily=weather_code,temperature_2m_max,temperature_2m_min,apparent_temperature_max,"
        "apparent_temperature_min,sunrise,sunset,daylight_duration,sunshine_duration,uv_index_max"
        "&timezone=auto&past_days=1&forecast_days=" + std::to_string(std::clamp(q.days, 1, 16));
    if (!q.metric) path += "&temperature_unit=fahrenheit&wind_speed_unit=mph&precipitation_unit=inch";
    return path;
}

std::optional<std::string> CurrentFromForecast(std::string_view json, std::string_view language, bool metric) {
    const std::optional<Forecast> f = ReadForecast(json, false);
    if (!f) return std::nullopt;
    const auto now = [&](std::string_view name) { return NumberAt(json, std::string("current/") + std::string(name)); };
    const std::optional<long long> local = LocalSeconds(Trim(GetJSONValue(json, "current/time")));
    const Number code = now("weather_code");
    const Number temperature = now("temperature_2m");
    if (!local || !code || !temperature) return std::nullopt;
    const int wmo = static_cast<int>(*code);
    const long hour = f->Index(*local);
    const auto whole = [](const Number& n) { return n ? std::optional<int>(static_cast<int>(std::lround(*n))) : std::nullopt; };

    ws::CurrentValues c;
    c.imperial = !metric;
    c.observedUtc = *local - f->offsetMinutes * 60LL;
    c.localObservation = ws::isoWithOffset(c.observedUtc, f->offsetMinutes);
    c.isDayTime = now("is_day").value_or(1) != 0;
    c.icon = ServiceIcon(wmo, c.isDayTime);
    c.hasPrecipitation = IsWet(wmo);
    c.precipitationType = PrecipitationType(wmo);
    c.temperature = *temperature;
    // The source's apparent temperature is what the service calls RealFeel, in sun and shade.
    c.realFeel = c.realFeelShade = c.apparent = now("apparent_temperature");
    c.relativeHumidity = whole(now("relative_humidity_2m"));
    c.dewPoint = now("dew_point_2m");
    if (now("wind_speed_10m")) {
        c.windDegrees = whole(now("wind_direction_10m"));
        if (c.windDegrees) *c.windDegrees = (*c.windDegrees % 360 + 360) % 360;
        c.windSpeed = now("wind_speed_10m");
    }
    c.gustSpeed = now("wind_gusts_10m");
    if (const Number uv = now("uv_index")) {
        c.uvIndex = whole(uv);
        c.uvIndexFloat = *uv;
    }
    if (const Number visibility = now("visibility")) {
        // Metres, or feet when the source names that unit.
        const bool feet = GetJSONValue(json, "current_units/visibility") == "ft";
        c.visibilityKm = (feet ? *visibility * 0.3048 : *visibility) / 1000;
    }
    c.cloudCover = whole(now("cloud_cover"));
    // The cloud base from the spread of temperature and dew point (about 125 m a degree), where
    // clouds cover at least half the sky and so form a ceiling.
    if (c.cloudCover && c.dewPoint && *c.cloudCover >= 50) {
        const double spread = metric ? *temperature - *c.dewPoint : (*temperature - *c.dewPoint) * 5 / 9;
        c.ceilingM = std::round(std::max(0.0, spread) * 125 / 10) * 10;
    }
    c.pressureMb = now("pressure_msl");
    c.tendency = Tendency(f->Hourly("pressure_msl"), hour);
    // The hourly sums: each covers the hour before its time.
    const std::vector<Number> hourly = f->Hourly("precipitation");
    double sum = 0;
    for (long back = 0, next = 0; back < 24; ++back) {
        const Number amount = At(hourly, hour - back);
        if (!amount) break;
        sum += *amount;
        static constexpr long kPast[] = {1, 3, 6, 9, 12, 18, 24};
        if (next < 7 && back + 1 == kPast[next]) {
            c.precipitation.push_back(sum);
            ++next;
        }
    }
    c.link = kOpenMeteoLink;
    ws::JsonWriter w;
    w.beginArray();
    ws::writeCurrentConditions(w, c, ws::Language::fromCode(language).lang, true);
    w.endArray();
    return w.text();
}

namespace {

struct HourlySeries {
    std::vector<Number> code, probability, rain, showers, snow, cloud, wind, degrees, gust;
};

// One half of a forecast day from the hours [first, last): the worst weather code (or the given
// one), the highest probability, the sums, the mean cloud cover and wind, the strongest gust.
ws::HalfDayValues ReadHalf(const HourlySeries& s, long first, long last, bool day, std::optional<int> wmo) {
    ws::HalfDayValues h;
    double cloud = 0, east = 0, north = 0, wind = 0;
    int cloudHours = 0, windHours = 0, worst = -1;
    bool thunder = false, snow = false, ice = false, rain = false;
    for (long i = first; i < last; ++i) {
        if (const Number c = At(s.code, i)) {
            const int code = static_cast<int>(*c);
            worst = std::max(worst, code);
            thunder |= IsThunder(code);
            snow |= IsSnow(code);
            ice |= IsFreezing(code);
            rain |= IsWet(code) && !IsSnow(code) && !IsFreezing(code);
        }
        if (const Number p = At(s.probability, i))
            h.precipitationProbability = std::max(h.precipitationProbability, static_cast<int>(std::lround(*p)));
        h.rain += At(s.rain, i).value_or(0) + At(s.showers, i).value_or(0);
        h.snow += At(s.snow, i).value_or(0);
        if (const Number c = At(s.cloud, i)) cloud += *c, ++cloudHours;
        if (const Number v = At(s.wind, i); v && At(s.degrees, i)) {
            const double a = *At(s.degrees, i) * 3.14159265358979323846 / 180;
            wind += *v, east += *v * std::sin(a), north += *v * std::cos(a), ++windHours;
        }
        if (const Number g = At(s.gust, i)) h.gustSpeed = std::max(h.gustSpeed.value_or(0), *g);
    }
    h.icon = ServiceIcon(wmo.value_or(worst), day);
    if (cloudHours) h.cloudCover = static_cast<int>(std::lround(cloud / cloudHours));
    if (windHours) {
        h.windSpeed = wind / windHours;
        const double degrees = std::atan2(east, north) * 180 / 3.14159265358979323846;
        h.windDegrees = static_cast<int>(std::lround(degrees < 0 ? degrees + 360 : degrees)) % 360;
    }
    rain |= h.rain > 0;
    snow |= h.snow > 0;
    if (h.rain > 0 || h.snow > 0) h.precipitationType = h.snow > 0 ? (h.rain > 0 ? "Mixed" : "Snow") : "Rain";
    const int p = h.precipitationProbability;
    h.thunderstormProbability = thunder ? p : 0;
    h.rainProbability = rain ? p : 0;
    h.snowProbability = snow ? p : 0;
    h.iceProbability = ice ? p : 0;
    return h;
}

}  // namespace

std::optional<std::string> DailyFromForecast(std::string_view json, std::string_view language, bool metric, int days) {
    const std::optional<Forecast> f = ReadForecast(json, true);
    if (!f) return std::nullopt;
    const std::vector<std::string> dates = Elements(json, "daily/time");
    const std::optional<long long> nowLocal = LocalSeconds(Trim(GetJSONValue(json, "current/time")));
    if (dates.empty() || !nowLocal) return std::nullopt;
    const ws::Lang lang = ws::Language::fromCode(language).lang;
    const auto daily = [&](std::string_view name) { return Series(json, std::string("daily/") + std::string(name)); };
    const std::vector<Number> code = daily("weather_code"), high = daily("temperature_2m_max"),
                              low = daily("temperature_2m_min"), feltHigh = daily("apparent_temperature_max"),
                              feltLow = daily("apparent_temperature_min"), daylight = daily("daylight_duration"),
                              sunshine = daily("sunshine_duration"), uv = daily("uv_index_max");
    const std::vector<std::string> rises = Elements(json, "daily/sunrise"), sets = Elements(json, "daily/sunset");
    const HourlySeries s{f->Hourly("weather_code"), f->Hourly("precipitation_probability"), f->Hourly("rain"),
                         f->Hourly("showers"), f->Hourly("snowfall"), f->Hourly("cloud_cover"),
                         f->Hourly("wind_speed_10m"), f->Hourly("wind_direction_10m"), f->Hourly("wind_gusts_10m")};
    const int offsetMinutes = f->offsetMinutes;
    const long long offset = offsetMinutes * 60LL;
    const long long today = *nowLocal / 86400 * 86400;
    const auto moment = [&](long long utc) { return ws::Moment{ws::isoWithOffset(utc, offsetMinutes), utc}; };

    JsonWriter w;
    w.beginObject();
    w.key("Headline").beginObject().member("Text", "").member("Category", "").endObject();
    w.key("DailyForecasts").beginArray();
    int written = 0;
    for (std::size_t d = 0; d < dates.size() && written < days; ++d) {
        const std::optional<long long> midnight = LocalSeconds(Trim(dates[d]));
        // The past day asked for the pressure tendency is no forecast.
        if (!midnight || *midnight < today) continue;
        const long i = static_cast<long>(d);
        const Number lo = At(low, i), hi = At(high, i);
        if (!lo || !hi) continue;
        ws::DayValues v;
        v.date = moment(*midnight + 7 * 3600 - offset);
        // The midnight sun or the polar night: no rise and no set, as the service writes null.
        const double light = At(daylight, i).value_or(-1);
        const bool polar = light >= 0 && (light < 60 || light > 86340);
        const auto sunAt = [&](const std::vector<std::string>& texts) -> std::optional<ws::Moment> {
            if (polar || d >= texts.size()) return std::nullopt;
            const std::optional<long long> t = LocalSeconds(Trim(texts[d]));
            if (!t) return std::nullopt;
            return moment(*t - offset);
        };
        v.sunRise = sunAt(rises);
        v.sunSet = sunAt(sets);
        const ws::MoonDay moon = ws::moonDay(*midnight - offset, *midnight + 86400 - offset, *midnight + 43200 - offset);
        if (moon.riseUtc) v.moonRise = moment(*moon.riseUtc);
        v.moonSet = moment(moon.setUtc);
        v.moonPhase = moon.phase;
        v.moonAge = moon.age;
        v.minimum = *lo;
        v.maximum = *hi;
        v.realFeelMinimum = At(feltLow, i);
        v.realFeelMaximum = At(feltHigh, i);
        if (const Number sun = At(sunshine, i)) v.hoursOfSun = *sun / 3600;
        if (const Number index = At(uv, i)) {
            const int value = static_cast<int>(std::lround(*index));
            v.airAndPollen.push_back({"UVIndex", value, ws::uvCategory(value, lang), ws::uvCategoryValue(value), std::nullopt});
        }
        std::optional<int> dayWmo;
        if (const Number c = At(code, i)) dayWmo = static_cast<int>(*c);
        // Day 07:00 to 19:00, night 19:00 to 07:00, as the service splits them.
        const long dayStart = f->Index(*midnight + 7 * 3600);
        const long start = dayStart < 0 ? -100 : dayStart;
        v.day = ReadHalf(s, start, start + 12, true, dayWmo);
        v.night = ReadHalf(s, start + 12, start + 24, false, std::nullopt);
        for (ws::HalfDayValues* half : {&v.day, &v.night})
            // About 7 cm of snow give 1 cm of water.
            half->totalLiquid = half->rain + (metric ? half->snow * 10 / 7 : half->snow / 7);
        v.source = "Open-Meteo";
        v.link = kOpenMeteoLink;
        ws::writeForecastDay(w, v, lang, true, metric, false);
        ++written;
    }
    w.endArray().endObject();
    return w.text();
}
