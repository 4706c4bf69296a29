#include "weather/CurrentConditions.h"

#include <cmath>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "service/mAccuWeather.h"
#include "service/mJSON.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "weather/DisplayFormat.h"
#include "weather/ReplyText.h"
#include "weather/RunError.h"
#include "weather/TranslationDE.h"
#include "weather/mTaupunkt.h"
#include "weather/mUTCoffset.h"

namespace {

// One reply object and the unit system it is read in.
struct Reader {
    std::string_view json;
    std::string unit;  // "Metric" or "Imperial"
    char sep;

    std::string Text(std::string_view path) const { return ShownText(GetJSONValue(json, path)); }
    double Number(std::string_view path) const { return Val(Text(path)); }
    // "<prefix>/<unit>/<leaf>", as "Temperature/Metric/Value".
    std::string InUnit(std::string_view prefix, std::string_view leaf) const { return Text(Cat(prefix, "/", unit, "/", leaf)); }
    double NumberInUnit(std::string_view prefix) const { return Val(InUnit(prefix, "Value")); }
    std::string Format(double v, std::string_view pattern) const { return FormatNumber(v, pattern, sep); }
    std::string Plain(double v) const { return PlainNumber(v, sep); }
};

std::string UnitName(bool metric) { return metric ? "Metric" : "Imperial"; }

struct Trend {
    const char* code;
    const char* word;
    const char* glyph;  // Wingdings arrows: up, right, down
};
constexpr Trend kTrends[] = {{"r", "steigend", "\xF1"}, {"s", "gleich", "\xF0"}, {"f", "fallend", "\xF2"}};

std::string WindTip(std::string_view direction, std::string_view degrees, std::string_view speed,
                    std::string_view gust, std::string_view unit) {
    return Cat(" Wind aus Richtung: ", direction, " (", degrees, "°) |", " Geschwindigkeit: ", speed, " ", unit,
               " |", " Windböen bis ", gust, " ", unit, " möglich ");
}

std::string Time(std::string_view iso, Locale& locale) { return FormatDate(ParseISODateTime(iso), "HH:NN", locale); }

}  // namespace

UnitTexts ReadUnits(std::string_view conditions, bool metric) {
    const Reader r{conditions, UnitName(metric), '.'};
    return {r.InUnit("Temperature", "Unit"), r.InUnit("Visibility", "Unit"), r.InUnit("Wind/Speed", "Unit"),
            r.InUnit("Pressure", "Unit"), r.InUnit("PrecipitationSummary/Precipitation", "Unit")};
}

CurrentConditions ReadCurrentConditions(std::string_view conditions, std::string_view today, bool metric,
                                        std::string_view placeName, Locale& locale) {
    const Reader r{conditions, UnitName(metric), locale.DecimalSeparator()};
    const UnitTexts units = ReadUnits(conditions, metric);
    CurrentConditions c;
    const double icon = r.Number("WeatherIcon");
    c.icon = icon >= 1 && icon <= 99 ? static_cast<int>(icon) : 0;
    c.weatherText = r.Text("WeatherText");
    c.link = r.Text("Link");

    // Weather: sun, clouds, sight and, when there is any, precipitation.
    const std::string visibility = r.Format(r.NumberInUnit("Visibility"), "0.0");
    const std::string precipitation = r.Format(r.NumberInUnit("PrecipitationSummary/Precipitation"), "0.0");
    const std::string ceiling = Cat(r.Format(r.NumberInUnit("Ceiling"), "#0"), r.InUnit("Ceiling", "Unit"));
    const std::string sun = r.Format(Val(GetJSONValue(today, "HoursOfSun")), "0.0");
    c.weatherTip = Cat(" Wetterlage: ", c.weatherText, " ", "| Sonne: ", sun, " h ", "| Wolkendecke: ",
                       r.Text("CloudCover"), "% (", ceiling, ") ", "| Sicht: ", visibility, " ", units.visibility, " ");
    // The amount as shown decides: none when it rounds to 0,0.
    if (ShownNumber(precipitation, r.sep) > 0) c.weatherTip += Cat("| Niederschlag: ", precipitation, " ", units.precipitation, " ");

    // Temperatures; the shade is named only when it differs.
    const double T = r.NumberInUnit("Temperature");
    const double RF = r.NumberInUnit("RealFeelTemperature");
    const double RFS = r.NumberInUnit("RealFeelTemperatureShade");
    const std::string degrees = Cat("°", units.temperature);
    c.temperature = Cat(r.Format(T, "#0.0"), degrees);
    c.felt = Cat(r.Format(RF, "#0.0"), degrees);
    const std::string shade = r.Format(RF, "#0.0") == r.Format(RFS, "#0.0") ? "" : Cat(" und ", r.Format(RFS, "#0.0"), degrees, " im Schatten");
    c.temperatureTip = Cat(" Temperatur: ", c.temperature, " | Gefühlt: ", c.felt, shade, " | Taupunkt: ",
                           r.Format(r.NumberInUnit("DewPoint"), "#0.0"), degrees, " ");

    // Humidity, the absolute one always from the Celsius temperature.
    const double RH = r.Number("RelativeHumidity");
    const float AF = AbsoluteHumidity(static_cast<float>(r.Number("Temperature/Metric/Value")), static_cast<float>(RH));
    c.humidity = Cat(r.Format(RH, "#0"), "%");
    c.humidityTip = Cat(" Luftfeuchtigkeit: ", r.Format(RH, "#0"), " %rF", " | Absolute Feuchte: ", r.Format(AF, "0.0"), " g/m³ ");

    const double P = r.NumberInUnit("Pressure");
    if (P > 0) {
        c.pressure = Cat(r.Format(P, "#0"), " ", units.pressure);
        c.pressureTip = Cat(" Luftdruck: ", r.Format(P, "#0.0"), " ", units.pressure, " ");
    } else {
        c.pressureTip = " Luftdruck: nicht verfügbar! ";
    }

    const std::string trend = LowerCase(Trim(r.Text("PressureTendency/Code")));
    c.trendTip = trend.empty() ? " Trend: nicht verfügbar! " : " Trend:  ";
    for (const Trend& t : kTrends)
        if (trend == t.code) {
            c.trendGlyph = t.glyph;
            c.trendTip = Cat(" Trend: ", t.word, " ");
        }

    const double speed = r.NumberInUnit("Wind/Speed");
    const double gust = r.NumberInUnit("WindGust/Speed");
    c.windDirection = r.Text("Wind/Direction/English");
    c.windSector = WindSector(c.windDirection);
    c.windSpeed = Cat(r.Format(speed, "#0"), " ", units.wind);
    c.windTip = WindTip(r.Text("Wind/Direction/Localized"), r.Plain(r.Number("Wind/Direction/Degrees")), r.Plain(speed),
                        r.Plain(gust), units.wind);

    c.uvIndex = r.Text("UVIndex");
    c.uvTip = Cat(" UV-Index: ", c.uvIndex, " (", r.Text("UVIndexText"), ") ");

    const std::string humidityRounded = r.Plain(RoundHalfEven(RH));
    c.balloonText = Cat("Aktuelle Wetterlage:     ", c.weatherText, "\r\n",
                        "Temperatur:                  ", c.temperature, "\r\n",
                        "Gefühlt:                         ", c.felt, "\r\n",
                        "Luftfeuchte:                  ", humidityRounded, " %rF\r\n",
                        "Wind aus Richtung:       ", c.windDirection, "\r\n",
                        "Windgeschwindigkeit:   ", r.Plain(speed), units.wind, "\r\n",
                        "Windböen bis:               ", r.Plain(gust), units.wind);
    // The temperature unit of the reply: an imperial run shows Fahrenheit values as °F.
    c.trayTip = Cat(" ", placeName, ": ", c.weatherText, " | ", r.Format(T, "#0.0"), degrees, " (", r.Format(RF, "#0.0"),
                    degrees, ") | ", humidityRounded, "%rF | ", c.windDirection, " ", r.Plain(speed), units.wind, " ");
    return c;
}

SunAndMoon ReadSunAndMoon(std::string_view today, Locale& locale) {
    const auto value = [&](std::string_view path) { return ShownText(GetJSONValue(today, path)); };
    std::string moonRise = Time(value("Moon/Rise"), locale);
    if (moonRise == "00:00") moonRise = "xx:xx";  // no moonrise today
    SunAndMoon s;
    const std::string phase = MoonPhaseDE(value("Moon/Phase"));
    if (!phase.empty()) {
        s.moonTile = phase[0] - '0';
        s.moonTip = Cat(" Mondphase: ", phase.substr(2), " (Tag ", value("Moon/Age"), ") ");
    } else {
        s.moonTip = " Mondphase nicht verfügbar ";
    }
    s.moonTip += Cat("| Mond: ", moonRise, " - ", Time(value("Moon/Set"), locale), " Uhr | Sonne: ",
                     Time(value("Sun/Rise"), locale), " - ", Time(value("Sun/Set"), locale), " Uhr ");
    return s;
}

std::string ObservationText(std::string_view conditions, Clock& clock, Locale& locale) {
    const std::string epoch = GetJSONValue(conditions, "EpochTime");
    double when = clock.Now();
    if (!epoch.empty()) {
        const double seconds = Val(epoch);
        if (std::fabs(seconds) > 253402300799.0) throw OverflowError();  // after 31.12.9999
        when = EpochToDate(static_cast<std::int64_t>(RoundHalfEven(seconds)), GetUTCOffset(clock));
    }
    return Cat("AKTUELL:\r\n", FormatDate(when, "DD.MM.  HH:NN", locale));
}
