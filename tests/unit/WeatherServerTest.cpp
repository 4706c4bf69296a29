// The local weather server's library: time, query texts, places, the weather generator, the
// reply builders (checked against the recorded replies of the real service), the update
// record, the request-head recorder and the command line.
// Literals here are Windows-1252 at run time; UTF-8 bytes are written as escapes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "server/Astronomy.h"
#include "server/CivilTime.h"
#include "server/JsonWriter.h"
#include "server/Places.h"
#include "server/QueryText.h"
#include "server/Replies.h"
#include "server/RequestLog.h"
#include "server/ServerOptions.h"
#include "server/ServiceRoutes.h"
#include "server/UpdateRecord.h"
#include "server/WeatherModel.h"
#include "server/WeatherTexts.h"

namespace {

using nlohmann::json;
using namespace ws;

json fixture(const std::string& name)
{
    std::ifstream in(std::string(WG_FIXTURES_DIR) + "/service/" + name, std::ios::binary);
    return json::parse(in);
}

// Every member path of a JSON value: "Day/Wind/Speed/Value"; array elements are looked into.
void collectPaths(const json& value, const std::string& prefix, std::set<std::string>& paths)
{
    if (value.is_object()) {
        for (const auto& [name, member] : value.items()) {
            const std::string path = prefix.empty() ? name : prefix + "/" + name;
            paths.insert(path);
            collectPaths(member, path, paths);
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

const Place& place(const std::string& key)
{
    const Place* found = findPlace(key);
    EXPECT_NE(found, nullptr) << key;
    return found ? *found : builtInPlaces().front();
}

const std::string kBerlin = "171001";
const std::string kMunich = "171002";
const Date kSummerDay{2026, 7, 9};

ReplyOptions opts(const char* language, bool metric = true, bool details = true)
{
    return {Language::fromCode(language), details, metric};
}
json forecast(const std::string& key, int days, const ReplyOptions& options, Date from = kSummerDay)
{
    return json::parse(dailyForecastReply(place(key), days, options, from));
}
json current(const std::string& key, const ReplyOptions& options, LocalTime at)
{
    return json::parse(currentConditionsReply(place(key), options, at));
}

TEST(WeatherServerTime, LocalTimeFollowsTheCentralEuropeanClock)
{
    // 2026: summer time from 29 March to 25 October, both at 01:00 UTC.
    const long long spring = daysFromCivil({2026, 3, 29}) * 86400 + 3600;
    const long long autumn = daysFromCivil({2026, 10, 25}) * 86400 + 3600;
    EXPECT_EQ(utcOffsetMinutes(spring - 1), 60);
    EXPECT_EQ(utcOffsetMinutes(spring), 120);
    EXPECT_EQ(utcOffsetMinutes(autumn - 1), 120);
    EXPECT_EQ(utcOffsetMinutes(autumn), 60);
    EXPECT_EQ(nextOffsetChange(spring), autumn);
    // The recorded Prague reply: 16:21 local on 9 July 2026 is epoch 1783606860.
    EXPECT_EQ(localToUtc(kSummerDay, 981), 1783606860);
    EXPECT_EQ(isoLocal(1783606860), "2026-07-09T16:21:00+02:00");
    EXPECT_EQ(isoLocal(daysFromCivil({2024, 2, 29}) * 86400), "2024-02-29T01:00:00+01:00");
    EXPECT_EQ(addDays({2026, 12, 31}, 1), (Date{2027, 1, 1}));
}

TEST(WeatherServerQuery, DecodesEscapesAndTellsUtf8FromWindows1252)
{
    const struct { std::string in, out; } escaped[] = {
        {"M%C3%BCnchen", "M\xC3\xBCnchen"}, {"Frankfurt+am+Main", "Frankfurt am Main"},
        {"100%25", "100%"}, {"%zz", "%zz"}, {"abc%4", "abc%4"}, {"%", "%"}};
    for (const auto& row : escaped)
        EXPECT_EQ(percentDecode(row.in), row.out) << row.in;
    // Valid UTF-8 stays; anything else is taken as Windows-1252.
    const struct { std::string in, out; } typed[] = {
        {"K\xC3\xB6ln", "K\xC3\xB6ln"}, {"K\xF6ln", "K\xC3\xB6ln"}, {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"\x80\x9F\xDF", "\xE2\x82\xAC\xC5\xB8\xC3\x9F"}, {"\xC3", "\xC3\x83"},
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"}, {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}};  // overlong, surrogate
    for (const auto& row : typed)
        EXPECT_EQ(queryTextToUtf8(row.in), row.out) << row.in;
}

TEST(WeatherServerPlaces, SearchMatchesNamesAndPostalCodes)
{
    const struct { std::string query; std::vector<std::string> keys; } rows[] = {
        {"Berlin", {"171001"}},        {"m\xC3\xBCnchen", {"171002"}},   {"M\xC3\x9CNCHEN", {"171002"}},
        {"munich", {"171002"}},        {"  Potsdam ", {"171005"}},       {"gie\xC3\x9F", {"171015"}},
        {"\xC3\xBC" "ber", {"171016"}},   // a leading umlaut, in lower case
        {"neustadt", {"171008", "171009"}},
        {"8", {"171003", "171002", "171013", "171016"}},   // postal codes, best rank first
        {"Prague", {}},                {"   ", {}}};
    for (const auto& row : rows) {
        std::vector<std::string> keys;
        for (const Place* found : searchPlaces(row.query))
            keys.push_back(found->key);
        EXPECT_EQ(keys, row.keys) << row.query;
    }
    for (const Place& p : builtInPlaces())
        EXPECT_EQ(findPlace(p.key), &p) << p.key;   // also catches a key used twice
    EXPECT_EQ(findPlace("999999"), nullptr);
}

TEST(WeatherServerModel, SameKeyAndDateGiveTheSameWeather)
{
    EXPECT_EQ(dailyForecastReply(place(kBerlin), 10, opts("de-DE"), kSummerDay),
              dailyForecastReply(place(kBerlin), 10, opts("de-DE"), kSummerDay));
    EXPECT_EQ(current(kBerlin, opts("de-DE"), {kSummerDay, 981}), current(kBerlin, opts("de-DE"), {kSummerDay, 981}));
    // A forecast day is the same whichever day the forecast starts on.
    const json from9 = forecast(kBerlin, 5, opts("de-DE"));
    const json from10 = forecast(kBerlin, 5, opts("de-DE"), addDays(kSummerDay, 1));
    for (int i = 0; i < 4; ++i) {
        json a = from9["DailyForecasts"][i + 1], b = from10["DailyForecasts"][i];
        for (json* day : {&a, &b})   // the links count the days from the first one
            day->erase("Link"), day->erase("MobileLink");
        EXPECT_EQ(a, b) << i;
    }
    // Different places do not share their weather.
    int sameMaximum = 0;
    for (int i = 0; i < 30; ++i) {
        const Date date = addDays(kSummerDay, i);
        sameMaximum += dayWeather(place(kBerlin), date).maxC == dayWeather(place(kMunich), date).maxC;
    }
    EXPECT_LT(sameMaximum, 5);
}

TEST(WeatherServerModel, WeatherStaysPlausibleAllYear)
{
    const std::set<int> dayOnly = {1, 2, 3, 4, 5, 6, 13, 14, 16, 17, 20, 21, 23};   // night ones are 33..44
    std::set<int> seen;
    for (const Place& p : builtInPlaces()) {
        for (int i = 0; i < 366; i += 3) {
            const DayWeather w = dayWeather(p, addDays({2026, 1, 1}, i));
            const std::string where = p.key + " " + isoDate(w.date);
            EXPECT_TRUE(w.minC <= w.maxC && w.minC > -30 && w.maxC < 40) << where;
            EXPECT_TRUE(w.day.icon < 33 && !dayOnly.count(w.night.icon)) << where;
            EXPECT_FALSE(iconPhrase(w.night.icon, Lang::English).empty()) << where;
            EXPECT_LE(w.hoursOfSun * 3600, static_cast<double>(w.sun.setUtc - w.sun.riseUtc)) << where;
            for (const HalfDay* half : {&w.day, &w.night}) {
                for (int probability : {half->rainProbability, half->snowProbability,
                                        half->iceProbability, half->thunderstormProbability})
                    EXPECT_TRUE(probability >= 0 && probability <= 100) << where;
                EXPECT_TRUE(half->precipitation != Precip::None || half->rainMm + half->snowCm + half->iceMm == 0)
                    << where;   // amounts only where something falls
            }
            EXPECT_TRUE(w.day.precipitation != Precip::Snow || w.maxC <= 0.5) << where;
            seen.insert({w.day.icon, w.night.icon});
        }
    }
    EXPECT_GE(seen.size(), 30u);   // a year shows most of the service's pictures
}

TEST(WeatherServerModel, SunMoonAndTheDayFollowTheAlmanac)
{
    // Berlin's sunrise and sunset (CET/CEST) on the solstices, within five minutes.
    const struct { Date date; int rise, set; } rows[] = {
        {{2026, 6, 21}, 4 * 60 + 43, 21 * 60 + 33}, {{2026, 12, 21}, 8 * 60 + 15, 15 * 60 + 54}};
    for (const auto& row : rows) {
        const SunTimes sun = sunTimes(row.date, 52.52, 13.405);
        EXPECT_NEAR(utcToLocal(sun.riseUtc).minuteOfDay, row.rise, 5) << isoDate(row.date);
        EXPECT_NEAR(utcToLocal(sun.setUtc).minuteOfDay, row.set, 5) << isoDate(row.date);
    }
    EXPECT_EQ(moonDay({2026, 7, 14}).phase, std::string("New"));
    EXPECT_EQ(moonDay({2026, 3, 3}).phase, std::string("Full"));
    // The moon rises about 50 minutes later each day and skips one date a month.
    int missing = 0;
    std::set<std::string> phases;
    for (int i = 0; i < 365; ++i) {
        const MoonDay moon = moonDay(addDays({2026, 1, 1}, i));
        phases.insert(moon.phase);
        missing += !moon.riseUtc;
    }
    EXPECT_TRUE(missing >= 11 && missing <= 13) << missing;
    EXPECT_EQ(phases.size(), 8u);

    const DayWeather today = dayWeather(place(kBerlin), kSummerDay);
    const CurrentWeather night = currentWeather(place(kBerlin), {kSummerDay, 2 * 60});
    const CurrentWeather noon = currentWeather(place(kBerlin), {kSummerDay, 13 * 60});
    EXPECT_TRUE(noon.isDayTime && !night.isDayTime);
    EXPECT_EQ(noon.icon, today.day.icon);
    EXPECT_EQ(night.uvIndex, 0);
    EXPECT_NEAR(temperatureAt(place(kBerlin), localToUtc(kSummerDay, 15 * 60)), today.maxC, 0.05);
    EXPECT_NEAR(temperatureAt(place(kBerlin), today.sun.riseUtc), today.minC, 0.05);
    EXPECT_TRUE(std::is_sorted(std::begin(noon.precipitationMm), std::end(noon.precipitationMm)));
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

TEST(WeatherServerReplies, RepliesCarryEveryMemberTheWidgetReads)
{
    for (int minute : {2 * 60, 13 * 60, 22 * 60}) {
        const json reply = current(kBerlin, opts("de-DE"), {kSummerDay, minute});
        ASSERT_EQ(reply.size(), 1u);
        expectPaths(pathsOf(reply[0]), kCurrentPaths);
        const std::string code = reply[0]["PressureTendency"]["Code"];
        EXPECT_TRUE(code == "R" || code == "S" || code == "F") << code;
        EXPECT_EQ(reply[0]["EpochTime"], localToUtc(kSummerDay, minute));
    }
    for (const bool metric : {true, false}) {
        const json reply = forecast(kMunich, 10, opts("de-DE", metric));
        ASSERT_EQ(reply["DailyForecasts"].size(), 10u);
        EXPECT_TRUE(reply["Headline"].contains("Text"));
        for (const json& day : reply["DailyForecasts"]) {
            const std::set<std::string> paths = pathsOf(day);
            expectPaths(paths, kDayPaths);
            expectPaths(paths, kHalfDayPaths, "Day/");
            expectPaths(paths, kHalfDayPaths, "Night/");
            EXPECT_EQ(std::count_if(day["AirAndPollen"].begin(), day["AirAndPollen"].end(),
                                    [](const json& entry) { return entry["Name"] == "UVIndex"; }), 1);
        }
    }
}

TEST(WeatherServerReplies, MembersExistInTheRecordedReplies)
{
    // Everything we send, the real service sends too (catches misspelt member names).
    std::set<std::string> realCurrent, realForecast, realLocation;
    for (const char* name : {"current-prague-details-2026.json", "current-piatek-pl-details-2023-03.json"})
        realCurrent.merge(pathsOf(fixture(name)[0]));
    for (const char* name : {"forecast-5day-details-prague-metric-2026.json",
                             "forecast-5day-details-piatek-imperial-2023-03.json",
                             "forecast-5day-details-piatek-metric-2020-06.json"})
        realForecast.merge(pathsOf(fixture(name)));
    for (const char* name : {"location-search-prague-2026.json", "location-piatek-pl.json"})
        realLocation.merge(pathsOf(fixture(name)));

    for (int minute : {3 * 60, 12 * 60})
        for (const std::string& path : pathsOf(current(kBerlin, opts("en-us"), {{2026, 1, 20}, minute})[0]))
            EXPECT_TRUE(realCurrent.count(path)) << path;
    for (const bool metric : {true, false})
        for (const std::string& path : pathsOf(forecast(kBerlin, 25, opts("en-us", metric), {2026, 1, 20})))
            EXPECT_TRUE(realForecast.count(path)) << path;
    for (const std::string& path : pathsOf(json::parse(searchReply(searchPlaces("a"), Language{}, 0))))
        EXPECT_TRUE(realLocation.count(path)) << path;
    // Without details the current conditions are exactly the short recorded reply.
    EXPECT_EQ(pathsOf(current(kBerlin, opts("en-us", true, false), {kSummerDay, 600})),
              pathsOf(fixture("current-josefov-nodetails-2026.json")));
}

TEST(WeatherServerReplies, UnitsFollowTheMetricOption)
{
    const struct { bool metric; const char *temperature, *speed, *rain, *snow; } rows[] = {
        {true, "C", "km/h", "mm", "cm"}, {false, "F", "mi/h", "in", "in"}};
    for (const auto& row : rows) {
        for (const json& day : forecast(kBerlin, 5, opts("en-us", row.metric))["DailyForecasts"]) {
            EXPECT_EQ(day["Temperature"]["Maximum"]["Unit"], row.temperature);
            EXPECT_EQ(day["Day"]["Wind"]["Speed"]["Unit"], row.speed);
            EXPECT_EQ(day["Night"]["Rain"]["Unit"], row.rain);
            EXPECT_EQ(day["Day"]["Snow"]["Unit"], row.snow);
        }
    }
    const double celsius = forecast(kBerlin, 1, opts("", true))["DailyForecasts"][0]["Temperature"]["Maximum"]["Value"];
    const double fahrenheit = forecast(kBerlin, 1, opts("", false))["DailyForecasts"][0]["Temperature"]["Maximum"]["Value"];
    EXPECT_NEAR(fahrenheit, celsius * 9 / 5 + 32, 0.5);
}

TEST(WeatherServerReplies, LanguageCodeChoosesTheTexts)
{
    const struct { const char* code; Lang lang; const char *country, *name; } rows[] = {
        {"de-DE", Lang::German, "Deutschland", "M\xC3\xBCnchen"}, {"de-at", Lang::German, "Deutschland", "M\xC3\xBCnchen"},
        {"en-us", Lang::English, "Germany", "Munich"},            {"fr-FR", Lang::English, "Germany", "Munich"}};
    for (const auto& row : rows) {
        const json now = current(kMunich, opts(row.code), {kSummerDay, 700})[0];
        EXPECT_EQ(now["WeatherText"], iconPhrase(now["WeatherIcon"].get<int>(), row.lang)) << row.code;
        const json city = json::parse(locationReply(place(kMunich), Language::fromCode(row.code), 0));
        EXPECT_EQ(city["Country"]["LocalizedName"], row.country) << row.code;
        EXPECT_EQ(city["LocalizedName"], row.name) << row.code;
        EXPECT_EQ(city["EnglishName"], "Munich");
    }
    // German texts differ from the English ones, and the moon phase stays the service's code.
    const json de = forecast(kBerlin, 10, opts("de-DE")), en = forecast(kBerlin, 10, opts("en-us"));
    EXPECT_NE(de["Headline"]["Text"], en["Headline"]["Text"]);
    int differing = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        differing += de["DailyForecasts"][i]["Day"]["IconPhrase"] != en["DailyForecasts"][i]["Day"]["IconPhrase"];
        EXPECT_EQ(de["DailyForecasts"][i]["Moon"]["Phase"], en["DailyForecasts"][i]["Moon"]["Phase"]);
    }
    EXPECT_GE(differing, 8);
}

TEST(WeatherServerReplies, WireFormLooksLikeTheService)
{
    const std::string text = dailyForecastReply(place(kMunich), 5, opts("de-DE"), kSummerDay);
    // Compact, raw UTF-8 where the widget reads, an escape in a member it does not read.
    std::string outside;   // the text outside the JSON strings
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (inString && text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            inString = !inString;
        else if (!inString)
            outside += text[i];
    }
    EXPECT_EQ(outside.find_first_of(" \t\r\n"), std::string::npos) << outside;
    EXPECT_NE(locationReply(place(kMunich), Language::fromCode("de-DE"), 0).find("\"LocalizedName\":\"M\xC3\xBCnchen\""),
              std::string::npos);
    EXPECT_NE(text.find("\"Unit\":\"W/m\\u00b2\""), std::string::npos);
    // Measures with a decimal point, counts without.
    for (const json& day : json::parse(text)["DailyForecasts"]) {
        EXPECT_TRUE(day["Temperature"]["Maximum"]["Value"].is_number_float());
        EXPECT_TRUE(day["Day"]["Rain"]["Value"].is_number_float());
        EXPECT_TRUE(day["Day"]["CloudCover"].is_number_integer() && day["Moon"]["Age"].is_number_integer());
    }
    // A day without a moonrise sends null, as the service does.
    for (int i = 0; i < 31; ++i) {
        const Date date = addDays({2026, 7, 1}, i);
        if (moonDay(date).riseUtc)
            continue;
        const json moon = forecast(kBerlin, 1, opts("de-DE"), date)["DailyForecasts"][0]["Moon"];
        EXPECT_TRUE(moon["Rise"].is_null() && moon["EpochRise"].is_null() && moon["Set"].is_string());
        return;
    }
    ADD_FAILURE() << "no date without a moonrise in July 2026";
}

TEST(WeatherServerReplies, ProblemAndSearchBodiesHaveTheRecordedShape)
{
    const json real = fixture("error-401-unauthorized-2026.json");
    const json ours = json::parse(problemReply(401, "/currentconditions/v1/171001",
                                               "http://127.0.0.1/currentconditions/v1/171001", 1783606860));
    EXPECT_EQ(pathsOf(ours), pathsOf(real));
    for (const char* member : {"title", "Code", "Message"})
        EXPECT_EQ(ours[member], real[member]) << member;
    EXPECT_EQ(ours["status"], 401);
    EXPECT_EQ(ours["trace"]["timestamp"], "2026-07-09T14:21:00.000Z");
    EXPECT_EQ(json::parse(invalidKeyReply("12\"3", "/x"))["Message"], "Invalid location key: 12\"3");

    const json found = json::parse(searchReply(searchPlaces("neustadt"), Language::fromCode("de-DE"),
                                               localToUtc({2026, 1, 10}, 600)));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]["AdministrativeArea"]["LocalizedName"], "Schleswig-Holstein");
    EXPECT_EQ(found[1]["AdministrativeArea"]["LocalizedName"], "Bayern");
    EXPECT_EQ(found[0]["TimeZone"]["GmtOffset"], 1.0);
}

TEST(WeatherServerUpdate, RecordNamesVersionFileAndChecksum)
{
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
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
    EXPECT_EQ(parseCrc("352441c2"), 0x352441C2u);
    for (const char* bad : {"", "123456789", "12g4"})
        EXPECT_FALSE(parseCrc(bad).has_value()) << bad;
}

std::vector<std::string> recordHeads(const std::vector<std::string>& chunks)
{
    std::vector<std::string> heads;
    HeadRecorder recorder([&](std::string_view head) { heads.emplace_back(head); });
    for (const std::string& chunk : chunks)
        recorder.feed(chunk.data(), chunk.size());
    return heads;
}

TEST(WeatherServerLog, RecorderFindsHeadsHoweverTheBytesArrive)
{
    const std::string first = "GET /a?x=1 HTTP/1.1\r\nZeta: 1\r\nHost: h\r\nAlpha: 2\r\n\r\n";
    const std::string all = first + "POST /b HTTP/1.1\r\nContent-Length: 12\r\n\r\nbody\r\n\r\nmore" +
                            "GET /c HTTP/1.0\nX: y\n\n";
    const std::vector<std::string> expected = {first.substr(0, first.size() - 4),
                                               "POST /b HTTP/1.1\r\nContent-Length: 12", "GET /c HTTP/1.0\nX: y"};
    // In one piece, byte by byte, and cut at every position.
    EXPECT_EQ(recordHeads({all}), expected);
    std::vector<std::string> bytes;
    for (char c : all)
        bytes.emplace_back(1, c);
    EXPECT_EQ(recordHeads(bytes), expected);
    for (std::size_t cut = 1; cut < all.size(); ++cut)
        EXPECT_EQ(recordHeads({all.substr(0, cut), all.substr(cut)}), expected) << cut;
    // A chunked body cannot be skipped: the rest of the connection is not logged.
    EXPECT_EQ(recordHeads({"POST /d HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nGET \r\n0\r\n\r\n" + first}).size(), 1u);
    // A head that never ends is given up after 64 KiB.
    EXPECT_TRUE(recordHeads({"GET / HTTP/1.1\r\n" + std::string(70000, 'a'), "\r\n\r\n"}).empty());
    EXPECT_EQ(formatHead("GET /x HTTP/1.1\r\nZeta: 1\r\nAlpha:  two  \r\nHost: h"),
              "GET /x HTTP/1.1\nZeta: 1\nAlpha:  two  \nHost: h\n\n");
}

TEST(WeatherServerRoutes, DataFilesAreNamedAfterTheRequestPath)
{
    const struct { const char *path, *file; } rows[] = {
        {"/currentconditions/v1/171001", "currentconditions_v1_171001.json"},
        {"/locations/v1/171001.json", "locations_v1_171001.json"},
        {"/sat_mosaic_640x480_public/IR/iseur3.jpg", "sat_mosaic_640x480_public_IR_iseur3.jpg"},
        {"/updates/updates.php", "updates_updates.php"},
        {"/locations/v1/K\xC3\xB6ln", "locations_v1_K__ln.json"}, {"/../etc/passwd", ""}, {"/", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(dataFileName(row.path), row.file) << row.path;
}

TEST(WeatherServerOptions, ParsesTheCommandLine)
{
    const std::string file = std::string(WG_FIXTURES_DIR) + "/service/ICONS.md";
    const struct { std::vector<std::string> args; bool valid; } rows[] = {
        {{}, true},
        {{"--port", "0", "--bind", "0.0.0.0", "--apikey", "k", "--delay-ms", "250", "--log", "/tmp/x.log"}, true},
        {{"--data", WG_FIXTURES_DIR, "--update-file", file, "--update-crc", "abc", "--help"}, true},
        {{"--port", "65536"}, false},  {{"--port"}, false},          {{"--date", "2026-02-30"}, false},
        {{"--time", "24:00"}, false},  {{"--time", "7:30"}, false},  {{"--status", "42"}, false},
        {{"--status", "600"}, false},  {{"--delay-ms", "x"}, false}, {{"--data", "/no/such/dir"}, false},
        {{"--update-file", "/no/such/file"}, false}, {{"--update-crc", "xyz"}, false},
        {{"--apikey", ""}, false},     {{"--unknown", "1"}, false},  {{"stray"}, false}};
    for (const auto& row : rows) {
        const ParsedOptions parsed = parseServerOptions(row.args);
        const std::string args = row.args.empty() ? "" : row.args.front() + " " + row.args.back();
        EXPECT_EQ(parsed.options.has_value(), row.valid) << args << ": " << parsed.error;
        EXPECT_EQ(parsed.error.empty(), row.valid) << args;
    }
    const ServerOptions options = *parseServerOptions({"--date=2026-07-09", "--time", "16:21"}).options;
    EXPECT_EQ(options.bind, "127.0.0.1");
    EXPECT_EQ(options.settings.apiKey, kDefaultApiKey);
    EXPECT_EQ(options.settings.date, (Date{2026, 7, 9}));
    EXPECT_EQ(options.settings.minuteOfDay, 981);
}

}  // namespace
