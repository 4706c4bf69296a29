#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "replies/Language.h"   // asciiLower

namespace ws {

// Query options of a request target. Names compare without regard to case (the widget
// sends "ApiKey", other clients "apikey"); the first occurrence of a name wins.
class QueryParams {
public:
    static QueryParams parse(std::string_view rawQuery);
    std::optional<std::string> get(std::string_view name) const;

private:
    std::map<std::string, std::string> values_;   // lower-cased name -> decoded value
};

// "%C3%BC" and "+" decoded; a broken escape stays as written.
std::string percentDecode(std::string_view text);
bool isValidUtf8(std::string_view text);
std::string cp1252ToUtf8(std::string_view text);
// A query value as UTF-8: already UTF-8, or else read as Windows-1252 (what a client sends
// when it passes typed text through without encoding).
std::string queryTextToUtf8(std::string_view decoded);
// Lower case for ASCII and the Latin-1 letters (so "MÜNCHEN" matches "münchen").
std::string foldCase(std::string_view utf8);

// A whole decimal number of at most nine digits within [low, high]; nothing otherwise.
std::optional<int> wholeNumber(const std::string& text, int low, int high);

}  // namespace ws
