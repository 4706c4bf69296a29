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
    std::string LastUrl() const { return transport.requests.empty() ? "" : transport.requests.back().url; }
};

}  // namespace

TEST(WeatherRequest, UrlsInTheFixedOptionOrder) {
    const std::string base = "http://127.0.0.1:8080/";
    struct Row { std::function<void(const WeatherService&)> call; std::string url; };
    const Row rows[] = {
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
        {[](auto& s) { GetForecast(s, "K", 7, "", false); },
         base + "forecasts/v1/daily/5day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", 25, "", false); },
         base + "forecasts/v1/daily/25day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", 15, "", false); },
         base + "forecasts/v1/daily/15day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", 5, "", false); },
         base + "forecasts/v1/daily/5day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", 0, "", false); },
         base + "forecasts/v1/daily/5day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { GetForecast(s, "K", -10, "", false); },
         base + "forecasts/v1/daily/5day/K?Details=True&Metric=False&ApiKey=KEY"},
        {[](auto& s) { WeatherRequest(s, "x/y?a=1", "", false, false); }, base + "x/y?a=1&Metric=False&ApiKey=KEY"},
        {[](auto& s) { WeatherRequest(s, "x/y?", "", false, false); }, base + "x/y?Metric=False&ApiKey=KEY"},
    };
    for (const Row& r : rows) {
        Service s;
        r.call(s.service);
        EXPECT_EQ(s.LastUrl(), r.url);
    }
}

TEST(WeatherRequest, AsksAsAndroidWithTenSeconds) {
    Service s;
    GetWeather(s.service, "K", "de-DE", true);
    ASSERT_EQ(s.transport.requests.size(), 1u);
    const HttpGetRequest& sent = s.transport.requests[0];
    EXPECT_EQ(sent.headers.back(), std::make_pair(std::string("User-Agent"), std::string("android")));
    EXPECT_EQ(sent.timeoutMs, 10000);
    EXPECT_TRUE(sent.user.empty());
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
    FakeSettingsStore settings;
    EXPECT_EQ(ApiBaseUrl(settings), kDefaultApiBase);
    EXPECT_EQ(SatelliteBaseUrl(settings), kDefaultSatelliteBase);
    EXPECT_EQ(UpdateBaseUrl(settings), kDefaultUpdateBase);
    EXPECT_EQ(ApiKey(settings), kDefaultApiKey);
    EXPECT_EQ(std::string(kDefaultApiKey).size(), 32u);

    settings.Set("Server.Api", "http://127.0.0.1:5000");
    settings.Set("Server.Satellite", " http://127.0.0.1:5000/ ");
    settings.Set("Server.Update", "http://127.0.0.1:5000/updates/");
    settings.Set("Server.ApiKey", "testkey");
    EXPECT_EQ(ApiBaseUrl(settings), "http://127.0.0.1:5000/");
    EXPECT_EQ(SatelliteBaseUrl(settings), "http://127.0.0.1:5000/");
    EXPECT_EQ(UpdateBaseUrl(settings), "http://127.0.0.1:5000/updates");
    EXPECT_EQ(ApiKey(settings), "testkey");

    settings.Set("Server.Api", "  ");  // blank: back to the built-in host
    EXPECT_EQ(ApiBaseUrl(settings), kDefaultApiBase);
}

TEST(ParseISODateTime, OleAutomationDates) {
    struct Row { const char* text; int year, month, day, hour, minute, second; };
    // Expected values from the calendar: days since 30.12.1899 plus the time as a fraction.
    const Row rows[] = {
        {"2015-11-03T18:05:00+01:00", 2015, 11, 3, 18, 5, 0},
        {"2015-11-03T07:15:00-05:00", 2015, 11, 3, 7, 15, 0},
        {"2000-02-29T23:59:59+00:00", 2000, 2, 29, 23, 59, 59},
        {"1899-12-30T00:00:00+00:00", 1899, 12, 30, 0, 0, 0},
        {"2024-13-01T00:00:00+00:00", 2025, 1, 1, 0, 0, 0},   // fields roll over as date arithmetic does
        {"2024-03-00T00:00:00+00:00", 2024, 2, 29, 0, 0, 0},
    };
    auto serial = [](int y, int m, int d) {  // counted day by day, independent of the code under test
        auto leap = [](int yy) { return (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0; };
        const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        long days = 1;  // 31.12.1899 is day 1, so 1.1.1900 is day 2
        for (int yy = 1900; yy < y; ++yy) days += leap(yy) ? 366 : 365;
        for (int mm = 1; mm < m; ++mm) days += monthDays[mm - 1] + (mm == 2 && leap(y));
        return static_cast<double>(days + d);
    };
    for (const Row& r : rows) {
        const double expected =
            (r.year < 1900 ? 0.0 : serial(r.year, r.month, r.day)) + (r.hour * 3600 + r.minute * 60 + r.second) / 86400.0;
        EXPECT_NEAR(ParseISODateTime(r.text), expected, 1e-9) << r.text;
    }
    EXPECT_DOUBLE_EQ(ParseISODateTime("2000-01-01T00:00:00+01:00"), 36526.0);  // a well-known anchor
    EXPECT_DOUBLE_EQ(ParseISODateTime("1899-12-29T06:00:00+00:00"), -1.25);    // before day 0

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
    MemoryRegistry memory;  // a REG_EXPAND_SZ reads as missing
    reg::Key k = 0;
    memory.CreateKey(0x80000001u, "Control Panel\\International", k);
    memory.SetValue(k, "LocaleName", reg::kExpandSz, reinterpret_cast<const std::uint8_t*>("de-DE"), 6);
    memory.CloseKey(k);
    EXPECT_EQ(GetLanguage(memory), "DE");
}
