#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/RegistryPort.h"
#include "platform/SettingsStore.h"
#include "service/mHttpRequest.h"

// The weather service's JSON API: URLs, options, API key, language and date-time texts. Every
// request returns the reply body as text; for a failed request the HTTP error text or "Error!"
// instead, and the empty text after a time-out.

// What the requests need: the HTTP client, and the settings that name the host and the key.
struct WeatherService {
    HttpClient http;
    SettingsStore& settings;
};

// The API base URL, the path, "?" unless the path holds one, then the options in this order:
// Language (when not empty), Details=True (when asked for), Metric=True/False, ApiKey.
std::string WeatherRequest(const WeatherService& service, std::string_view path, std::string_view language,
                           bool details, bool metric);

std::string GetCity(const WeatherService& service, std::string_view locationKey, std::string_view language);
// The search text is sent percent-encoded as UTF-8, so blanks, "&", "#", "?" and umlauts reach
// the service as part of the text.
std::string SearchCities(const WeatherService& service, std::string_view searchText, std::string_view language);
std::string GetWeather(const WeatherService& service, std::string_view locationKey, std::string_view language,
                       bool metric);
// 5, 10, 15 or 25 days; any other number asks for 5.
std::string GetForecast(const WeatherService& service, std::string_view locationKey, std::int32_t days,
                        std::string_view language, bool metric);

// The user's locale name, the default user's, the browser's accepted languages, else "DE".
std::string GetLanguage(RegistryPort& registry);

// "2015-11-03T07:15:00+01:00" as an OLE automation date (days since 30.12.1899 00:00 with the
// time of day as fraction), the clock time as written, the zone offset ignored. Any text that is
// not 25 characters with "T" as the 11th, or whose date and time fields are not digits, gives 0.
double ParseISODateTime(std::string_view text);
