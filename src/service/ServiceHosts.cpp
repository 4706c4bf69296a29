#include "service/ServiceHosts.h"

#include "platform/SettingsKeys.h"
#include "system/Numbers.h"

namespace {
std::string Setting(SettingsStore& settings, const char* name, const char* fallback) {
    const std::string value = Trim(settings.Read(kSettingsApp, kSettingsSection, name, ""));
    return value.empty() ? fallback : value;
}

std::string WithSlash(std::string url) {
    if (url.back() != '/') url += '/';
    return url;
}
}  // namespace

std::string ApiBaseUrl(SettingsStore& settings) { return WithSlash(Setting(settings, key::ServerApi, kDefaultApiBase)); }

std::string SatelliteBaseUrl(SettingsStore& settings) {
    return WithSlash(Setting(settings, key::ServerSatellite, kDefaultSatelliteBase));
}

std::string UpdateBaseUrl(SettingsStore& settings) {
    std::string url = Setting(settings, key::ServerUpdate, kDefaultUpdateBase);
    while (url.size() > 1 && url.back() == '/') url.pop_back();
    return url;
}

std::string ApiKey(SettingsStore& settings) { return Setting(settings, key::ServerApiKey, kDefaultApiKey); }

std::string GeocodingBaseUrl(SettingsStore& settings) {
    return WithSlash(Setting(settings, key::ServerGeocoding, kDefaultGeocodingBase));
}

std::string ForecastBaseUrl(SettingsStore& settings) {
    return WithSlash(Setting(settings, key::ServerForecast, kDefaultForecastBase));
}

WeatherSource ChosenSource(SettingsStore& settings) {
    const std::string source = LowerCase(Setting(settings, key::ServerSource, ""));
    if (source == "open-meteo") return WeatherSource::Keyless;
    if (source == "service") return WeatherSource::Service;
    return Setting(settings, key::ServerApiKey, "").empty() ? WeatherSource::Keyless : WeatherSource::Service;
}
