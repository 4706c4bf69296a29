#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "unit/reference/ReplyCorpus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kWeather[] = R"({"Temperature":{"Metric":{"Value":21.5,"Unit":"C"}},"Wind":{"Speed":3}})";
const char kSpaced[] = "{\n  \"a\" : -3 ,\r\n\t\"b\": { \"c\" : 1 }\n}";
const char kTricky[] = R"({"a":"x:y,z","b":"Schauer [abends","c":{"d":"}{"},"e":"say \"hi\", go","f":"ends in \\","g":4})";

TEST(JsonTest, QueryRows) {
  struct Row {
    const char* json;
    const char* path;
    const char* expected;
  };
  const Row rows[] = {
      // nesting, path forms, and case folding of Windows-1252 capitals (not of the
      // multiplication and division signs)
      {kWeather, "Temperature/Metric/Value", "21.5"},
      {kWeather, "temperature/METRIC/unit", "C"},
      {kWeather, "/Temperature/Metric/Value", "21.5"},
      {kWeather, "Temperature//Metric/Value", "21.5"},
      {kWeather, "Temperature/Metric/", R"({"Value":21.5,"Unit":"C"})"},
      {"{\"\xC4rger\":1,\"\x8A" "a\":2}", "\xE4RGER", "1"},
      {"{\"\xC4rger\":1,\"\x8A" "a\":2}", "\x9A" "A", "2"},
      {"{\"\xD7\":1}", "\xF7", ""},
      // absent members, names that only begin alike, paths below a leaf or an array; the
      // search below a member stays inside its value
      {kWeather, "Temperature/Imperial/Value", ""},
      {kWeather, "Temp", ""},
      {kWeather, "", ""},
      {kWeather, "Temperature/Metric/Unit/x", ""},
      {R"({"a":[{"b":1}]})", "a/b", ""},
      {R"({"a":"x","b":{"c":1}})", "a/c", ""},
      {R"({"a":{},"b":{"c":2}})", "a/c", ""},
      // the first match wins, the last member is found like any other
      {R"({"a":1,"A":2,"a":3})", "a", "1"},
      {R"({"a":{"b":1},"a":{"b":2}})", "a/b", "1"},
      {R"({"a":null,"b":true,"c":""})", "a", "null"},
      // white space goes at the object's own level and stays inside strings and nested values
      {kSpaced, "a", "-3"},
      {kSpaced, "b", R"({ "c" : 1 })"},
      {kSpaced, "b/c", "1"},
      {R"({"a":" x  y "})", "a", " x  y "},
      // separators, brackets and escaped quotes inside strings are text
      {kTricky, "a", "x:y,z"},
      {kTricky, "b", "Schauer [abends"},
      {kTricky, "c/d", "}{"},
      {kTricky, "e", R"(say \"hi\", go)"},
      {kTricky, "g", "4"},
      {R"({"a":{"b":"q\"}{","c":[1]},"d":2})", "a/c", "[1]"},
      {R"({"a":{"b":"q\"}{","c":[1]},"d":2})", "d", "2"},
      {R"({"u":"W/m\u00b2"})", "u", R"(W/m\u00b2)"},
      // arrays as values
      {R"({"DailyForecasts":[{"Day":1},{"Day":2}],"x":0})", "DailyForecasts", R"([{"Day":1},{"Day":2}])"},
      {R"({"a":[],"b":[[1],[2]]})", "b", "[[1],[2]]"},
      // texts that are not one object: arrays, errors, stray text, replies cut short
      {R"([{"a":1}])", "a", ""},
      {"", "a", ""},
      {"Http-Error 401: Unauthorized", "Http-Error 401", ""},
      {R"(junk {"a":1} tail)", "a", "1"},
      {R"({"a":{"b":1)", "a/b", "1"},
      {R"({"a":1}})", "a", "1"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(GetJSONValue(row.json, row.path), row.expected) << row.json << "  path " << row.path;
  }
}

TEST(JsonTest, SplitRows) {
  struct Row {
    const char* json;
    std::vector<std::string> elements;  // 1..n
  };
  const Row rows[] = {
      {R"([{"a":1},{"b":[2,3]}])", {R"({"a":1})", R"({"b":[2,3]})"}},
      {"[]", {""}},
      {"[1, 2]", {"1", " 2"}},
      {"[[1,2],[3]]", {"[1,2]", "[3]"}},
      {R"(["a,b","x]","[y", "{"])", {"a,b", "x]", "[y", " {"}},
      {R"(["q\"x,y"])", {R"(q\"x,y)"}},
      {"[\n  {\"a\": 1},\n  {\"a\": 2}\n]", {"\n  {\"a\": 1}", "\n  {\"a\": 2}\n"}},
      {R"([{"a":"}"},{"b":"]"}])", {R"({"a":"}"})", R"({"b":"]"})"}},
      // not an array: one element holding the text
      {R"({"a":1,"b":2})", {R"({"a":1,"b":2})"}},
      {"Error!", {"Error!"}},
      {"", {""}},
      {"[1,2", {"1", "2"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> expected{""};
    expected.insert(expected.end(), row.elements.begin(), row.elements.end());
    EXPECT_EQ(SplitJSONArray(row.json), expected) << row.json;
  }
}

// ---- the recorded replies, converted as the program converts them ----

// A leaf as the program sees it, according to an independent JSON parser: strings converted to
// Windows-1252, numbers and literals as written. The queries keep escape sequences as written
// and the parser decodes them, so texts with escapes are not compared.
void ExpectLeaf(const std::string& actual, const nlohmann::json& node, const std::string& where, int& leaves) {
  if (actual.find('\\') != std::string::npos) return;
  EXPECT_EQ(actual, node.is_string() ? UTF8toWIN(node.get<std::string>()) : node.dump()) << where;
  ++leaves;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void CompareArray(const nlohmann::json& array, const std::string& text, const std::string& where, int& leaves);

// Every member below `node` is asked for by its full path from `root`, the text the program
// holds (a reply, or an element split from an array); arrays are split and walked in turn.
void CompareObject(const nlohmann::json& node, const std::string& root, const std::string& path,
                   const std::string& where, int& leaves) {
  for (const auto& [name, child] : node.items()) {
    const std::string childPath = path.empty() ? name : path + "/" + name;
    if (child.is_object()) {
      CompareObject(child, root, childPath, where, leaves);
    } else if (child.is_array()) {
      CompareArray(child, GetJSONValue(root, childPath), where + " " + childPath, leaves);
    } else {
      ExpectLeaf(GetJSONValue(root, childPath), child, where + " " + childPath, leaves);
    }
  }
}

void CompareArray(const nlohmann::json& array, const std::string& text, const std::string& where, int& leaves) {
  const auto elements = SplitJSONArray(text);
  ASSERT_EQ(elements.size(), std::max<std::size_t>(array.size(), 1) + 1) << where;
  for (std::size_t i = 0; i < array.size(); ++i) {
    const std::string at = where + "[" + std::to_string(i + 1) + "]";
    if (array[i].is_object()) {
      CompareObject(array[i], elements[i + 1], "", at, leaves);
    } else if (array[i].is_array()) {
      CompareArray(array[i], elements[i + 1], at, leaves);
    } else {
      ExpectLeaf(Trimmed(elements[i + 1]), array[i], at, leaves);  // white space stays with the next element
    }
  }
}

TEST(JsonTest, EveryValueOfTheRecordedRepliesMatchesAnIndependentParser) {
  const auto replies = corpus::LoadReplies(WG_FIXTURES_DIR);
  ASSERT_GE(replies.size(), 10u);
  for (const auto& reply : replies) {
    const auto parsed = nlohmann::json::parse(reply.bytes);
    int leaves = 0;
    if (parsed.is_array()) {
      CompareArray(parsed, UTF8toWIN(reply.bytes), reply.file, leaves);
    } else {
      CompareObject(parsed, UTF8toWIN(reply.bytes), "", reply.file, leaves);
    }
    EXPECT_GE(leaves, static_cast<int>(reply.bytes.size() / 200)) << reply.file;
  }
}

}  // namespace
