// The local weather server's contract with the widget: its replies carry the members the widget
// reads, and only members that the real service's recorded replies carry. (Its routes and faults
// are exercised by the tests that run the widget against it.)
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "server/Astronomy.h"
#include "server/Places.h"
#include "server/Replies.h"
#include "unit/reference/ReplyCorpus.h"

namespace {

using nlohmann::json;
using namespace ws;
namespace fs = std::filesystem;
const fs::path kFixtures = fs::path(WG_FIXTURES_DIR) / "service";

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
        paths.merge(pathsOf(json::parse(corpus::ReadFile(kFixtures / file))));
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

}  // namespace
