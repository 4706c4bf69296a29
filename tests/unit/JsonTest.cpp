#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "unit/reference/ReplyCorpus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct QueryRow {
  const char* json;
  const char* path;
  const char* expected;
};

const char kWeather[] = R"({"Temperature":{"Metric":{"Value":21.5,"Unit":"C"}},"Wind":{"Speed":3}})";

const QueryRow kQueries[] = {
    // nesting and case
    {kWeather, "Temperature/Metric/Value", "21.5"},
    {kWeather, "Temperature/Metric/Unit", "C"},
    {kWeather, "temperature/metric/value", "21.5"},
    {kWeather, "WIND/speed", "3"},
    {"{\"\xC4rger\":1}", "\xE4RGER", "1"},  // Windows-1252 capitals fold too
    {"{\"\xDC" "ber\":1,\"\x8A" "a\":2}", "\xFC" "ber", "1"},
    {"{\"\xDC" "ber\":1,\"\x8A" "a\":2}", "\x9A" "A", "2"},
    {"{\"\xD7\":1}", "\xF7", ""},  // the multiplication and division signs are no pair
    // path forms
    {kWeather, "/Temperature/Metric/Value", "21.5"},
    {kWeather, "Temperature//Metric/Value", "21.5"},
    {kWeather, "Temperature/Metric/", R"({"Value":21.5,"Unit":"C"})"},
    {kWeather, "Temperature", R"({"Metric":{"Value":21.5,"Unit":"C"}})"},
    // absent members and paths that go on below a leaf
    {kWeather, "Humidity", ""},
    {kWeather, "Temperature/Imperial/Value", ""},
    {kWeather, "Temperature/Metric/Value/x", ""},
    {kWeather, "Temperature/Metric/Unit/x", ""},
    {R"({"a":[{"b":1}]})", "a/b", ""},
    {kWeather, "Temp", ""},
    {kWeather, "", ""},
    // first match wins, the last member is found like any other
    {R"({"a":1,"A":2,"a":3})", "a", "1"},
    {R"({"a":{"b":1},"a":{"b":2}})", "a/b", "1"},
    {R"({"a":1,"b":2})", "b", "2"},
    // literals and empty strings
    {R"({"a":null,"b":true,"c":"","d":false})", "a", "null"},
    {R"({"a":null,"b":true,"c":"","d":false})", "b", "true"},
    {R"({"a":null,"b":true,"c":"","d":false})", "c", ""},
    {R"({"a":null,"b":true,"c":"","d":false})", "d", "false"},
    // white space: dropped around values at the object's own level, kept inside strings and
    // nested values
    {"{\n  \"a\" : -3 ,\r\n\t\"b\": { \"c\" : 1 }\n}", "a", "-3"},
    {"{\n  \"a\" : -3 ,\r\n\t\"b\": { \"c\" : 1 }\n}", "b", R"({ "c" : 1 })"},
    {"{\n  \"a\" : -3 ,\r\n\t\"b\": { \"c\" : 1 }\n}", "b/c", "1"},
    {R"({"a":" x  y "})", "a", " x  y "},
    // separators, brackets and escaped quotes inside strings
    {R"({"a":"x:y,z","b":2})", "a", "x:y,z"},
    {R"({"a":"x:y,z","b":2})", "b", "2"},
    {R"({"a":"Schauer [abends","b":{"c":"}{"},"d":4})", "a", "Schauer [abends"},
    {R"({"a":"Schauer [abends","b":{"c":"}{"},"d":4})", "b/c", "}{"},
    {R"({"a":"Schauer [abends","b":{"c":"}{"},"d":4})", "d", "4"},
    {R"({"a":"say \"hi\", go","b":5})", "a", R"(say \"hi\", go)"},
    {R"({"a":"say \"hi\", go","b":5})", "b", "5"},
    {R"({"a":"ends in \\","b":5})", "b", "5"},
    {R"({"u":"W/m\u00b2"})", "u", R"(W/m\u00b2)"},
    // arrays as values
    {R"({"DailyForecasts":[{"Day":1},{"Day":2}],"x":0})", "DailyForecasts", R"([{"Day":1},{"Day":2}])"},
    {R"({"a":[],"b":[[1],[2]]})", "a", "[]"},
    {R"({"a":[],"b":[[1],[2]]})", "b", "[[1],[2]]"},
    // texts that are not one object
    {R"([{"a":1}])", "a", ""},
    {"", "a", ""},
    {"Http-Error 401: Unauthorized", "Http-Error 401", ""},
    {R"(junk {"a":1} tail)", "a", "1"},
    {R"({"a":{"b":1)", "a/b", "1"},  // a reply cut short still yields what arrived
    {R"({"a":1}})", "a", "1"},
};

void PrintTo(const QueryRow& row, std::ostream* os) {
  *os << testing::PrintToString(std::string(row.json)) << " path " << testing::PrintToString(std::string(row.path));
}

class JsonQueryTest : public testing::TestWithParam<QueryRow> {};

TEST_P(JsonQueryTest, YieldsMemberText) {
  const QueryRow& row = GetParam();
  EXPECT_EQ(GetJSONValue(row.json, row.path), row.expected) << row.json << "  path " << row.path;
}

INSTANTIATE_TEST_SUITE_P(Rows, JsonQueryTest, testing::ValuesIn(kQueries));

struct SplitRow {
  const char* json;
  std::vector<std::string> elements;  // 1..n
};

const SplitRow kSplits[] = {
    {R"([{"a":1},{"b":[2,3]}])", {R"({"a":1})", R"({"b":[2,3]})"}},
    {"[]", {""}},
    {"[1, 2]", {"1", " 2"}},
    {"[[1,2],[3]]", {"[1,2]", "[3]"}},
    {R"(["a,b","c"])", {"a,b", "c"}},
    {R"(["x]","[y", "{"])", {"x]", "[y", " {"}},
    {R"(["q\"x,y"])", {R"(q\"x,y)"}},
    {"[\n  {\"a\": 1},\n  {\"a\": 2}\n]", {"\n  {\"a\": 1}", "\n  {\"a\": 2}\n"}},
    {R"([{"a":"}"},{"b":"]"}])", {R"({"a":"}"})", R"({"b":"]"})"}},
    // not an array: one element holding the text
    {R"({"a":1,"b":2})", {R"({"a":1,"b":2})"}},
    {"Error!", {"Error!"}},
    {"", {""}},
    {"[1,2", {"1", "2"}},
};

void PrintTo(const SplitRow& row, std::ostream* os) { *os << testing::PrintToString(std::string(row.json)); }

class JsonSplitTest : public testing::TestWithParam<SplitRow> {};

TEST_P(JsonSplitTest, YieldsElementTexts) {
  const SplitRow& row = GetParam();
  std::vector<std::string> expected{""};
  expected.insert(expected.end(), row.elements.begin(), row.elements.end());
  EXPECT_EQ(SplitJSONArray(row.json), expected) << row.json;
}

INSTANTIATE_TEST_SUITE_P(Rows, JsonSplitTest, testing::ValuesIn(kSplits));

TEST(JsonTest, ElementsOfAnArrayOfObjectsCanBeQueried) {
  const auto days = SplitJSONArray(GetJSONValue(
      R"({"Headline":{},"DailyForecasts":[{"Day":{"Icon":3}},{"Day":{"Icon":12}}]})", "DailyForecasts"));
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(GetJSONValue(days[1], "Day/Icon"), "3");
  EXPECT_EQ(GetJSONValue(days[2], "Day/Icon"), "12");
}

// ---- the recorded replies, converted as the program converts them ----

const auto& Replies() {
  static const auto replies = corpus::LoadReplies(WG_FIXTURES_DIR);
  return replies;
}

std::string Converted(const char* file) {
  const auto* reply = corpus::Find(Replies(), file);
  EXPECT_NE(reply, nullptr) << file;
  return reply ? UTF8toWIN(reply->bytes) : std::string();
}

// What a leaf looks like to the program, according to an independent JSON parser: strings
// converted to Windows-1252, numbers and literals as written.
bool ExpectedLeaf(const nlohmann::json& node, std::string& out) {
  if (node.is_string()) {
    out = UTF8toWIN(node.get<std::string>());
    return true;
  }
  if (node.is_primitive()) {
    out = node.dump();
    return true;
  }
  return false;
}

// The queries keep escape sequences as written; the parser decodes them.
bool KeptEscapes(const std::string& text) { return text.find('\\') != std::string::npos; }

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Walks every member and element of the parsed reply and asks for it the way the program
// does: objects by member name, arrays by splitting. `text` is our view of the same node.
void CompareTree(const nlohmann::json& node, const std::string& text, const std::string& where, int& leaves) {
  if (node.is_object()) {
    for (const auto& [name, child] : node.items()) {
      const std::string childText = GetJSONValue(text, name);
      std::string leaf;
      if (ExpectedLeaf(child, leaf)) {
        if (KeptEscapes(childText)) continue;
        EXPECT_EQ(childText, leaf) << where << "/" << name;
        ++leaves;
      } else {
        CompareTree(child, childText, where + "/" + name, leaves);
      }
    }
  } else if (node.is_array()) {
    const auto elements = SplitJSONArray(text);
    ASSERT_EQ(elements.size(), std::max<std::size_t>(node.size(), 1) + 1) << where;
    for (std::size_t i = 0; i < node.size(); ++i) {
      std::string leaf;
      if (ExpectedLeaf(node[i], leaf)) {
        // White space between elements stays with the element that follows it.
        EXPECT_EQ(Trimmed(elements[i + 1]), leaf) << where << "[" << i + 1 << "]";
        ++leaves;
      } else {
        CompareTree(node[i], elements[i + 1], where + "[" + std::to_string(i + 1) + "]", leaves);
      }
    }
  }
}

TEST(JsonTest, EveryValueOfTheRecordedRepliesMatchesAnIndependentParser) {
  ASSERT_FALSE(Replies().empty());
  for (const auto& reply : Replies()) {
    const auto parsed = nlohmann::json::parse(reply.bytes);
    int leaves = 0;
    CompareTree(parsed, UTF8toWIN(reply.bytes), reply.file, leaves);
    if (reply.bytes.size() > 100) {
      EXPECT_GE(leaves, 5) << reply.file;
    }
  }
}

// The members the program reads (U = Metric or Imperial), each checked through full paths
// against the independent parser, so the path forms the program uses are covered too.
const std::vector<std::string> kCurrentPaths = {
    "WeatherIcon", "WeatherText", "Link", "EpochTime", "CloudCover", "RelativeHumidity", "UVIndex",
    "UVIndexText", "PressureTendency/Code", "Wind/Direction/English", "Wind/Direction/Localized",
    "Wind/Direction/Degrees", "Temperature/Metric/Value"};
const std::vector<std::string> kCurrentUnitPaths = {
    "Temperature/", "Visibility/", "Wind/Speed/", "Pressure/", "PrecipitationSummary/Precipitation/",
    "Ceiling/", "RealFeelTemperature/", "RealFeelTemperatureShade/", "DewPoint/", "WindGust/Speed/"};
const std::vector<std::string> kDayPaths = {
    "Date", "Link", "HoursOfSun", "Sun/Rise", "Sun/Set", "Moon/Rise", "Moon/Set", "Moon/Phase",
    "Moon/Age", "Temperature/Maximum/Value", "Temperature/Minimum/Value",
    "RealFeelTemperature/Maximum/Value", "RealFeelTemperature/Minimum/Value"};
const std::vector<std::string> kHalfDayPaths = {
    "Icon", "IconPhrase", "ShortPhrase", "Rain/Value", "Rain/Unit", "Snow/Value", "Snow/Unit",
    "RainProbability", "ThunderstormProbability", "SnowProbability", "IceProbability", "CloudCover",
    "Wind/Speed/Value", "Wind/Direction/Localized", "Wind/Direction/Degrees", "WindGust/Speed/Value"};
const std::vector<std::string> kPlacePaths = {
    "Key", "LocalizedName", "EnglishName", "PrimaryPostalCode", "Country/ID", "Country/LocalizedName",
    "AdministrativeArea/LocalizedName"};

std::string ByPointer(const nlohmann::json& node, const std::string& path) {
  const nlohmann::json::json_pointer pointer("/" + path);
  if (!node.contains(pointer)) return "";
  std::string leaf;
  ExpectedLeaf(node.at(pointer), leaf);
  return leaf;
}

void ExpectPaths(const nlohmann::json& node, const std::string& text, const std::vector<std::string>& paths,
                 const std::string& where, int& nonEmpty) {
  for (const auto& path : paths) {
    const std::string value = GetJSONValue(text, path);
    EXPECT_EQ(value, ByPointer(node, path)) << where << " " << path;
    if (!value.empty()) ++nonEmpty;
  }
}

TEST(JsonTest, CurrentConditionsMembersOfTheRecordedReplies) {
  for (const char* file : {"current-prague-details-2026.json", "current-piatek-pl-details-2020-06.json",
                           "current-piatek-pl-details-2023-03.json", "current-josefov-nodetails-2026.json"}) {
    const std::string reply = Converted(file);
    ASSERT_NE(reply.find('['), std::string::npos) << file;
    const std::string conditions = SplitJSONArray(reply).at(1);
    const auto parsed = nlohmann::json::parse(corpus::Find(Replies(), file)->bytes).at(0);
    std::vector<std::string> paths = kCurrentPaths;
    for (const auto& prefix : kCurrentUnitPaths) {
      for (const char* unit : {"Metric", "Imperial"}) {
        paths.push_back(prefix + unit + "/Value");
        paths.push_back(prefix + unit + "/Unit");
      }
    }
    int nonEmpty = 0;
    ExpectPaths(parsed, conditions, paths, file, nonEmpty);
    EXPECT_GE(nonEmpty, std::string(file).find("nodetails") != std::string::npos ? 8 : 50) << file;
  }
  const std::string prague = SplitJSONArray(Converted("current-prague-details-2026.json")).at(1);
  EXPECT_EQ(GetJSONValue(prague, "Temperature/Metric/Value"), "24.0");
  EXPECT_EQ(GetJSONValue(prague, "WeatherText"), "Sunny");
  EXPECT_EQ(GetJSONValue(prague, "Wind/Direction/Degrees"), "315");
}

TEST(JsonTest, ForecastDaysOfTheRecordedReplies) {
  for (const char* file : {"forecast-5day-details-prague-metric-2026.json",
                           "forecast-5day-details-piatek-metric-2020-06.json",
                           "forecast-5day-details-piatek-metric-2023-03.json",
                           "forecast-5day-details-piatek-imperial-2023-03.json",
                           "forecast-5day-details-piatek-metric-2023-05.json"}) {
    const std::string daysText = GetJSONValue(Converted(file), "DailyForecasts");
    ASSERT_EQ(daysText.front(), '[') << file;
    ASSERT_EQ(daysText.back(), ']') << file;
    const auto days = SplitJSONArray(daysText);
    const auto parsed = nlohmann::json::parse(corpus::Find(Replies(), file)->bytes).at("DailyForecasts");
    ASSERT_EQ(days.size(), parsed.size() + 1) << file;
    for (std::size_t i = 1; i < days.size(); ++i) {
      std::vector<std::string> paths = kDayPaths;
      for (const char* half : {"Day/", "Night/"}) {
        for (const auto& p : kHalfDayPaths) paths.push_back(half + p);
      }
      int nonEmpty = 0;
      ExpectPaths(parsed[i - 1], days[i], paths, std::string(file) + " day " + std::to_string(i), nonEmpty);
      EXPECT_GE(nonEmpty, 40) << file << " day " << i;

      // The UV entry of the pollen list, found the way the forecast columns look for it.
      const auto pollen = SplitJSONArray(GetJSONValue(days[i], "AirAndPollen"));
      std::string uv;
      for (std::size_t k = 1; k < pollen.size() && uv.empty(); ++k) {
        if (GetJSONValue(pollen[k], "Name") == "UVIndex") uv = GetJSONValue(pollen[k], "Value");
      }
      std::string expectedUv;
      for (const auto& entry : parsed[i - 1].at("AirAndPollen")) {
        if (entry.at("Name") == "UVIndex") {
          expectedUv = entry.at("Value").dump();
          break;
        }
      }
      EXPECT_EQ(uv, expectedUv) << file << " day " << i;
      EXPECT_FALSE(uv.empty()) << file << " day " << i;
    }
  }
}

TEST(JsonTest, PlaceMembersOfTheRecordedReplies) {
  const std::string place = Converted("location-piatek-pl.json");
  int nonEmpty = 0;
  ExpectPaths(nlohmann::json::parse(corpus::Find(Replies(), "location-piatek-pl.json")->bytes), place,
              kPlacePaths, "location", nonEmpty);
  // Polish letters lie outside Windows-1252 and keep their UTF-8 bytes.
  EXPECT_EQ(GetJSONValue(place, "LocalizedName"), "Pi\xC4\x85tek");
  EXPECT_EQ(GetJSONValue(place, "Country/ID"), "PL");
  EXPECT_EQ(GetJSONValue(place, "PrimaryPostalCode"), "");

  const auto found = SplitJSONArray(Converted("location-postalcode-search-cz-110-00-2026.json"));
  const auto parsed = nlohmann::json::parse(
      corpus::Find(Replies(), "location-postalcode-search-cz-110-00-2026.json")->bytes);
  ASSERT_EQ(found.size(), parsed.size() + 1);
  for (std::size_t i = 1; i < found.size(); ++i) {
    ExpectPaths(parsed[i - 1], found[i], kPlacePaths, "search " + std::to_string(i), nonEmpty);
  }
  // "Hradec Králové": á and é are Windows-1252 letters.
  EXPECT_NE(found[1].find("Hradec Kr\xE1lov\xE9"), std::string::npos);

  const auto none = SplitJSONArray(Converted("location-search-empty-2026.json"));
  EXPECT_EQ(none, (std::vector<std::string>{"", ""}));
}

}  // namespace
