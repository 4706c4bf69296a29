#pragma once
#include <string>
#include <string_view>

class Clock;
class Locale;

// The texts and tiles of the widget's current-conditions column and of the tray, read from the
// current-conditions object (element 1 of its reply) and today's forecast day. Pure reading:
// the refresh puts them into the window models.

// Unit texts of one run, read from the current-conditions object; the forecast shares them.
struct UnitTexts {
    std::string temperature, visibility, wind, pressure, precipitation;
};
UnitTexts ReadUnits(std::string_view conditions, bool metric);

struct CurrentConditions {
    int icon = 0;  // weather tile; 0 = no picture
    std::string weatherText, link, weatherTip;
    std::string temperature, temperatureTip, felt;  // lTemp(0), the tooltip of the three labels, lTempGx(0)
    std::string humidity, humidityTip;
    std::string pressure, pressureTip;
    std::string trendGlyph, trendTip;  // a Wingdings arrow, or empty
    int windSector = 0;                // wind-arrow tile; 0 = no picture
    std::string windDirection, windSpeed, windTip;
    std::string uvIndex, uvTip;
    std::string balloonText, trayTip;
};
// May throw RunError (the absolute humidity of an impossible temperature).
CurrentConditions ReadCurrentConditions(std::string_view conditions, std::string_view today, bool metric,
                                        std::string_view placeName, Locale& locale);

struct SunAndMoon {
    int moonTile = 0;  // 0 = no picture
    std::string moonTip;
};
SunAndMoon ReadSunAndMoon(std::string_view today, Locale& locale);

// "AKTUELL:", CR LF and the observation time in local time ("DD.MM.  HH:NN"); the present time
// when the object has none. May throw RunError for a time beyond the year 9999.
std::string ObservationText(std::string_view conditions, Clock& clock, Locale& locale);
