// The local weather server's library: time, query texts, places, the weather generator, the
// reply builders (checked against the recorded replies of the real service), the update
// record, the request-head recorder and the command line.
// Literals here are Windows-1252 at run time; UTF-8 bytes are written as escapes.
#if __has_include("server/Places.h")

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <set>
#include <sstream>
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

std::string readFixture(const std::string& name)
{
    std::ifstream in(std::string(WG_FIXTURES_DIR) + "/service/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

// ---------------------------------------------------------------------------------------
// Civil time

TEST(WeatherServerTime, DatesRoundTripThroughDayNumbers)
{
    const struct {
        Date date;
        long long days;
        int weekday;
    } rows[] = {{{1970, 1, 1}, 0, 4},     {{2000, 2, 29}, 11016, 2}, {{2024, 12, 31}, 20088, 2},
                {{2026, 7, 9}, 20643, 4}, {{1969, 12, 31}, -1, 3}};
    for (const auto& row : rows) {
        EXPECT_EQ(daysFromCivil(row.date), row.days) << isoDate(row.date);
        EXPECT_EQ(civilFromDays(row.days), row.date) << row.days;
        EXPECT_EQ(weekday(row.date), row.weekday) << isoDate(row.date);
    }
    EXPECT_EQ(addDays({2024, 2, 28}, 1), (Date{2024, 2, 29}));
    EXPECT_EQ(addDays({2026, 12, 31}, 1), (Date{2027, 1, 1}));
    EXPECT_EQ(dayOfYear({2024, 12, 31}), 366);
}

TEST(WeatherServerTime, ParsesOnlyStrictDatesAndTimes)
{
    const struct {
        const char* text;
        bool valid;
    } dates[] = {{"2026-07-09", true}, {"2024-02-29", true}, {"2026-02-29", false},
                 {"2026-13-01", false}, {"2026-7-9", false}, {"2026-07-09x", false},
                 {"", false},           {"2026/07/09", false}, {"abcd-ef-gh", false}};
    for (const auto& row : dates)
        EXPECT_EQ(parseDate(row.text).has_value(), row.valid) << row.text;

    const struct {
        const char* text;
        int minutes;   // -1: invalid
    } times[] = {{"00:00", 0}, {"16:21", 981}, {"23:59", 1439}, {"24:00", -1},
                 {"12:60", -1}, {"7:30", -1},  {"07:3a", -1},   {"", -1}};
    for (const auto& row : times)
        EXPECT_EQ(parseTimeOfDay(row.text).value_or(-1), row.minutes) << row.text;
}

TEST(WeatherServerTime, CentralEuropeanClockChangesOnTheLastSundays)
{
    // 2026: 29 March and 25 October, both at 01:00 UTC.
    const long long spring = daysFromCivil({2026, 3, 29}) * 86400 + 3600;
    const long long autumn = daysFromCivil({2026, 10, 25}) * 86400 + 3600;
    EXPECT_EQ(utcOffsetMinutes(spring - 1), 60);
    EXPECT_EQ(utcOffsetMinutes(spring), 120);
    EXPECT_EQ(utcOffsetMinutes(autumn - 1), 120);
    EXPECT_EQ(utcOffsetMinutes(autumn), 60);
    EXPECT_EQ(nextOffsetChange(spring), autumn);
    EXPECT_EQ(isoUtc(nextOffsetChange(0)), "1970-03-29T01:00:00Z");

    // The recorded Prague reply: 16:21 local on 9 July 2026 is epoch 1783606860.
    EXPECT_EQ(localToUtc({2026, 7, 9}, 16 * 60 + 21), 1783606860);
    EXPECT_EQ(isoLocal(1783606860), "2026-07-09T16:21:00+02:00");
    EXPECT_EQ(isoLocal(daysFromCivil({2026, 1, 15}) * 86400), "2026-01-15T01:00:00+01:00");
    const LocalTime back = utcToLocal(1783606860);
    EXPECT_EQ(back.date, (Date{2026, 7, 9}));
    EXPECT_EQ(back.minuteOfDay, 981);
}

// ---------------------------------------------------------------------------------------
// Query texts

TEST(WeatherServerQuery, DecodesPercentEscapesAndPlus)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {{"M%C3%BCnchen", "M\xC3\xBCnchen"}, {"Frankfurt+am+Main", "Frankfurt am Main"},
                {"100%25", "100%"},                 {"%zz", "%zz"},
                {"abc%4", "abc%4"},                 {"%", "%"},
                {"%c3%a4", "\xC3\xA4"},             {"", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(percentDecode(row.in), row.out) << row.in;
}

TEST(WeatherServerQuery, TellsUtf8FromWindows1252)
{
    const struct {
        std::string text;
        bool utf8;
    } rows[] = {{"plain", true},         {"\xC3\xBC", true},          {"\xE2\x82\xAC", true},
                {"\xFC", false},         {"\xC3", false},             {"\xC0\x80", false},
                {"\xE0\x80\xAF", false}, {"\xED\xA0\x80", false},     {"\xF4\x90\x80\x80", false},
                {"\xF0\x9F\x98\x80", true}};
    for (const auto& row : rows)
        EXPECT_EQ(isValidUtf8(row.text), row.utf8) << row.text;

    EXPECT_EQ(cp1252ToUtf8("M\xFCnchen"), "M\xC3\xBCnchen");
    EXPECT_EQ(cp1252ToUtf8("\x80\x81\x9F\xDF"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\x9F");
    // A typed text that arrives without encoding is taken as Windows-1252.
    EXPECT_EQ(queryTextToUtf8("K\xF6ln"), "K\xC3\xB6ln");
    EXPECT_EQ(queryTextToUtf8("K\xC3\xB6ln"), "K\xC3\xB6ln");
}

TEST(WeatherServerQuery, FoldsAsciiAndLatin1Capitals)
{
    EXPECT_EQ(foldCase("M\xC3\x9CNCHEN"), "m\xC3\xBCnchen");
    EXPECT_EQ(foldCase("\xC3\x84\xC3\x96\xC3\x9C"), "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(foldCase("\xC3\x97"), "\xC3\x97");   // the multiplication sign has no lower case
    EXPECT_EQ(foldCase("Gie\xC3\x9F" "en"), "gie\xC3\x9F" "en");
}

TEST(WeatherServerQuery, FindsOptionsWithoutRegardToCase)
{
    const QueryParams params = QueryParams::parse(
        "q=K%C3%B6ln&Language=de-DE&details=True&METRIC=false&ApiKey=abc&apikey=second&flag&=x");
    EXPECT_EQ(params.get("q"), "K\xC3\xB6ln");
    EXPECT_EQ(params.get("language"), "de-DE");
    EXPECT_EQ(params.get("Details"), "True");
    EXPECT_EQ(params.get("metric"), "false");
    EXPECT_EQ(params.get("APIKEY"), "abc");   // the first one counts
    EXPECT_EQ(params.get("flag"), "");
    EXPECT_FALSE(params.get("missing").has_value());
    EXPECT_FALSE(QueryParams::parse("").get("q").has_value());
}

// ---------------------------------------------------------------------------------------
// Places

TEST(WeatherServerPlaces, SearchMatchesNamesAndPostalCodes)
{
    const struct {
        std::string query;
        std::vector<std::string> keys;
    } rows[] = {
        {"Berlin", {"171001"}},
        {"m\xC3\xBCnchen", {"171002"}},
        {"M\xC3\x9CNCHEN", {"171002"}},
        {"munich", {"171002"}},            // the English name
        {"  Potsdam ", {"171005"}},
        {"\xC3\xBC" "ber", {"171016"}},    // a leading umlaut, in lower case
        {"gie\xC3\x9F", {"171015"}},
        {"neustadt", {"171008", "171009"}},
        {"8", {"171003", "171002", "171013", "171016"}},   // postal codes, best rank first
        {"Prague", {}},
        {"", {}},
        {"   ", {}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> keys;
        for (const Place* found : searchPlaces(row.query))
            keys.push_back(found->key);
        EXPECT_EQ(keys, row.keys) << row.query;
    }
}

TEST(WeatherServerPlaces, BuiltInPlacesAreComplete)
{
    std::set<std::string> keys;
    std::set<std::string> names;
    for (const Place& p : builtInPlaces()) {
        EXPECT_TRUE(keys.insert(p.key).second) << "duplicate key " << p.key;
        names.insert(p.nameDe);
        EXPECT_TRUE(p.countryId == "DE" || p.countryId == "AT" || p.countryId == "CH") << p.key;
        EXPECT_TRUE(isValidUtf8(p.nameDe) && isValidUtf8(p.areaDe)) << p.key;
        EXPECT_EQ(findPlace(p.key), &p);
    }
    for (const char* name : {"Berlin", "M\xC3\xBCnchen", "Z\xC3\xBCrich", "Wien", "Potsdam",
                             "K\xC3\xB6ln", "D\xC3\xBCsseldorf"})
        EXPECT_TRUE(names.count(name)) << name;
    // Two places of one name in different areas.
    const auto neustadt = searchPlaces("Neustadt");
    ASSERT_EQ(neustadt.size(), 2u);
    EXPECT_EQ(neustadt[0]->nameDe, neustadt[1]->nameDe);
    EXPECT_NE(neustadt[0]->areaDe, neustadt[1]->areaDe);
    EXPECT_EQ(findPlace("999999"), nullptr);
}

// ---------------------------------------------------------------------------------------
// JSON writing

TEST(WeatherServerJson, WritesRealsAlwaysWithADecimalPoint)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } rows[] = {{74, 1, "74.0"},       {24.2, 1, "24.2"},  {29.97, 2, "29.97"}, {29.9, 2, "29.9"},
                {10973, 1, "10973.0"}, {-3.46, 1, "-3.5"}, {-0.04, 1, "0.0"},   {0.03, 2, "0.03"},
                {52.52, 3, "52.52"},   {1.0, 0, "1.0"}};
    for (const auto& row : rows)
        EXPECT_EQ(formatReal(row.value, row.decimals), row.text) << row.value;
}

TEST(WeatherServerJson, WritesCompactJsonWithRawOrEscapedTexts)
{
    JsonWriter w;
    w.beginObject()
        .member("Name", "K\xC3\xB6ln")
        .member("Count", 3)
        .member("Value", 24.0, 1)
        .member("Missing", std::optional<std::string>{})
        .key("Unit").escapedString("W/m\xC2\xB2")
        .member("Quote", "a\"b\\c\n")
        .key("Empty").beginArray().endArray()
        .key("List").beginArray().integer(1).beginObject().endObject().null().endArray()
        .endObject();
    EXPECT_EQ(w.text(),
              "{\"Name\":\"K\xC3\xB6ln\",\"Count\":3,\"Value\":24.0,\"Missing\":null,"
              "\"Unit\":\"W/m\\u00b2\",\"Quote\":\"a\\\"b\\\\c\\u000a\",\"Empty\":[],"
              "\"List\":[1,{},null]}");
    EXPECT_EQ(json::parse(w.text())["Unit"], "W/m\xC2\xB2");
}

// ---------------------------------------------------------------------------------------
// Weather generator

TEST(WeatherServerModel, SameKeyAndDateGiveTheSameWeather)
{
    const ReplyOptions options{Language::fromCode("de-DE"), true, true};
    EXPECT_EQ(dailyForecastReply(place(kBerlin), 10, options, kSummerDay),
              dailyForecastReply(place(kBerlin), 10, options, kSummerDay));
    EXPECT_EQ(currentConditionsReply(place(kBerlin), options, {kSummerDay, 981}),
              currentConditionsReply(place(kBerlin), options, {kSummerDay, 981}));
    // A forecast day is the same whichever day the forecast starts on.
    const json from9 = json::parse(dailyForecastReply(place(kBerlin), 5, options, kSummerDay));
    const json from10 =
        json::parse(dailyForecastReply(place(kBerlin), 5, options, addDays(kSummerDay, 1)));
    for (int i = 0; i < 4; ++i) {
        json a = from9["DailyForecasts"][i + 1];
        json b = from10["DailyForecasts"][i];
        a.erase("Link");   // the links count the days from the first one
        a.erase("MobileLink");
        b.erase("Link");
        b.erase("MobileLink");
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
    // Day-only and night-only icon numbers of the service.
    const std::set<int> dayOnly = {1, 2, 3, 4, 5, 6, 13, 14, 16, 17, 20, 21, 23};
    const std::set<int> nightOnly = {33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44};
    std::set<int> seen;
    for (const Place& p : builtInPlaces()) {
        for (int i = 0; i < 366; i += 3) {
            const DayWeather w = dayWeather(p, addDays({2026, 1, 1}, i));
            const std::string where = p.key + " " + isoDate(w.date);
            EXPECT_LE(w.minC, w.maxC) << where;
            EXPECT_GT(w.minC, -30) << where;
            EXPECT_LT(w.maxC, 40) << where;
            EXPECT_FALSE(nightOnly.count(w.day.icon)) << where << " day icon " << w.day.icon;
            EXPECT_FALSE(dayOnly.count(w.night.icon)) << where << " night icon " << w.night.icon;
            EXPECT_FALSE(iconPhrase(w.day.icon, Lang::English).empty()) << where;
            EXPECT_FALSE(iconPhrase(w.night.icon, Lang::English).empty()) << where;
            EXPECT_LT(w.sun.riseUtc, w.sun.setUtc) << where;
            EXPECT_GE(w.hoursOfSun, 0) << where;
            EXPECT_LE(w.hoursOfSun * 3600, static_cast<double>(w.sun.setUtc - w.sun.riseUtc)) << where;
            for (const HalfDay* half : {&w.day, &w.night}) {
                for (int probability : {half->rainProbability, half->snowProbability,
                                        half->iceProbability, half->thunderstormProbability})
                    EXPECT_TRUE(probability >= 0 && probability <= 100) << where;
                // Amounts only where something falls.
                if (half->precipitation == Precip::None) {
                    EXPECT_EQ(half->rainMm + half->snowCm + half->iceMm, 0) << where;
                }
                EXPECT_LE(half->humidityMin, half->humidityMax) << where;
            }
            if (w.day.precipitation == Precip::Snow) {
                EXPECT_LE(w.maxC, 0.5) << where;
            }
            seen.insert(w.day.icon);
            seen.insert(w.night.icon);
        }
    }
    // A year shows most of the service's pictures.
    EXPECT_GE(seen.size(), 30u);
}

TEST(WeatherServerModel, SunAndMoonFollowTheAlmanac)
{
    // Berlin's sunrise and sunset (CET/CEST) on the solstices, within five minutes.
    const struct {
        Date date;
        int rise;
        int set;
    } rows[] = {{{2026, 6, 21}, 4 * 60 + 43, 21 * 60 + 33}, {{2026, 12, 21}, 8 * 60 + 15, 15 * 60 + 54}};
    for (const auto& row : rows) {
        const SunTimes sun = sunTimes(row.date, 52.52, 13.405);
        EXPECT_NEAR(utcToLocal(sun.riseUtc).minuteOfDay, row.rise, 5) << isoDate(row.date);
        EXPECT_NEAR(utcToLocal(sun.setUtc).minuteOfDay, row.set, 5) << isoDate(row.date);
    }
    // New moons of 2026 (17 February, 14 July) and a full moon (3 March).
    EXPECT_TRUE(moonDay({2026, 2, 17}).phase == "New");
    EXPECT_TRUE(moonDay({2026, 7, 14}).phase == "New");
    EXPECT_TRUE(moonDay({2026, 3, 3}).phase == "Full");
    // The moon rises about 50 minutes later each day and skips one date a month.
    int missing = 0;
    std::set<std::string> phases;
    for (int i = 0; i < 365; ++i) {
        const MoonDay moon = moonDay(addDays({2026, 1, 1}, i));
        phases.insert(moon.phase);
        missing += !moon.riseUtc;
        EXPECT_GE(moon.age, 0);
        EXPECT_LE(moon.age, 29);
    }
    EXPECT_GE(missing, 11);
    EXPECT_LE(missing, 13);
    EXPECT_EQ(phases, (std::set<std::string>{"New", "WaxingCrescent", "First", "WaxingGibbous",
                                              "Full", "WaningGibbous", "Last", "WaningCrescent"}));
}

TEST(WeatherServerModel, CurrentConditionsFollowTheDay)
{
    const Place& berlin = place(kBerlin);
    const DayWeather today = dayWeather(berlin, kSummerDay);
    const CurrentWeather night = currentWeather(berlin, {kSummerDay, 2 * 60});
    const CurrentWeather noon = currentWeather(berlin, {kSummerDay, 13 * 60});
    EXPECT_FALSE(night.isDayTime);
    EXPECT_TRUE(noon.isDayTime);
    EXPECT_EQ(noon.icon, today.day.icon);
    EXPECT_EQ(night.uvIndex, 0);
    EXPECT_EQ(night.realFeelC, night.realFeelShadeC);   // no sun, no shade
    EXPECT_GE(noon.temperatureC, today.minC);
    EXPECT_LE(noon.temperatureC, today.maxC);
    EXPECT_NEAR(temperatureAt(berlin, localToUtc(kSummerDay, 15 * 60)), today.maxC, 0.05);
    EXPECT_NEAR(temperatureAt(berlin, today.sun.riseUtc), today.minC, 0.05);
    EXPECT_GE(night.relativeHumidity, 5);
    EXPECT_LE(night.relativeHumidity, 100);
    for (int i = 1; i < 7; ++i)
        EXPECT_LE(noon.precipitationMm[i - 1], noon.precipitationMm[i]);
    EXPECT_NEAR(relativeHumidity(20, 20), 100, 0.01);
    EXPECT_NEAR(relativeHumidity(20, 9.3), 50, 1);
}

// ---------------------------------------------------------------------------------------
// Replies against the recorded ones

// The member paths that the widget reads.
const std::vector<std::string> kCurrentPaths = {
    "WeatherIcon", "WeatherText", "Link", "EpochTime", "CloudCover", "RelativeHumidity", "UVIndex",
    "UVIndexText", "PressureTendency/Code", "Wind/Direction/English", "Wind/Direction/Localized",
    "Wind/Direction/Degrees", "Temperature/Metric/Value"};
const std::vector<std::string> kCurrentUnitPaths = {
    "Temperature/U/Value", "Temperature/U/Unit", "Visibility/U/Value", "Visibility/U/Unit",
    "Wind/Speed/U/Value", "Wind/Speed/U/Unit", "Pressure/U/Value", "Pressure/U/Unit",
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

bool hasBlankOutsideStrings(const std::string& text)
{
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (inString && text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            inString = !inString;
        else if (!inString && static_cast<unsigned char>(text[i]) <= ' ')
            return true;
    }
    return false;
}

std::string replaceUnit(std::string path, const std::string& unit)
{
    path.replace(path.find("/U/"), 3, "/" + unit + "/");
    return path;
}

TEST(WeatherServerReplies, CurrentConditionsCarryEveryMemberTheWidgetReads)
{
    for (int minute : {2 * 60, 13 * 60, 22 * 60}) {
        const ReplyOptions options{Language::fromCode("de-DE"), true, true};
        const json reply =
            json::parse(currentConditionsReply(place(kBerlin), options, {kSummerDay, minute}));
        ASSERT_TRUE(reply.is_array());
        ASSERT_EQ(reply.size(), 1u);
        const std::set<std::string> paths = pathsOf(reply[0]);
        for (const std::string& path : kCurrentPaths)
            EXPECT_TRUE(paths.count(path)) << path;
        for (const char* unit : {"Metric", "Imperial"}) {
            for (const std::string& path : kCurrentUnitPaths)
                EXPECT_TRUE(paths.count(replaceUnit(path, unit))) << replaceUnit(path, unit);
        }
        const std::string code = reply[0]["PressureTendency"]["Code"];
        EXPECT_TRUE(code == "R" || code == "S" || code == "F") << code;
        EXPECT_EQ(reply[0]["EpochTime"], localToUtc(kSummerDay, minute));
    }
}

TEST(WeatherServerReplies, ForecastDaysCarryEveryMemberTheWidgetReads)
{
    for (const bool metric : {true, false}) {
        const ReplyOptions options{Language::fromCode("de-DE"), true, metric};
        const json reply = json::parse(dailyForecastReply(place(kMunich), 10, options, kSummerDay));
        ASSERT_EQ(reply["DailyForecasts"].size(), 10u);
        EXPECT_TRUE(reply["Headline"].contains("Text"));
        for (const json& day : reply["DailyForecasts"]) {
            const std::set<std::string> paths = pathsOf(day);
            for (const std::string& path : kDayPaths)
                EXPECT_TRUE(paths.count(path)) << path;
            for (const char* half : {"Day/", "Night/"}) {
                for (const std::string& path : kHalfDayPaths)
                    EXPECT_TRUE(paths.count(half + path)) << half << path;
            }
            int uvEntries = 0;
            for (const json& entry : day["AirAndPollen"])
                uvEntries += entry["Name"] == "UVIndex";
            EXPECT_EQ(uvEntries, 1);
            EXPECT_EQ(day["Date"].get<std::string>().size(), 25u);
            EXPECT_EQ(day["Date"].get<std::string>()[10], 'T');
        }
    }
}

TEST(WeatherServerReplies, MembersExistInTheRecordedReplies)
{
    // Everything we send, the real service sends too (catches misspelt member names).
    std::set<std::string> realCurrent;
    for (const char* name : {"current-prague-details-2026.json", "current-piatek-pl-details-2023-03.json"})
        for (const std::string& path : pathsOf(json::parse(readFixture(name))[0]))
            realCurrent.insert(path);
    std::set<std::string> realForecast;
    for (const char* name : {"forecast-5day-details-prague-metric-2026.json",
                             "forecast-5day-details-piatek-imperial-2023-03.json",
                             "forecast-5day-details-piatek-metric-2020-06.json"})
        for (const std::string& path : pathsOf(json::parse(readFixture(name))))
            realForecast.insert(path);
    std::set<std::string> realLocation = pathsOf(json::parse(readFixture("location-search-prague-2026.json")));
    for (const std::string& path : pathsOf(json::parse(readFixture("location-piatek-pl.json"))))
        realLocation.insert(path);

    const ReplyOptions options{Language::fromCode("en-us"), true, true};
    for (int minute : {3 * 60, 12 * 60}) {
        for (const std::string& path :
             pathsOf(json::parse(currentConditionsReply(place(kBerlin), options, {{2026, 1, 20}, minute}))[0]))
            EXPECT_TRUE(realCurrent.count(path)) << path;
    }
    for (const bool metric : {true, false}) {
        const ReplyOptions units{Language::fromCode("en-us"), true, metric};
        for (const std::string& path :
             pathsOf(json::parse(dailyForecastReply(place(kBerlin), 25, units, {2026, 1, 20}))))
            EXPECT_TRUE(realForecast.count(path)) << path;
    }
    for (const std::string& path : pathsOf(json::parse(searchReply(searchPlaces("a"), options.language, 0))))
        EXPECT_TRUE(realLocation.count(path)) << path;

    // Without details the current conditions are exactly the short recorded reply.
    const ReplyOptions brief{Language::fromCode("en-us"), false, true};
    EXPECT_EQ(pathsOf(json::parse(currentConditionsReply(place(kBerlin), brief, {kSummerDay, 600}))),
              pathsOf(json::parse(readFixture("current-josefov-nodetails-2026.json"))));
}

TEST(WeatherServerReplies, UnitsFollowTheMetricOption)
{
    const struct {
        bool metric;
        const char* temperature;
        const char* speed;
        const char* rain;
        const char* snow;
    } rows[] = {{true, "C", "km/h", "mm", "cm"}, {false, "F", "mi/h", "in", "in"}};
    for (const auto& row : rows) {
        const ReplyOptions options{Language::fromCode("en-us"), true, row.metric};
        const json reply = json::parse(dailyForecastReply(place(kBerlin), 5, options, kSummerDay));
        for (const json& day : reply["DailyForecasts"]) {
            EXPECT_EQ(day["Temperature"]["Maximum"]["Unit"], row.temperature);
            EXPECT_EQ(day["Day"]["Wind"]["Speed"]["Unit"], row.speed);
            EXPECT_EQ(day["Night"]["Rain"]["Unit"], row.rain);
            EXPECT_EQ(day["Day"]["Snow"]["Unit"], row.snow);
        }
    }
    const json metric = json::parse(dailyForecastReply(place(kBerlin), 1, {Language{}, true, true}, kSummerDay));
    const json imperial = json::parse(dailyForecastReply(place(kBerlin), 1, {Language{}, true, false}, kSummerDay));
    const double celsius = metric["DailyForecasts"][0]["Temperature"]["Maximum"]["Value"];
    const double fahrenheit = imperial["DailyForecasts"][0]["Temperature"]["Maximum"]["Value"];
    EXPECT_NEAR(fahrenheit, celsius * 9 / 5 + 32, 0.5);
}

TEST(WeatherServerReplies, LanguageCodeChoosesTheTexts)
{
    const struct {
        const char* code;
        Lang lang;
        const char* country;
    } rows[] = {{"de-DE", Lang::German, "Deutschland"}, {"DE", Lang::German, "Deutschland"},
                {"de-at", Lang::German, "Deutschland"}, {"en-us", Lang::English, "Germany"},
                {"", Lang::English, "Germany"},         {"fr-FR", Lang::English, "Germany"}};
    for (const auto& row : rows) {
        const Language language = Language::fromCode(row.code);
        const ReplyOptions options{language, true, true};
        const json now = json::parse(currentConditionsReply(place(kMunich), options, {kSummerDay, 700}))[0];
        EXPECT_EQ(now["WeatherText"], iconPhrase(now["WeatherIcon"].get<int>(), row.lang)) << row.code;
        const json city = json::parse(locationReply(place(kMunich), language, 0));
        EXPECT_EQ(city["Country"]["LocalizedName"], row.country) << row.code;
        EXPECT_EQ(city["LocalizedName"], row.lang == Lang::German ? "M\xC3\xBCnchen" : "Munich");
        EXPECT_EQ(city["EnglishName"], "Munich");
    }
    // German texts differ from the English ones, and the moon phase stays the service's code.
    const json de = json::parse(dailyForecastReply(place(kBerlin), 10, {Language::fromCode("de-DE"), true, true}, kSummerDay));
    const json en = json::parse(dailyForecastReply(place(kBerlin), 10, {Language::fromCode("en-us"), true, true}, kSummerDay));
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
    const ReplyOptions options{Language::fromCode("de-DE"), true, true};
    const std::string forecast = dailyForecastReply(place(kMunich), 5, options, kSummerDay);
    const std::string city = locationReply(place(kMunich), options.language, 0);
    // Compact, raw UTF-8 where the widget reads, an escape in a member it does not read.
    for (const std::string* text : {&forecast, &city})
        EXPECT_FALSE(hasBlankOutsideStrings(*text));
    EXPECT_NE(city.find("\"LocalizedName\":\"M\xC3\xBCnchen\""), std::string::npos);
    EXPECT_NE(forecast.find("\"Unit\":\"W/m\\u00b2\""), std::string::npos);
    // Measures with a decimal point, counts without.
    EXPECT_NE(forecast.find("\"UnitType\":17"), std::string::npos);
    const json parsed = json::parse(forecast);
    for (const json& day : parsed["DailyForecasts"]) {
        EXPECT_TRUE(day["Temperature"]["Maximum"]["Value"].is_number_float());
        EXPECT_TRUE(day["Day"]["CloudCover"].is_number_integer());
        EXPECT_TRUE(day["Moon"]["Age"].is_number_integer());
    }
    EXPECT_TRUE(parsed["DailyForecasts"][0]["Day"]["Rain"]["Value"].is_number_float());
    // A day without a moonrise sends null, as the service does.
    for (int i = 0; i < 31; ++i) {
        const Date date = addDays({2026, 7, 1}, i);
        if (moonDay(date).riseUtc)
            continue;
        const json day = json::parse(dailyForecastReply(place(kBerlin), 1, options, date))["DailyForecasts"][0];
        EXPECT_TRUE(day["Moon"]["Rise"].is_null());
        EXPECT_TRUE(day["Moon"]["EpochRise"].is_null());
        EXPECT_TRUE(day["Moon"]["Set"].is_string());
        return;
    }
    ADD_FAILURE() << "no date without a moonrise in July 2026";
}

TEST(WeatherServerReplies, ProblemBodyHasTheShapeOfTheRecordedOne)
{
    const json real = json::parse(readFixture("error-401-unauthorized-2026.json"));
    const std::string text = problemReply(401, "/currentconditions/v1/171001",
                                          "http://127.0.0.1/currentconditions/v1/171001", 1783606860);
    const json ours = json::parse(text);
    EXPECT_EQ(pathsOf(ours), pathsOf(real));
    EXPECT_EQ(ours["status"], 401);
    EXPECT_EQ(ours["title"], real["title"]);
    EXPECT_EQ(ours["Code"], real["Code"]);
    EXPECT_EQ(ours["Message"], real["Message"]);
    EXPECT_EQ(ours["instance"], "/currentconditions/v1/171001");
    EXPECT_EQ(ours["trace"]["timestamp"], "2026-07-09T14:21:00.000Z");
    EXPECT_EQ(text.substr(0, 5), "{\n  \"");
    EXPECT_EQ(text.back(), '}');
    EXPECT_EQ(json::parse(problemReply(503, "/x", "/x", 0))["title"], "Service Unavailable");
    EXPECT_EQ(json::parse(invalidKeyReply("12\"3", "/x"))["Message"], "Invalid location key: 12\"3");
}

TEST(WeatherServerReplies, SearchReplyListsThePlacesFound)
{
    const json reply = json::parse(searchReply(searchPlaces("neustadt"), Language::fromCode("de-DE"),
                                               localToUtc({2026, 1, 10}, 600)));
    ASSERT_EQ(reply.size(), 2u);
    EXPECT_EQ(reply[0]["Key"], "171008");
    EXPECT_EQ(reply[0]["AdministrativeArea"]["LocalizedName"], "Schleswig-Holstein");
    EXPECT_EQ(reply[1]["AdministrativeArea"]["LocalizedName"], "Bayern");
    EXPECT_EQ(reply[0]["TimeZone"]["Code"], "CET");
    EXPECT_EQ(reply[0]["TimeZone"]["GmtOffset"], 1.0);
    EXPECT_EQ(searchReply({}, Language{}, 0), "[]");
    const json bern = json::parse(locationReply(place("171010"), Language{}, 0));
    EXPECT_EQ(bern["PrimaryPostalCode"], "");
}

// ---------------------------------------------------------------------------------------
// Update record

TEST(WeatherServerUpdate, ChecksumsAreZlibs)
{
    EXPECT_EQ(crc32(""), 0u);
    EXPECT_EQ(crc32("abc"), 0x352441C2u);
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc32(std::string("\0\0\0\0", 4)), 0x2144DF1Cu);
}

TEST(WeatherServerUpdate, RecordNamesVersionFileAndChecksum)
{
    UpdateOffer offer;
    const struct {
        std::string version;
        std::string file;
        std::string remark;
        std::optional<std::uint32_t> crc;
        std::optional<std::string> download;
        std::string record;
    } rows[] = {
        {"1.54", "", "", std::nullopt, std::nullopt, "[Wolkenglas|Wolkenglas.exe|1.54|09.07.2026]\r\n"},
        {"1.55", "/tmp/dir/Wolkenglas.exe", "", std::nullopt, std::string("abc"),
         "[Wolkenglas|Wolkenglas.exe|1.55|09.07.2026|352441C2]\r\n"},
        {"1.55 Beta 2", "/x/New.exe", "neu", std::nullopt, std::string("123456789"),
         "[Wolkenglas|New.exe|1.55 Beta 2|neu|CBF43926]\r\n"},
        {"1.56", "/x/W.exe", "", 0xDEADBEEFu, std::string("abc"), "[Wolkenglas|W.exe|1.56|09.07.2026|DEADBEEF]\r\n"},
        {"1.56", "", "", 0x1u, std::nullopt, "[Wolkenglas|Wolkenglas.exe|1.56|09.07.2026|00000001]\r\n"},
    };
    for (const auto& row : rows) {
        offer.version = row.version;
        offer.filePath = row.file;
        offer.remark = row.remark;
        offer.crcOverride = row.crc;
        EXPECT_EQ(updateRecord(offer, row.download, "09.07.2026"), row.record);
    }
    const struct {
        const char* text;
        std::optional<std::uint32_t> value;
    } crcs[] = {{"352441c2", 0x352441C2u}, {"FFFFFFFF", 0xFFFFFFFFu}, {"1", 1u},
                {"", std::nullopt},        {"123456789", std::nullopt}, {"12g4", std::nullopt}};
    for (const auto& row : crcs)
        EXPECT_EQ(parseCrc(row.text), row.value) << row.text;
}

// ---------------------------------------------------------------------------------------
// Request log

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
    const std::string post = "POST /b HTTP/1.1\r\nContent-Length: 12\r\n\r\nbody\r\n\r\nmore";
    const std::string last = "GET /c HTTP/1.0\nX: y\n\n";
    const std::string all = first + post + last;
    const std::vector<std::string> expected = {first.substr(0, first.size() - 4),
                                               "POST /b HTTP/1.1\r\nContent-Length: 12",
                                               "GET /c HTTP/1.0\nX: y"};
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
}

TEST(WeatherServerLog, LogTextKeepsLinesInOrderWithoutCarriageReturns)
{
    EXPECT_EQ(formatHead("GET /x HTTP/1.1\r\nZeta: 1\r\nAlpha:  two  \r\nHost: h"),
              "GET /x HTTP/1.1\nZeta: 1\nAlpha:  two  \nHost: h\n\n");
    EXPECT_EQ(formatHead("GET / HTTP/1.0"), "GET / HTTP/1.0\n\n");
}

// ---------------------------------------------------------------------------------------
// Routes and command line

TEST(WeatherServerRoutes, DataFilesAreNamedAfterTheRequestPath)
{
    const struct {
        const char* path;
        const char* file;
    } rows[] = {
        {"/currentconditions/v1/171001", "currentconditions_v1_171001.json"},
        {"/locations/v1/171001.json", "locations_v1_171001.json"},
        {"/locations/v1/search", "locations_v1_search.json"},
        {"/forecasts/v1/daily/10day/125594", "forecasts_v1_daily_10day_125594.json"},
        {"/sat_mosaic_640x480_public/IR/iseur3.jpg", "sat_mosaic_640x480_public_IR_iseur3.jpg"},
        {"/updates/updates.php", "updates_updates.php"},
        {"/locations/v1/K\xC3\xB6ln", "locations_v1_K__ln.json"},
        {"/../etc/passwd", ""},
        {"/", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(dataFileName(row.path), row.file) << row.path;
}

TEST(WeatherServerOptions, ParsesTheCommandLine)
{
    const std::string fixture = std::string(WG_FIXTURES_DIR) + "/service/ICONS.md";
    const struct {
        std::vector<std::string> args;
        bool valid;
    } rows[] = {
        {{}, true},
        {{"--port", "0", "--bind", "0.0.0.0", "--apikey", "k"}, true},
        {{"--port=65535", "--date=2026-07-09", "--time", "16:21"}, true},
        {{"--delay-ms", "250", "--status", "503", "--log", "/tmp/x.log"}, true},
        {{"--data", WG_FIXTURES_DIR, "--update-file", fixture, "--update-crc", "abc"}, true},
        {{"--help"}, true},
        {{"--port", "65536"}, false},
        {{"--port", "-1"}, false},
        {{"--port"}, false},
        {{"--date", "2026-02-30"}, false},
        {{"--time", "24:00"}, false},
        {{"--status", "42"}, false},
        {{"--status", "600"}, false},
        {{"--delay-ms", "x"}, false},
        {{"--data", "/no/such/dir"}, false},
        {{"--update-file", "/no/such/file"}, false},
        {{"--update-crc", "xyz"}, false},
        {{"--apikey", ""}, false},
        {{"--unknown", "1"}, false},
        {{"stray"}, false},
    };
    for (const auto& row : rows) {
        const ParsedOptions parsed = parseServerOptions(row.args);
        std::string joined;
        for (const std::string& arg : row.args)
            joined += arg + " ";
        EXPECT_EQ(parsed.options.has_value(), row.valid) << joined << parsed.error;
        EXPECT_EQ(parsed.error.empty(), row.valid) << joined;
    }
    const ServerOptions options =
        *parseServerOptions({"--port=0", "--date", "2026-07-09", "--time", "16:21", "--status", "503"}).options;
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.bind, "127.0.0.1");
    EXPECT_EQ(options.settings.apiKey, kDefaultApiKey);
    EXPECT_EQ(options.settings.date, (Date{2026, 7, 9}));
    EXPECT_EQ(options.settings.minuteOfDay, 981);
    EXPECT_EQ(options.status, 503);
}

}  // namespace

#else

#include <gtest/gtest.h>

// Until tests/CMakeLists.txt links weather_server_lib into unit_tests.
TEST(WeatherServer, NeedsTheServerLibrary)
{
    GTEST_SKIP() << "weather_server_lib is not linked into unit_tests";
}

#endif
