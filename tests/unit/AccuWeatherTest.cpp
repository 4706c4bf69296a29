// The weather service client: URLs in their fixed option order, replies, hosts, language, dates.
#include <gtest/gtest.h>

#include <functional>

#include "doubles/FakeHttp.h"
#include "doubles/FakePorts.h"
#include "native/MemoryRegistry.h"
#include "service/ServiceHosts.h"
#include "service/mAccuWeather.h"
#include "system/mRegistry2.h"

namespace {

struct Service {
    FakeTransport transport;
    FakeEnvironment environment;
    FakeSettingsStore settings;
    WeatherService service{{transport, environment}, settings};
    Service() {
        settings.Set("Server.Api", "http://127.0.0.1:8080/");
        settings.Set("Server.ApiKey", "KEY");
    }
};

}  // namespace

TEST(WeatherRequest, UrlsInTheFixedOptionOrderAskedAsAndroidWithTenSeconds) {
    const std::string base = "http://127.0.0.1:8080/";
    struct Row { std::function<void(const WeatherService&)> call; std::string url; };
    std::vector<Row> rows = {
        {[](auto& s) { GetWeather(s, "K", "de-DE", false); },
         base + "currentconditions/v1/K?Language=de-DE&Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetWeather(s, "178087", "", true); },
         base + "currentconditions/v1/178087?Details=True&Metric=True&ApiKey=KEY"},
        {[](auto& s) { SearchCities(s, "Berlin", ""); }, base + "locations/v1/search?q=Berlin&Metric=True&ApiKey=KEY"},
        {[](auto& s) { SearchCities(s, "Berlin", "de"); },
         base + "locations/v1/search?q=Berlin&Language=de&Metric=True&ApiKey=KEY"},
        {[](auto& s) { SearchCities(s, "Bad T\xF6lz & Co #1?", "de"); },
         base + "locations/v1/search?q=Bad%20T%C3%B6lz%20%26%20Co%20%231%3F&Language=de&Metric=True&ApiKey=KEY"},
        {[](auto& s) { SearchCities(s, "", ""); }, base + "locations/v1/search?q=&Metric=True&ApiKey=KEY"},
        {[](auto& s) { GetCity(s, "178087", "de-DE"); },
         base + "locations/v1/178087.json?Language=de-DE&Metric=True&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", 10, "de-DE", true); },
         base + "forecasts/v1/daily/10day/K?Language=de-DE&Details=True&Metric=True&ApiKey=KEY"},
        {[](auto& s) { WeatherRequest(s, "x/y?a=1", "", false, false); }, base + "x/y?a=1&Metric=False&ApiKey=KEY"},
        {[](auto& s) { WeatherRequest(s, "x/y?", "", false, false); }, base + "x/y?Metric=False&ApiKey=KEY"},
    };
    // 5, 10, 15 and 25 days are asked for as they are, any other number as 5.
    const std::pair<int, int> forecastDays[] = {{25, 25}, {15, 15}, {5, 5}, {7, 5}, {0, 5}, {-10, 5}};
    for (const auto& [days, sent] : forecastDays)
        rows.push_back({[days](auto& s) { GetForecast(s, "K", days, "", false); },
                        base + "forecasts/v1/daily/" + std::to_string(sent) + "day/K?Details=True&Metric=False&ApiKey=KEY"});
    for (const Row& r : rows) {
        Service s;
        r.call(s.service);
        ASSERT_EQ(s.transport.requests.size(), 1u) << r.url;
        const HttpGetRequest& sent = s.transport.requests[0];
        EXPECT_EQ(sent.url, r.url);
        EXPECT_EQ(sent.headers.back(), std::make_pair(std::string("User-Agent"), std::string("android")));
        EXPECT_EQ(sent.timeoutMs, 10000);
        EXPECT_TRUE(sent.user.empty());
    }
}

TEST(WeatherRequest, ReplyOrStatusText) {
    struct Row { HttpGetResult reply; const char* expected; };
    const Row rows[] = {
        {{HttpOutcome::Completed, 200, "OK", "[{\"WeatherIcon\":7}]"}, "[{\"WeatherIcon\":7}]"},
        // Only the status decides; a body that mentions an error is still the reply.
        {{HttpOutcome::Completed, 200, "OK", "{\"Message\":\"Internal error\"}"}, "{\"Message\":\"Internal error\"}"},
        {{HttpOutcome::Completed, 503, "Service Unavailable", "{\"Code\":\"x\"}"}, "Http-Error 503: Service Unavailable"},
        {{HttpOutcome::Completed, 401, "Unauthorized", ""}, "Http-Error 401: Unauthorized"},
        {{HttpOutcome::Completed, 200, "OK", ""}, ""},
        {{HttpOutcome::TimedOut, 0, "", ""}, ""},
        {{HttpOutcome::Failed, 0, "", ""}, "Error!"},
    };
    for (const Row& r : rows) {
        Service s;
        s.transport.reply = r.reply;
        EXPECT_EQ(GetCity(s.service, "K", ""), r.expected);
    }
}

TEST(ServiceHosts, SettingsOverrideTheBuiltInHosts) {
    struct Row { const char *api, *satellite, *update, *key; std::string wantApi, wantSatellite, wantUpdate, wantKey; };
    const Row rows[] = {
        {nullptr, nullptr, nullptr, nullptr, "https://dataservice.accuweather.com/", "http://sirocco.accuweather.com/",
         "https://updates.korvelin.invalid/updates", "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe"},
        {"http://127.0.0.1:5000", " http://127.0.0.1:5000/ ", "http://127.0.0.1:5000/updates//", "testkey",
         "http://127.0.0.1:5000/", "http://127.0.0.1:5000/", "http://127.0.0.1:5000/updates", "testkey"},
        {"  ", "", " ", "  ", "https://dataservice.accuweather.com/", "http://sirocco.accuweather.com/",  // blank: built in
         "https://updates.korvelin.invalid/updates", "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe"},
    };
    for (const Row& r : rows) {
        FakeSettingsStore settings;
        if (r.api) settings.Set("Server.Api", r.api);
        if (r.satellite) settings.Set("Server.Satellite", r.satellite);
        if (r.update) settings.Set("Server.Update", r.update);
        if (r.key) settings.Set("Server.ApiKey", r.key);
        EXPECT_EQ(ApiBaseUrl(settings), r.wantApi);
        EXPECT_EQ(SatelliteBaseUrl(settings), r.wantSatellite);
        EXPECT_EQ(UpdateBaseUrl(settings), r.wantUpdate);
        EXPECT_EQ(ApiKey(settings), r.wantKey);
    }
}

TEST(ParseISODateTime, OleAutomationDates) {
    // Days since 30.12.1899 (from the calendar) plus the time of day as a fraction.
    struct Row { const char* text; int days, hour, minute, second; };
    const Row rows[] = {
        {"2015-11-03T18:05:00+01:00", 42311, 18, 5, 0},
        {"2015-11-03T07:15:00-05:00", 42311, 7, 15, 0},   // the zone is ignored
        {"2000-02-29T23:59:59+00:00", 36585, 23, 59, 59},
        {"2000-01-01T00:00:00+01:00", 36526, 0, 0, 0},
        {"1899-12-30T00:00:00+00:00", 0, 0, 0, 0},
        {"1899-12-29T06:00:00+00:00", -1, -6, 0, 0},       // before day 0 the time counts back: -1.25
        {"2024-13-01T00:00:00+00:00", 45658, 0, 0, 0},     // fields roll over as date arithmetic does
        {"2024-03-00T00:00:00+00:00", 45351, 0, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(ParseISODateTime(r.text), r.days + (r.hour * 3600 + r.minute * 60 + r.second) / 86400.0, 1e-9) << r.text;
    for (const char* bad : {"", "null", "2015-11-03T18:05:00+01:0", "2015-11-03T18:05:00+01:000",
                            "2015-11-03 18:05:00+01:00", "2015-1a-03T18:05:00+01:00", "2015-11-03T18:0 :00+01:00",
                            "abcd-ef-ghTij:kl:mn+01:00"})
        EXPECT_EQ(ParseISODateTime(bad), 0.0) << bad;
}

TEST(GetLanguage, FirstNonEmptySourceElseDE) {
    const char* user = "HKCU\\Control Panel\\International\\LocaleName";
    const char* machine = "HKEY_USERS\\.DEFAULT\\Control Panel\\International\\LocaleName";
    const char* browser = "HKCU\\Software\\Microsoft\\Internet Explorer\\International\\AcceptLanguage";
    struct Row { const char* user; const char* machine; const char* browser; const char* expected; };
    const Row rows[] = {
        {"de-AT", "en-US", "fr", "de-AT"},
        {nullptr, "en-US", "fr", "en-US"},
        {"", "en-US", "fr", "en-US"},         // an empty value counts as missing
        {nullptr, nullptr, "fr-CH,fr;q=0.5", "fr-CH,fr;q=0.5"},
        {nullptr, nullptr, nullptr, "DE"},
        {"", "", "", "DE"},
    };
    for (const Row& r : rows) {
        MemoryRegistry memory;
        if (r.user) Registry(memory, user, std::string(r.user));
        if (r.machine) Registry(memory, machine, std::string(r.machine));
        if (r.browser) Registry(memory, browser, std::string(r.browser));
        EXPECT_EQ(GetLanguage(memory), r.expected);
    }
}
