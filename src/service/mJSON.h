#pragma once

#include <string>
#include <string_view>
#include <vector>

// Slash-path queries on the weather service's JSON replies (Windows-1252 text).
// No document tree: every call scans its text from the start, so a reply can be
// queried as it came in and the results fed back in unchanged.

// Text of the member at a slash-separated path of member names ("Temperature/Metric/Value"),
// names compared without regard to case, the first matching member winning. A string comes
// without its quotes, a number or literal as written, an object or array as its source text.
// An absent member, and a path that goes on below a value that is not an object, yield the
// empty text. Escape sequences are kept as written; text after the object is ignored.
std::string GetJSONValue(std::string_view json, std::string_view path);

// Element texts of a JSON array at positions 1..n (position 0 is empty); n is one more than
// the number of separating commas at the array's own level, so "[]" gives one empty element.
// Objects and nested arrays come as their source text, strings without their quotes.
std::vector<std::string> SplitJSONArray(std::string_view json);
