#include "weather/ForecastDay.h"

#include "platform/Locale.h"
#include "service/mAccuWeather.h"
#include "service/mJSON.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "weather/DisplayFormat.h"
#include "weather/ReplyText.h"

namespace {

struct Day {
    std::string_view json;
    char sep;
    std::string Text(std::string_view path) const { return ShownText(GetJSONValue(json, path)); }
    double Number(std::string_view path) const { return Val(Text(path)); }
    std::string Plain(std::string_view path) const { return PlainNumber(Number(path), sep); }
};

int Tile(double icon) { return icon >= 1 && icon <= 99 ? static_cast<int>(icon) : 0; }

// " (amount)," when the amount as shown is more than nothing, else ",".
std::string Amount(const std::string& amount, char sep) {
    return ShownNumber(amount, sep) > 0 ? Cat(" (", amount, "),") : ",";
}

// The tooltip of a day or night picture; `half` is "Day" or "Night".
std::string IconTip(const Day& d, std::string_view half) {
    const auto path = [&](std::string_view leaf) { return Cat(half, "/", leaf); };
    const std::string phrase = d.Text(path("IconPhrase"));
    const std::string shortPhrase = d.Text(path("ShortPhrase"));
    std::string tip = Cat(" ", shortPhrase == phrase ? phrase : Cat(phrase, "; ", shortPhrase), " ",
                          "| Wolkendecke: ", d.Text(path("CloudCover")), "% ");
    const double rain = d.Number(path("RainProbability"));
    const double thunder = d.Number(path("ThunderstormProbability"));
    const double snow = d.Number(path("SnowProbability"));
    const double ice = d.Number(path("IceProbability"));
    if (rain + thunder + snow + ice > 0) tip += "| Wahrscheinlichkeit für ... ";
    if (rain > 0) {
        const std::string amount = Cat(d.Plain(path("Rain/Value")), " ", d.Text(path("Rain/Unit")));
        tip += Cat(" Regen: ", PlainNumber(rain, d.sep), "%", Amount(amount, d.sep));
    }
    if (thunder > 0) tip += Cat(" Gewitter: ", PlainNumber(thunder, d.sep), "%,");
    if (snow > 0) {
        const std::string amount = Cat(d.Text(path("Snow/Value")), " ", d.Text(path("Snow/Unit")));
        tip += Cat(" Schnee: ", PlainNumber(snow, d.sep), "%", Amount(amount, d.sep));
    }
    if (ice > 0) tip += Cat(" Eisglätte: ", PlainNumber(ice, d.sep), "%,");
    if (tip.back() == ',') tip.back() = ' ';
    return tip;
}

std::string WindTip(const Day& d, std::string_view half, const std::string& unit) {
    const auto path = [&](std::string_view leaf) { return Cat(half, "/", leaf); };
    return Cat(" Wind aus Richtung: ", d.Text(path("Wind/Direction/Localized")), " (",
               d.Plain(path("Wind/Direction/Degrees")), "°) |", " Geschwindigkeit: ", d.Plain(path("Wind/Speed/Value")),
               " ", unit, " |", " Windböen bis ", d.Plain(path("WindGust/Speed/Value")), " ", unit, " möglich ");
}

}  // namespace

ForecastDay ReadForecastDay(std::string_view json, const UnitTexts& units, Locale& locale) {
    const Day d{json, locale.DecimalSeparator()};
    ForecastDay f;
    const double date = ParseISODateTime(d.Text("Date"));
    f.heading = UpperCase(FormatDate(date, "DDD DD.MM.", locale));
    f.link = d.Text("Link");
    f.headingTip = Cat(" [DoppelKlick]:  Detailierte Vorhersage für ", FormatDate(date, "DDDD, DD.MM.YYYY", locale),
                       "  »  Internet ");
    f.dayIcon = Tile(d.Number("Day/Icon"));
    f.nightIcon = Tile(d.Number("Night/Icon"));
    f.dayIconTip = IconTip(d, "Day");
    f.nightIconTip = IconTip(d, "Night");

    const auto temperature = [&](std::string_view path) {
        return Cat(FormatNumber(d.Number(path), "#0", d.sep), "°", units.temperature);
    };
    f.maximum = temperature("Temperature/Maximum/Value");
    f.maximumTip = Cat(" Höchsttemperatur: ", f.maximum, " | Gefühlt: ", temperature("RealFeelTemperature/Maximum/Value"), " ");
    f.minimum = temperature("Temperature/Minimum/Value");
    f.minimumTip = Cat(" Tiefsttemperatur: ", f.minimum, " | Gefühlt: ", temperature("RealFeelTemperature/Minimum/Value"), " ");

    f.dayWind = d.Text("Day/Wind/Direction/Localized");
    f.nightWind = d.Text("Night/Wind/Direction/Localized");
    f.dayWindTip = WindTip(d, "Day", units.wind);
    f.nightWindTip = WindTip(d, "Night", units.wind);

    f.uv.assign(1, '?');  // not the literal: a false GCC 12 warning at -O3
    f.uvTip = " UV-Index: Unbekannt ";
    // The list itself is not shown: only its members are cut to what a label shows.
    const std::vector<std::string> pollen = SplitJSONArray(GetJSONValue(d.json, "AirAndPollen"));
    for (std::size_t i = 1; i < pollen.size(); ++i) {
        if (GetJSONValue(pollen[i], "Name") != "UVIndex") continue;
        f.uv = ShownText(GetJSONValue(pollen[i], "Value"));
        f.uvTip = Cat(" UV-Index: ", f.uv, " (", LowerCase(ShownText(GetJSONValue(pollen[i], "Category"))), ") ");
        break;
    }
    return f;
}
