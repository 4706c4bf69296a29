// The local weather server's contract with the widget: the members its replies carry (checked
// against the recorded replies of the real service), the routes and the key check, unit systems
// and languages, faults, the update record and the request log. The binary is started on a
// free port and asked the way the widget asks.
// Literals here are Windows-1252 at run time; UTF-8 bytes are written as escapes.
#include <gtest/gtest.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "doubles/WeatherServerProcess.h"
#include "server/Astronomy.h"
#include "server/Places.h"
#include "server/Replies.h"
#include "server/UpdateRecord.h"

namespace {

using nlohmann::json;
using namespace ws;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";   // the widget's built-in key
const fs::path kFixtures = fs::path(WG_FIXTURES_DIR) / "service";

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every member path of a JSON value: "Day/Wind/Speed/Value"; array elements are looked into.
void collectPaths(const json& value, const std::string& prefix, std::set<std::string>& paths)
{
    if (value.is_object()) {
        for (const auto& [name, member] : value.items()) {
            paths.insert(prefix + name);
            collectPaths(member, prefix + name + "/", paths);
        }
    } else if (value.is_array()) {
        for (const auto& element : value)
            collectPaths(element, prefix, paths);
    }
}
std::set<std::string> pathsOf(const json& value)
{
    std::set<std::string> paths;
    collectPaths(value, "", paths);
    return paths;
}
std::set<std::string> recordedPaths(std::initializer_list<const char*> files)
{
    std::set<std::string> paths;
    for (const char* file : files)
        paths.merge(pathsOf(json::parse(readFile(kFixtures / file))));
    return paths;
}

// The member paths that the widget reads; U stands for Metric and Imperial.
const std::vector<std::string> kCurrentPaths = {
    "WeatherIcon", "WeatherText", "Link", "EpochTime", "CloudCover", "RelativeHumidity", "UVIndex",
    "UVIndexText", "PressureTendency/Code", "Wind/Direction/English", "Wind/Direction/Localized",
    "Wind/Direction/Degrees", "Temperature/U/Value", "Temperature/U/Unit", "Visibility/U/Value",
    "Visibility/U/Unit", "Wind/Speed/U/Value", "Wind/Speed/U/Unit", "Pressure/U/Value", "Pressure/U/Unit",
    "PrecipitationSummary/Precipitation/U/Value", "PrecipitationSummary/Precipitation/U/Unit",
    "Ceiling/U/Value", "Ceiling/U/Unit", "RealFeelTemperature/U/Value",
    "RealFeelTemperatureShade/U/Value", "DewPoint/U/Value", "WindGust/Speed/U/Value"};
const std::vector<std::string> kDayPaths = {
    "Date", "Link", "HoursOfSun", "Sun/Rise", "Sun/Set", "Moon/Rise", "Moon/Set", "Moon/Phase",
    "Moon/Age", "Temperature/Maximum/Value", "Temperature/Minimum/Value",
    "RealFeelTemperature/Maximum/Value", "RealFeelTemperature/Minimum/Value",
    "AirAndPollen/Name", "AirAndPollen/Value", "AirAndPollen/Category"};
const std::vector<std::string> kHalfDayPaths = {
    "Icon", "IconPhrase", "ShortPhrase", "Rain/Value", "Rain/Unit", "Snow/Value", "Snow/Unit",
    "RainProbability", "ThunderstormProbability", "SnowProbability", "IceProbability",
    "CloudCover", "Wind/Speed/Value", "Wind/Direction/Localized", "Wind/Direction/Degrees",
    "WindGust/Speed/Value"};

void expectPaths(const std::set<std::string>& have, const std::vector<std::string>& wanted,
                 const std::string& prefix = "")
{
    for (std::string path : wanted) {
        path = prefix + path;
        const auto u = path.find("/U/");
        for (const char* unit : {"/Metric/", "/Imperial/"})
            EXPECT_TRUE(have.count(u == std::string::npos ? path : std::string(path).replace(u, 3, unit))) << path;
    }
}

TEST(WeatherServerReplies, CarryWhatTheWidgetReadsAndOnlyWhatTheServiceSends)
{
    const std::set<std::string> realCurrent = recordedPaths(
        {"current-prague-details-2026.json", "current-piatek-pl-details-2023-03.json"});
    const std::set<std::string> realForecast = recordedPaths(
        {"forecast-5day-details-prague-metric-2026.json", "forecast-5day-details-piatek-imperial-2023-03.json",
         "forecast-5day-details-piatek-metric-2020-06.json"});
    const std::set<std::string> realLocation = recordedPaths({"location-search-prague-2026.json", "location-piatek-pl.json"});
    const Place& munich = *findPlace("171002");
    for (const char* language : {"de-DE", "en-us"}) {
        for (const bool metric : {true, false}) {
            const ReplyOptions options{Language::fromCode(language), true, metric};
            for (int minute : {3 * 60, 13 * 60}) {
                const json now = json::parse(currentConditionsReply(munich, options, {{2026, 1, 20}, minute}));
                ASSERT_EQ(now.size(), 1u);
                expectPaths(pathsOf(now[0]), kCurrentPaths);
                for (const std::string& path : pathsOf(now))
                    EXPECT_TRUE(realCurrent.count(path)) << path;
            }
            const json forecast = json::parse(dailyForecastReply(munich, 25, options, {2026, 1, 20}));
            ASSERT_EQ(forecast["DailyForecasts"].size(), 25u);
            for (const json& day : forecast["DailyForecasts"]) {
                const std::set<std::string> paths = pathsOf(day);
                expectPaths(paths, kDayPaths);
                expectPaths(paths, kHalfDayPaths, "Day/");
                expectPaths(paths, kHalfDayPaths, "Night/");
                int uv = 0;
                for (const json& entry : day["AirAndPollen"])
                    uv += entry["Name"] == "UVIndex";
                EXPECT_EQ(uv, 1);
            }
            for (const std::string& path : pathsOf(forecast))
                EXPECT_TRUE(realForecast.count(path)) << path;
        }
    }
    for (const std::string& path : pathsOf(json::parse(searchReply(searchPlaces("a"), Language{}, 0))))
        EXPECT_TRUE(realLocation.count(path)) << path;
    // A day without a moonrise sends null, as the service does.
    Date noMoonrise{2026, 7, 1};
    while (moonDay(noMoonrise).riseUtc && noMoonrise.day < 31)
        ++noMoonrise.day;
    const json moon = json::parse(dailyForecastReply(munich, 1, {Language{}, true, true}, noMoonrise))["DailyForecasts"][0]["Moon"];
    EXPECT_TRUE(moon["Rise"].is_null() && moon["Set"].is_string()) << noMoonrise.day;
}

TEST(WeatherServerUpdate, RecordNamesVersionFileAndChecksum)
{
    const struct {
        std::string version, file, remark;
        std::optional<std::uint32_t> crc;
        std::optional<std::string> download;
        std::string record;
    } rows[] = {
        {"1.54", "", "", std::nullopt, std::nullopt, "[Wolkenglas|Wolkenglas.exe|1.54|09.07.2026]\r\n"},
        {"1.55", "/tmp/dir/Wolkenglas.exe", "", std::nullopt, "abc", "[Wolkenglas|Wolkenglas.exe|1.55|09.07.2026|352441C2]\r\n"},
        {"1.55 Beta 2", "/x/New.exe", "neu", std::nullopt, "123456789", "[Wolkenglas|New.exe|1.55 Beta 2|neu|CBF43926]\r\n"},
        {"1.56", "/x/W.exe", "", 0xDEADBEEFu, "abc", "[Wolkenglas|W.exe|1.56|09.07.2026|DEADBEEF]\r\n"},
        {"1.56", "", "", 0x1u, std::nullopt, "[Wolkenglas|Wolkenglas.exe|1.56|09.07.2026|00000001]\r\n"}};
    for (const auto& row : rows) {
        UpdateOffer offer;
        offer.version = row.version, offer.filePath = row.file, offer.remark = row.remark, offer.crcOverride = row.crc;
        EXPECT_EQ(updateRecord(offer, row.download, "09.07.2026"), row.record);
    }
}

// Sends one raw request (headers in an order no client library keeps) and returns the answer.
std::string rawRequest(int port, const std::string& request)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::send(sock, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        for (ssize_t count; (count = ::recv(sock, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(sock);
    return answer;
}

httplib::Client clientOf(const WeatherServerProcess& server)
{
    httplib::Client client("127.0.0.1", server.port());
    client.set_read_timeout(10, 0);
    client.set_url_encode(false);   // the queries go on the wire as written
    return client;
}

const std::vector<std::string> kFixedDay = {"--date", "2026-07-09", "--time", "16:21"};
const std::string kProgram("MZ\x90\0new program", 15);   // CRC-32 572E8EE7

class WeatherServerProcessTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(dir_);
        std::ofstream(dir_ / "Wolkenglas.exe", std::ios::binary) << kProgram;
        fs::copy_file(kFixtures / "current-prague-details-2026.json", dir_ / "currentconditions_v1_125594.json",
                      fs::copy_options::overwrite_existing);
        std::vector<std::string> args = kFixedDay;
        args.insert(args.end(), {"--data", dir_.string(), "--update-version", "1.55",
                                 "--update-file", (dir_ / "Wolkenglas.exe").string()});
        server_ = new WeatherServerProcess(args);
    }
    static void TearDownTestSuite()
    {
        delete server_;
        fs::remove_all(dir_);
    }
    void SetUp() override
    {
        ASSERT_GT(server_->port(), 0) << "the weather server did not start: " << WG_SERVER_EXE;
        client_.Get("/_control?reset=1");   // no fault left over from another test
    }

    static inline WeatherServerProcess* server_ = nullptr;
    static inline const fs::path dir_ = fs::temp_directory_path() / ("wg-server-data-" + std::to_string(::getpid()));
    httplib::Client client_ = clientOf(*server_);
};

TEST_F(WeatherServerProcessTest, RoutesKeyCheckUnitSystemsAndLanguages)
{
    const std::string key = "&ApiKey=" + kKey;
    const std::string refused = json::parse(readFile(kFixtures / "error-401-unauthorized-2026.json"))["Message"];
    const std::string record = "[Wolkenglas|Wolkenglas.exe|1.55|09.07.2026|572E8EE7]\r\n";
    const struct { std::string path; int status; std::string needle; } rows[] = {
        // The URLs exactly as the widget builds them.
        {"/locations/v1/171002.json?Language=de-DE&Metric=True" + key, 200, "\"LocalizedName\":\"M\xC3\xBCnchen\""},
        {"/currentconditions/v1/171002?Language=de-DE&Details=True&Metric=False" + key, 200,
         "\"LocalObservationDateTime\":\"2026-07-09T16:21:00+02:00\""},
        {"/forecasts/v1/daily/10day/171002?Language=de-DE&Details=True&Metric=True" + key, 200, "\"Date\":\"2026-07-18T07:00:00+02:00\""},
        {"/forecasts/v1/daily/25day/171002?Details=True" + key, 200, "\"Date\":\"2026-08-02T07:00:00+02:00\""},
        // The search text percent-encoded as UTF-8, as the widget sends it; case does not count.
        {"/locations/v1/search?q=m%C3%9Cnchen&Language=de-DE" + key, 200, "\"Key\":\"171002\""},
        {"/locations/v1/search?q=nowhere" + key, 200, "[]"},
        // Unit systems, and English texts for any language but German.
        {"/forecasts/v1/daily/5day/171001?Language=de-DE&Details=True&Metric=False" + key, 200, "\"Unit\":\"mi/h\""},
        {"/forecasts/v1/daily/5day/171001?Details=True&Metric=True" + key, 200, "\"Unit\":\"km/h\""},
        {"/locations/v1/171001.json?Language=de-AT" + key, 200, "\"LocalizedName\":\"Deutschland\""},
        {"/locations/v1/171001.json?Language=fr-CH,fr;q=0.5" + key, 200, "\"LocalizedName\":\"Germany\""},
        // The key check, also for a place with a data file, before the place is looked up.
        {"/currentconditions/v1/171001?Details=True&ApiKey=wrong", 401, refused},
        {"/currentconditions/v1/171001?Details=True", 401, refused},
        {"/locations/v1/search?q=Berlin&ApiKey=" + kKey.substr(1), 401, refused},
        {"/currentconditions/v1/125594?ApiKey=wrong", 401, refused},
        {"/currentconditions/v1/999999?ApiKey=" + kKey, 400, "Invalid location key: 999999"},
        {"/forecasts/v1/daily/7day/171001?ApiKey=" + kKey, 404, ""},
        {"/forecasts/v1/hourly/12hour/171001?ApiKey=" + kKey, 404, ""},
        // The keyless source's paths, as its adapter asks them.
        {"/v1/search?name=m%C3%BCnchen&count=10&language=de&format=json", 200, "\"name\":\"M\xC3\xBCnchen\""},
        {"/v1/search?name=nowhere&count=10&format=json", 200, "{\"generationtime_ms\":"},
        {"/v1/get?id=171002&language=de&format=json", 200, "\"postcodes\":[\"80331\"],\"country\":\"Deutschland\",\"admin1\":\"Bayern\""},
        {"/v1/get?id=999999&format=json", 400, "\"error\":true"},
        {"/v1/forecast?latitude=48.137&longitude=11.575&current=temperature_2m&daily=sunrise&timezone=auto&past_days=1"
         "&forecast_days=2&temperature_unit=fahrenheit", 200, "\"time\":[\"2026-07-08\",\"2026-07-09\",\"2026-07-10\"]"},
        {"/v1/forecast?latitude=1.5&longitude=2&current=temperature_2m", 400, "\"error\":true"},
        // The satellite picture and the update server ask for no key.
        {"/sat_mosaic_640x480_public/IR/iseur3.jpg", 200, "\xFF\xD8\xFF"},
        {"/updates/updates.php?send=Wolkenglas.exe,.inf", 200, record},
        {"/updates.php?send=Wolkenglas.exe,.inf", 200, record},
        {"/updates/updates.php?send=Wolkenglas.exe", 200, kProgram},
        {"/updates/updates.php?send=Other.exe", 404, ""}};
    for (const auto& row : rows) {
        const auto res = client_.Get(row.path);
        ASSERT_TRUE(res) << row.path;
        EXPECT_EQ(res->status, row.status) << row.path;
        EXPECT_NE(res->body.find(row.needle), std::string::npos) << row.path << "\n" << res->body.substr(0, 300);
        if (row.status == 401) {
            EXPECT_EQ(res->get_header_value("Content-Type"), "application/problem+json");
            EXPECT_EQ(res->body.find("wrong"), std::string::npos) << "the key is not echoed";
        }
    }
    EXPECT_EQ(client_.Get("/locations/v1/171001", {{"Authorization", "Bearer " + kKey}})->status, 200);
}

TEST_F(WeatherServerProcessTest, FaultsDelaysAndRecordedReplies)
{
    const std::string weather = "/currentconditions/v1/171001?Details=True&ApiKey=" + kKey;
    ASSERT_EQ(client_.Get("/_control?status=503")->status, 200);
    const auto failed = client_.Get(weather);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, 503);
    EXPECT_EQ(json::parse(failed->body)["status"], 503);
    EXPECT_EQ(client_.Get("/sat_mosaic_640x480_public/IR/iseur3.jpg")->status, 200);   // not an API reply
    EXPECT_EQ(client_.Get("/updates/updates.php?send=Wolkenglas.exe,.inf")->status, 200);

    ASSERT_EQ(client_.Get("/_control?reset=1&delay_ms=300")->body, "{\"delay_ms\":300,\"status\":0}");
    const auto start = Clock::now();
    EXPECT_EQ(client_.Get(weather)->status, 200);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(290));

    // A file in the data folder replaces the generated body; other places keep theirs.
    const std::string real = readFile(kFixtures / "current-prague-details-2026.json");
    EXPECT_EQ(client_.Get("/currentconditions/v1/125594?Language=en-us&Details=True&ApiKey=" + kKey)->body, real);
    EXPECT_NE(client_.Get(weather)->body, real);
}

TEST_F(WeatherServerProcessTest, LogKeepsRequestLinesAndHeadersInOrder)
{
    // The widget's header order, which no sorted map would keep.
    const std::vector<std::string> lines = {
        "GET /locations/v1/171001.json?Language=de-DE&ApiKey=" + kKey + " HTTP/1.1", "Host: 127.0.0.1",
        "Cache-Control: no-cache", "Pragma: no-cache", "Expires: Thu, 01 Dec 1994 16:00:00 GMT",
        "Connection: close", "User-Agent: android", "zeta:  spaced value "};
    std::string head;
    for (const std::string& line : lines)
        head += line + "\r\n";
    EXPECT_EQ(rawRequest(server_->port(), head + "\r\n").substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(server_->LastRequest(), lines);
}

}  // namespace
