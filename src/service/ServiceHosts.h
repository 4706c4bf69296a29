#pragma once
#include <string>

#include "platform/SettingsStore.h"

// Where the weather service, the keyless source, the satellite picture and the updates come from.
// Hidden keys of the settings store ("Server.Api", "Server.Satellite", "Server.Update",
// "Server.ApiKey", "Server.Geocoding", "Server.Forecast") override the built-in values; a blank
// setting counts as none.

// The API key travels in every request: only over HTTPS, which the service offers.
inline constexpr const char* kDefaultApiBase = "https://dataservice.accuweather.com/";
inline constexpr const char* kDefaultSatelliteBase = "http://sirocco.accuweather.com/";
// The maker's update server is not known to this build; the reserved .invalid name never
// resolves, so an update check fails quietly until a real server is configured. Program files
// come from it: only over HTTPS.
inline constexpr const char* kDefaultUpdateBase = "https://updates.korvelin.invalid/updates";
// The maker's web site, named where an update fails.
inline constexpr const char* kMakerWebAddress = "www.korvelin.invalid";
// The keyless source (Open-Meteo): geocoding and forecasts, over HTTPS.
inline constexpr const char* kDefaultGeocodingBase = "https://geocoding-api.open-meteo.com/";
inline constexpr const char* kDefaultForecastBase = "https://api.open-meteo.com/";
inline constexpr const char* kDefaultApiKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";

std::string ApiBaseUrl(SettingsStore& settings);        // ends in "/"
std::string SatelliteBaseUrl(SettingsStore& settings);  // ends in "/"
std::string UpdateBaseUrl(SettingsStore& settings);     // no trailing "/": "/updates.php" follows
std::string ApiKey(SettingsStore& settings);
std::string GeocodingBaseUrl(SettingsStore& settings);  // ends in "/"
std::string ForecastBaseUrl(SettingsStore& settings);   // ends in "/"

enum class WeatherSource { Service, Keyless };
// "Server.Source" names it; without it (or with another value) the service answers when the
// user has put in a key of their own ("Server.ApiKey"), the keyless source otherwise.
WeatherSource ChosenSource(SettingsStore& settings);
