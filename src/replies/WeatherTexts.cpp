#include "replies/WeatherTexts.h"

#include <cmath>

namespace ws {

namespace {

struct IconText {
    int icon;
    const char* en;
    const char* de;
    const char* enLively;
    const char* deLively;
};

const IconText kIcons[] = {
    {1, "Sunny", "Sonnig", "Plenty of sunshine", "Viel Sonnenschein"},
    {2, "Mostly sunny", "Überwiegend sonnig", "Mostly sunny and nice", "Überwiegend sonnig und schön"},
    {3, "Partly sunny", "Teilweise sonnig", "Some sun, then clouds", "Erst Sonne, dann Wolken"},
    {4, "Intermittent clouds", "Wechselnd bewölkt", "Clouds and sun", "Wolken und Sonne im Wechsel"},
    {5, "Hazy sunshine", "Diesig", "Hazy sun", "Dunstiger Sonnenschein"},
    {6, "Mostly cloudy", "Meist bewölkt", "Considerable cloudiness", "Überwiegend bewölkt"},
    {7, "Cloudy", "Bewölkt", "Cloudy and dry", "Bewölkt und trocken"},
    {8, "Dreary (Overcast)", "Stark bewölkt", "Overcast and gray", "Trüb und grau"},
    {11, "Fog", "Nebel", "Areas of fog", "Nebelfelder"},
    {12, "Showers", "Schauer", "A couple of showers", "Ein paar Schauer"},
    {13, "Mostly cloudy w/ showers", "Meist bewölkt mit Schauern", "Cloudy with a shower",
     "Bewölkt mit einem Schauer"},
    {14, "Partly sunny w/ showers", "Teilweise sonnig mit Schauern", "Sun and a passing shower",
     "Sonne und ein kurzer Schauer"},
    {15, "Thunderstorms", "Gewitter", "Strong thunderstorms", "Kräftige Gewitter"},
    {16, "Mostly cloudy w/ t-storms", "Meist bewölkt mit Gewittern", "Cloudy with a thunderstorm",
     "Bewölkt mit einem Gewitter"},
    {17, "Partly sunny w/ t-storms", "Teilweise sonnig mit Gewittern", "A thunderstorm in spots",
     "Örtlich ein Gewitter"},
    {18, "Rain", "Regen", "Periods of rain", "Zeitweise Regen"},
    {19, "Flurries", "Schneegestöber", "A few flurries", "Ein paar Schneeflocken"},
    {20, "Mostly cloudy w/ flurries", "Meist bewölkt mit Schneegestöber", "Cloudy with flurries",
     "Bewölkt mit Schneeflocken"},
    {21, "Partly sunny w/ flurries", "Teilweise sonnig mit Schneegestöber",
     "Sun and a few flurries", "Sonne und ein paar Flocken"},
    {22, "Snow", "Schnee", "Snow, accumulating", "Schneefall mit Neuschnee"},
    {23, "Mostly cloudy w/ snow", "Meist bewölkt mit Schnee", "Cloudy with snow",
     "Bewölkt mit Schneefall"},
    {24, "Ice", "Eis", "Icy mix", "Glatteis möglich"},
    {25, "Sleet", "Schneeregen", "Sleet at times", "Zeitweise Schneeregen"},
    {26, "Freezing rain", "Gefrierender Regen", "Freezing rain, slippery",
     "Gefrierender Regen, glatt"},
    {29, "Rain and snow", "Regen und Schnee", "Rain mixed with snow", "Regen mit Schnee vermischt"},
    {30, "Hot", "Heiß", "Sunny and hot", "Sonnig und heiß"},
    {31, "Cold", "Kalt", "Frigid", "Bitterkalt"},
    {32, "Windy", "Windig", "Windy with clouds and sun", "Windig mit Sonne und Wolken"},
    {33, "Clear", "Klar", "Clear", "Klar"},
    {34, "Mostly clear", "Überwiegend klar", "Mainly clear", "Größtenteils klar"},
    {35, "Partly cloudy", "Teilweise bewölkt", "Partly cloudy", "Teilweise bewölkt"},
    {36, "Intermittent clouds", "Wechselnd bewölkt", "Clouds and clear spells",
     "Wolken und klare Abschnitte"},
    {37, "Hazy moonlight", "Dunstig", "Hazy", "Dunstig bei Mondschein"},
    {38, "Mostly cloudy", "Meist bewölkt", "Considerable cloudiness", "Überwiegend bewölkt"},
    {39, "Partly cloudy w/ showers", "Teilweise bewölkt mit Schauern", "A passing shower",
     "Ein kurzer Schauer"},
    {40, "Mostly cloudy w/ showers", "Meist bewölkt mit Schauern", "A shower or two",
     "Ein oder zwei Schauer"},
    {41, "Partly cloudy w/ t-storms", "Teilweise bewölkt mit Gewittern", "A thunderstorm in places",
     "Stellenweise Gewitter"},
    {42, "Mostly cloudy w/ t-storms", "Meist bewölkt mit Gewittern", "Cloudy with thunderstorms",
     "Bewölkt mit Gewittern"},
    {43, "Mostly cloudy w/ flurries", "Meist bewölkt mit Schneegestöber", "Cloudy with flurries",
     "Bewölkt mit Schneeflocken"},
    {44, "Mostly cloudy w/ snow", "Meist bewölkt mit Schnee", "Cloudy with snow",
     "Bewölkt mit Schneefall"},
};

const IconText* findIcon(int icon)
{
    for (const IconText& text : kIcons) {
        if (text.icon == icon)
            return &text;
    }
    return nullptr;
}

int compassPoint(int degrees)
{
    const int normalized = ((degrees % 360) + 360) % 360;
    return static_cast<int>(std::lround(normalized / 22.5)) % 16;
}

}  // namespace

std::string iconPhrase(int icon, Lang lang)
{
    const IconText* text = findIcon(icon);
    if (!text)
        return {};
    return lang == Lang::German ? text->de : text->en;
}

std::string shortPhrase(int icon, int variant, Lang lang)
{
    const IconText* text = findIcon(icon);
    if (!text)
        return {};
    if (variant == 0)
        return lang == Lang::German ? text->de : text->en;
    return lang == Lang::German ? text->deLively : text->enLively;
}

std::string compassEnglish(int degrees)
{
    static const char* const kPoints[16] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                            "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    return kPoints[compassPoint(degrees)];
}

std::string compassLocalized(int degrees, Lang lang)
{
    static const char* const kPoints[16] = {"N", "NNO", "NO", "ONO", "O", "OSO", "SO", "SSO",
                                            "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    return lang == Lang::German ? kPoints[compassPoint(degrees)] : compassEnglish(degrees);
}

int uvCategoryValue(int uvIndex)
{
    return uvIndex <= 2 ? 1 : uvIndex <= 5 ? 2 : uvIndex <= 7 ? 3 : uvIndex <= 10 ? 4 : 5;
}

std::string uvCategory(int uvIndex, Lang lang)
{
    static const char* const kEn[] = {"Low", "Moderate", "High", "Very High", "Extreme"};
    static const char* const kDe[] = {"Niedrig", "Mäßig", "Hoch", "Sehr hoch", "Extrem"};
    const int index = uvCategoryValue(uvIndex) - 1;
    return lang == Lang::German ? kDe[index] : kEn[index];
}

std::string pollenCategory(int level, Lang lang)
{
    static const char* const kEn[] = {"Low", "Moderate", "High", "Very High"};
    static const char* const kDe[] = {"Niedrig", "Mäßig", "Hoch", "Sehr hoch"};
    const int index = level < 1 ? 0 : level > 4 ? 3 : level - 1;
    return lang == Lang::German ? kDe[index] : kEn[index];
}

int airQualityCategoryValue(int value)
{
    return value <= 50 ? 1 : value <= 100 ? 2 : value <= 150 ? 3 : 4;
}

std::string airQualityCategory(int value, Lang lang)
{
    static const char* const kEn[] = {"Good", "Moderate", "Unhealthy (Sensitive)", "Unhealthy"};
    static const char* const kDe[] = {"Gut", "Mäßig", "Ungesund für empfindliche Personen",
                                      "Ungesund"};
    const int index = airQualityCategoryValue(value) - 1;
    return lang == Lang::German ? kDe[index] : kEn[index];
}

std::string realFeelPhrase(double celsius, Lang lang)
{
    static const struct {
        double below;
        const char* en;
        const char* de;
    } kBands[] = {{-18, "Frigid", "Eisig"},  {-8, "Very Cold", "Sehr kalt"},
                  {3, "Cold", "Kalt"},        {10, "Chilly", "Frisch"},
                  {16, "Cool", "Kühl"},       {24, "Pleasant", "Angenehm"},
                  {28, "Warm", "Warm"},       {32, "Very Warm", "Sehr warm"},
                  {38, "Hot", "Heiß"},        {1000, "Very Hot", "Sehr heiß"}};
    for (const auto& band : kBands) {
        if (celsius < band.below)
            return lang == Lang::German ? band.de : band.en;
    }
    return lang == Lang::German ? "Sehr heiß" : "Very Hot";
}

std::string tendencyText(char code, Lang lang)
{
    const bool de = lang == Lang::German;
    switch (code) {
    case 'R':
        return de ? "Steigend" : "Rising";
    case 'F':
        return de ? "Fallend" : "Falling";
    default:
        return de ? "Gleichbleibend" : "Steady";
    }
}

std::string weekdayName(int weekday, Lang lang)
{
    static const char* const kEn[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
    static const char* const kDe[] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                      "Donnerstag", "Freitag", "Samstag"};
    const int index = ((weekday % 7) + 7) % 7;
    return lang == Lang::German ? kDe[index] : kEn[index];
}

}  // namespace ws
