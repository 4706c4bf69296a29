#include "service/mAccuWeather.h"

#include <cmath>

#include "service/HttpUrl.h"
#include "service/ServiceHosts.h"
#include "system/Numbers.h"
#include "system/mRegistry2.h"

namespace {

constexpr const char* kServiceUserAgent = "android";
constexpr std::int32_t kServiceTimeout = 10;

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t pos = text.find(from); pos != std::string_view::npos; pos = text.find(from, start)) {
        out.append(text.substr(start, pos - start)).append(to);
        start = pos + from.size();
    }
    return out.append(text.substr(start));
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool Digits(std::string_view text, std::size_t pos, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string WeatherRequest(const WeatherService& service, std::string_view path, std::string_view language,
                           bool details, bool metric) {
    std::string url = ApiBaseUrl(service.settings);
    url += path;
    if (path.find('?') == std::string_view::npos) url += '?';
    if (!language.empty()) {
        url += "&Language=";
        url += language;
    }
    if (details) url += "&Details=True";
    url += metric ? "&Metric=True" : "&Metric=False";
    url += "&ApiKey=" + ApiKey(service.settings);
    url = ReplaceAll(url, "?&", "?");

    std::string status;
    const HttpResult result =
        HttpRequest(service.http, url, false, status, {}, {}, kServiceUserAgent, kServiceTimeout);
    // Only the status decides: a body that itself contains "error" is a reply like any other.
    if (LowerCase(status).find("error") != std::string::npos) return status;
    if (const auto* text = std::get_if<std::string>(&result)) return *text;
    return {};
}

std::string GetCity(const WeatherService& service, std::string_view locationKey, std::string_view language) {
    return WeatherRequest(service, "locations/v1/" + std::string(locationKey) + ".json", language, false, true);
}

std::string SearchCities(const WeatherService& service, std::string_view searchText, std::string_view language) {
    return WeatherRequest(service, "locations/v1/search?q=" + EncodeQueryValue(searchText), language, false, true);
}

std::string GetWeather(const WeatherService& service, std::string_view locationKey, std::string_view language,
                       bool metric) {
    return WeatherRequest(service, "currentconditions/v1/" + std::string(locationKey), language, true, metric);
}

std::string GetForecast(const WeatherService& service, std::string_view locationKey, std::int32_t days,
                        std::string_view language, bool metric) {
    if (days != 5 && days != 10 && days != 15 && days != 25) days = 5;
    return WeatherRequest(service, "forecasts/v1/daily/" + std::to_string(days) + "day/" + std::string(locationKey),
                          language, true, metric);
}

std::string GetLanguage(RegistryPort& registry) {
    static constexpr const char* kSources[] = {
        "HKCU\\Control Panel\\International\\LocaleName",
        "HKEY_USERS\\.DEFAULT\\Control Panel\\International\\LocaleName",
        "HKCU\\Software\\Microsoft\\Internet Explorer\\International\\AcceptLanguage",
    };
    for (const char* path : kSources) {
        std::string value = RegText(Registry(registry, path));
        if (!value.empty()) return value;
    }
    return "DE";
}

double ParseISODateTime(std::string_view text) {
    if (text.size() != 25 || text[10] != 'T') return 0.0;
    int year, month, day, hour, minute, second;
    if (!Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day) ||
        !Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute) || !Digits(text, 17, 2, second))
        return 0.0;
    // Out-of-range fields roll over into the next unit, as date arithmetic does (month 13 is
    // January of the next year, day 0 the last day of the month before).
    const long long monthIndex = static_cast<long long>(year) * 12 + (month - 1);
    const long long y = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const long long m = monthIndex - y * 12 + 1;
    const long long days = DaysFromCivil(y, m, 1) - DaysFromCivil(1899, 12, 30) + (day - 1);
    const double linear = static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    if (linear >= 0) return linear;
    // Before 1899-12-30 the whole days count backwards while the time of day still counts
    // forwards: 29.12.1899 06:00 is -1.25.
    const double whole = std::floor(linear);
    return whole - (linear - whole);
}
