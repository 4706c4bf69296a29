#include "weather/RefreshRequests.h"

#include "service/ServiceHosts.h"
#include "service/mUTF8toWIN.h"
#include "system/Cat.h"

ServiceReplies FetchServiceReplies(const WeatherService& service, const std::string& locationKey,
                                   const std::string& language, bool metric) {
    ServiceReplies r;
    r.location = UTF8toWIN(GetCity(service, locationKey, language));
    if (r.location.find('{') == std::string::npos) return r;
    r.current = UTF8toWIN(GetWeather(service, locationKey, language, metric));
    if (r.current.find('[') == std::string::npos) return r;
    r.forecast = UTF8toWIN(GetForecast(service, locationKey, 10, language, metric));
    return r;
}

std::string SatelliteUrl(SettingsStore& settings) {
    return Cat(SatelliteBaseUrl(settings), "sat_mosaic_640x480_public/IR/iseur3.jpg");
}

std::vector<std::uint8_t> FetchSatellite(const HttpClient& http, const std::string& url) {
    constexpr std::int32_t kTimeoutSeconds = 10;
    std::string status;
    HttpResult result = HttpRequest(http, url, true, status, {}, {}, {}, kTimeoutSeconds);
    if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&result); bytes && bytes->size() > 1) return std::move(*bytes);
    return {};
}
