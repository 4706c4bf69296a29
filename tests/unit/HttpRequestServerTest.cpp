// HttpRequest and the weather service client on the socket transport against the real local
// weather server: the request as the server logged it, replies, HTTP errors and a time-out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "doubles/FakeHttp.h"
#include "doubles/FakePorts.h"
#include "doubles/WeatherServerProcess.h"
#include "native/SocketHttpTransport.h"
#include "service/ServiceHosts.h"
#include "service/mAccuWeather.h"
#include "service/mHttpRequest.h"

namespace fs = std::filesystem;

namespace {

// The server with a folder of replacement bodies: an empty one and one of a single byte.
struct DataFolder {
    fs::path dir = fs::temp_directory_path() / ("wg-http-data-" + std::to_string(::getpid()));
    DataFolder() {
        fs::create_directories(dir);
        std::ofstream(dir / "locations_v1_900001.json");
        std::ofstream(dir / "locations_v1_900002.json") << "J";
    }
    ~DataFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

WeatherServerProcess& Server() {
    static const DataFolder data;
    static WeatherServerProcess server({"--data", data.dir.string()});
    return server;
}

struct Client {
    SocketHttpTransport transport;
    FakeEnvironment environment;
    FakeSettingsStore settings;
    HttpClient http{transport, environment};
    WeatherService service{http, settings};
    Client() { settings.Set("Server.Api", Server().Base()); }
    void Control(const std::string& query) {
        std::string status;
        HttpRequest(http, Server().Base() + "_control?" + query, false, status, {}, {}, {}, 5);
        ASSERT_EQ(status, "OK") << query;
    }
};

}  // namespace

TEST(HttpRequestServer, RequestLineAndHeadersAsTheServerLoggedThem) {
    ASSERT_GT(Server().port(), 0) << "the weather server did not start: " << WG_SERVER_EXE;
    Client c;
    c.environment.variables["PROCESSOR_ARCHITEW6432"] = "AMD64";
    const std::string host = "Host: 127.0.0.1:" + std::to_string(Server().port());
    struct Row { std::function<std::string()> call; std::vector<std::string> expected; };
    const Row rows[] = {
        {[&] { return GetCity(c.service, "171001", "de-DE"); },
         {"GET /locations/v1/171001.json?Language=de-DE&Metric=True&ApiKey=" + std::string(kDefaultApiKey) + " HTTP/1.1",
          "Cache-Control: no-cache", "Pragma: no-cache", "Expires: Thu, 01 Dec 1994 16:00:00 GMT", "Connection: close",
          "User-Agent: android", host}},
        {[&] {
             std::string status;
             HttpRequest(c.http, "127.0.0.1:" + std::to_string(Server().port()) + "/sat_mosaic_640x480_public/IR/iseur3.jpg",
                         true, status, {}, {}, {}, 10);
             return status;
         },
         {"GET /sat_mosaic_640x480_public/IR/iseur3.jpg HTTP/1.1", "Cache-Control: no-cache", "Pragma: no-cache",
          "Expires: Thu, 01 Dec 1994 16:00:00 GMT", "Connection: close",
          "User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64) VisualBasic/6.0 mHttpRequest/1.1", host}},
    };
    for (const Row& r : rows) {
        const std::string reply = r.call();
        EXPECT_EQ(Server().LastRequest(), r.expected) << reply.substr(0, 80);
    }
}

TEST(HttpRequestServer, RepliesOfTheService) {
    ASSERT_GT(Server().port(), 0);
    Client c;
    const std::string city = GetCity(c.service, "171001", "de-DE");
    EXPECT_EQ(city.substr(0, 1), "{");
    EXPECT_NE(city.find("\"Berlin\""), std::string::npos);
    // The umlaut goes out percent-encoded as UTF-8 and finds the place; the reply stays UTF-8.
    const std::string found = SearchCities(c.service, "K\xF6ln", "de-DE");
    EXPECT_NE(found.find("\"171006\""), std::string::npos) << found.substr(0, 200);
    EXPECT_NE(Server().LastRequest().at(0).find("search?q=K%C3%B6ln&Language=de-DE&"), std::string::npos);
    EXPECT_EQ(SearchCities(c.service, "Bad & Co #1", ""), "[]");

    c.settings.Set("Server.ApiKey", "wrong");
    EXPECT_EQ(GetCity(c.service, "171001", ""), "Http-Error 401: Unauthorized");
}

TEST(HttpRequestServer, HttpErrorsAndTimeout) {
    ASSERT_GT(Server().port(), 0);
    Client c;
    std::string status;
    const std::string key = "?apikey=" + std::string(kDefaultApiKey);
    EXPECT_EQ(HttpRequest(c.http, Server().Base() + "forecasts/v1/daily/7day/171001" + key, false, status, {}, {},
                          {}, 10),
              HttpResult());
    EXPECT_EQ(status, "Http-Error 404: Not Found");

    c.Control("reset=1&status=503");
    EXPECT_EQ(GetWeather(c.service, "171001", "de-DE", true), "Http-Error 503: Service Unavailable");

    // One second is the smallest time-out; the server waits one and a half.
    c.Control("reset=1&delay_ms=1500");
    status = "x";
    EXPECT_EQ(HttpRequest(c.http, Server().Base() + "locations/v1/171001" + key, false, status, {}, {}, {}, 1),
              HttpResult());
    EXPECT_EQ(status, "Timeout (1 Seconds)");
    c.Control("reset=1");
}

TEST(HttpRequestServer, ShortBodiesInBinaryModeAreTheNumberZero) {
    ASSERT_GT(Server().port(), 0);
    Client c;
    struct Row { const char* path; bool binary; HttpResult expected; };
    const Row rows[] = {
        {"locations/v1/900001.json", true, std::int32_t{0}},
        {"locations/v1/900002.json", true, std::int32_t{0}},
        {"locations/v1/900001.json", false, std::string()},
        {"locations/v1/900002.json", false, std::string("J")},
    };
    for (const Row& r : rows) {
        std::string status;
        EXPECT_EQ(HttpRequest(c.http, Server().Base() + r.path + "?apikey=" + kDefaultApiKey, r.binary, status), r.expected)
            << r.path << " " << r.binary;
        EXPECT_EQ(status, "OK");
    }
    std::string status;
    const HttpResult jpeg = HttpRequest(c.http, Server().Base() + "sat_mosaic_640x480_public/IR/iseur3.jpg", true, status);
    const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&jpeg);
    ASSERT_TRUE(bytes);
    ASSERT_GT(bytes->size(), 1000u);
    EXPECT_EQ((*bytes)[0], 0xFF);
    EXPECT_EQ((*bytes)[1], 0xD8);
}
