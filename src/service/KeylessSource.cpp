#include "service/KeylessSource.h"

#include "service/OpenMeteoReplies.h"
#include "service/ServiceHosts.h"
#include "service/mJSON.h"
#include "system/Numbers.h"

namespace {

// The days a refresh asks for after the current conditions: the forecast fetched for those
// serves them.
constexpr int kRefreshDays = 10;

HttpGetResult Completed(int status, std::string reason, std::string body) {
    HttpGetResult r;
    r.outcome = HttpOutcome::Completed;
    r.status = status;
    r.statusText = std::move(reason);
    r.body = std::move(body);
    return r;
}

// The source answered 200, but not with what was asked: a broken reply.
HttpGetResult Broken() { return {}; }

bool Answered(const HttpGetResult& r) { return r.outcome == HttpOutcome::Completed && r.status == 200; }

// The value of option `name` in a query ("a=1&b=2"), names without regard to case, as sent.
std::string Option(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (LowerCase(pair.substr(0, eq)) == LowerCase(name))
            return eq == std::string_view::npos ? std::string() : std::string(pair.substr(eq + 1));
    }
    return {};
}

// The source's language: the first two letters of the service's code, lower case ("de-DE": "de").
std::string LanguageOption(const std::string& language) {
    const std::string code = LowerCase(language.substr(0, 2));
    return code.empty() ? std::string() : "&language=" + code;
}

// A short run of digits: geocoding ids, forecast lengths.
bool Digits(std::string_view text) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

HttpGetResult KeylessSource::Get(const HttpGetRequest& request) {
    if (ChosenSource(settings_) != WeatherSource::Keyless) return inner_.Get(request);
    const std::string base = ApiBaseUrl(settings_);
    if (request.url.rfind(base, 0) != 0) return inner_.Get(request);
    const std::string rest = request.url.substr(base.size());
    const std::size_t mark = rest.find('?');
    const std::string path = rest.substr(0, mark);
    const std::string_view query = mark == std::string::npos ? std::string_view{} : std::string_view(rest).substr(mark + 1);
    const std::string language = Option(query, "Language");
    const bool metric = LowerCase(Option(query, "Metric")) != "false";
    const auto keyAfter = [&](std::string_view prefix) {
        std::string key = path.substr(prefix.size());
        if (key.size() > 5 && key.compare(key.size() - 5, 5, ".json") == 0) key.resize(key.size() - 5);
        return key;
    };

    if (path == "locations/v1/search") return Search(request, Option(query, "q"), language);
    if (path.rfind("locations/v1/", 0) == 0) return Place(request, keyAfter("locations/v1/"), language);
    if (path.rfind("currentconditions/v1/", 0) == 0)
        return Weather(request, keyAfter("currentconditions/v1/"), language, metric, 0);
    constexpr std::string_view kDaily = "forecasts/v1/daily/";
    if (path.rfind(kDaily, 0) == 0) {
        const std::size_t day = path.find("day/", kDaily.size());
        if (day != std::string::npos && day - kDaily.size() <= 2 && Digits(path.substr(kDaily.size(), day - kDaily.size())))
            return Weather(request, path.substr(day + 4), language, metric,
                           std::stoi(path.substr(kDaily.size(), day - kDaily.size())));
    }
    // Not one of the service's requests (the satellite picture, the update on the same host).
    return inner_.Get(request);
}

HttpGetResult KeylessSource::Ask(const HttpGetRequest& request, const std::string& url) {
    HttpGetRequest asked = request;
    asked.url = url;
    asked.user.clear();
    asked.password.clear();
    return inner_.Get(asked);
}

HttpGetResult KeylessSource::Search(const HttpGetRequest& request, const std::string& text, const std::string& language) {
    // The text comes percent-encoded as UTF-8, as the source wants it.
    HttpGetResult reply =
        Ask(request, GeocodingBaseUrl(settings_) + "v1/search?name=" + text + "&count=10" + LanguageOption(language) + "&format=json");
    if (!Answered(reply)) return reply;
    if (reply.body.find('{') == std::string::npos) return Broken();
    const std::string places = SearchFromResults(reply.body);
    std::lock_guard lock(mutex_);
    for (const std::string& place : SplitJSONArray(places))
        if (!place.empty())
            places_[GetJSONValue(place, "Key")] = {GetJSONValue(place, "GeoPosition/Latitude"),
                                                   GetJSONValue(place, "GeoPosition/Longitude")};
    return Completed(200, "OK", places);
}

HttpGetResult KeylessSource::Place(const HttpGetRequest& request, const std::string& key, const std::string& language) {
    // Geocoding ids are numbers; anything else cannot name a place of the source.
    if (!Digits(key)) return Completed(400, "Bad Request", "{\"Code\":\"400\",\"Message\":\"Invalid location key\"}");
    HttpGetResult reply =
        Ask(request, GeocodingBaseUrl(settings_) + "v1/get?id=" + key + LanguageOption(language) + "&format=json");
    if (!Answered(reply)) return reply;
    // One place; some answers wrap it in "results" as a search does.
    std::string place = reply.body;
    if (const std::string results = GetJSONValue(place, "results"); !results.empty()) place = SplitJSONArray(results)[1];
    const std::optional<std::string> location = LocationFromPlace(place);
    // No such place: the service's answer to an unknown location key.
    if (!location) return Completed(400, "Bad Request", "{\"Code\":\"400\",\"Message\":\"Invalid location key\"}");
    std::lock_guard lock(mutex_);
    places_[key] = {GetJSONValue(*location, "GeoPosition/Latitude"), GetJSONValue(*location, "GeoPosition/Longitude")};
    return Completed(200, "OK", *location);
}

// The current conditions (days 0) or the daily forecast from one forecast reply.
HttpGetResult KeylessSource::Weather(const HttpGetRequest& request, const std::string& key, const std::string& language,
                                     bool metric, int days) {
    std::unique_lock lock(mutex_);
    auto place = places_.find(key);
    if (place == places_.end()) {
        lock.unlock();
        HttpGetResult found = Place(request, key, language);
        if (!Answered(found)) return found;
        lock.lock();
        place = places_.find(key);
        if (place == places_.end()) return Broken();
    }
    const int asked = days == 0 ? kRefreshDays : days;
    const ForecastQuery query{place->second.latitude, place->second.longitude, metric, asked};
    const std::string path = ForecastRequestPath(query);
    std::string forecast;
    // The days of a refresh come from the reply its current conditions were composed from.
    if (days > 0 && days <= kRefreshDays && forecastFor_ == ForecastRequestPath({query.latitude, query.longitude, metric, kRefreshDays})) {
        forecast = std::move(forecast_);
        forecastFor_.clear();
    }
    lock.unlock();
    if (forecast.empty()) {
        HttpGetResult reply = Ask(request, ForecastBaseUrl(settings_) + path);
        if (!Answered(reply)) return reply;
        forecast = std::move(reply.body);
    }
    const std::optional<std::string> composed =
        days == 0 ? CurrentFromForecast(forecast, language, metric) : DailyFromForecast(forecast, language, metric, days);
    if (!composed) return Broken();
    if (days == 0) {
        lock.lock();
        forecastFor_ = path;
        forecast_ = std::move(forecast);
    }
    return Completed(200, "OK", *composed);
}
