#pragma once
#include <optional>
#include <string>
#include <string_view>

// The keyless source's replies (Open-Meteo: geocoding and forecast, UTF-8 JSON) composed into
// the weather service's reply shapes, so that the refresh and the search read them unchanged.
// Every member they read gets the source's value, or is left out where the source has none.

// The service's weather icon for a WMO weather code by day or by night; 0 for an unknown code.
int ServiceIcon(int wmoCode, bool day);

// One geocoding place ("v1/get", or an element of "results") as the service's location object;
// nothing when the text holds no place id.
std::optional<std::string> LocationFromPlace(std::string_view place);
// A geocoding search reply as the service's array of places; "[]" when it found none.
std::string SearchFromResults(std::string_view reply);

// What a forecast request asks: where, in which units and language.
struct ForecastQuery {
    std::string latitude, longitude;
    bool metric = true;
    int days = 10;
};
// "v1/forecast?latitude=...": the variables the two replies below read.
std::string ForecastRequestPath(const ForecastQuery& query);

// A forecast reply as the service's current conditions (an array of one object), or its daily
// forecast (an object with "DailyForecasts"). Nothing when the reply lacks "current" or "hourly",
// or for the days "daily": the source answered, but not with a forecast.
std::optional<std::string> CurrentFromForecast(std::string_view forecast, std::string_view language, bool metric);
std::optional<std::string> DailyFromForecast(std::string_view forecast, std::string_view language, bool metric,
                                             int days);

// The page of the source that the replies' "Link" members name.
inline constexpr const char* kOpenMeteoLink = "https://open-meteo.com/";
