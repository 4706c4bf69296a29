#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ws {

// Writes compact JSON the way the service does: no white space, UTF-8 texts written raw,
// integers as 74 and measured values always with a decimal point (74.0, 29.97).
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& string(std::string_view utf8);
    // Non-ASCII characters as \u escapes ("W/m\u00b2"), as some of the service's texts come.
    JsonWriter& escapedString(std::string_view utf8);
    JsonWriter& integer(long long value);
    // Rounded to `decimals` places, trailing zeros dropped but one decimal always kept.
    JsonWriter& real(double value, int decimals = 1);
    JsonWriter& boolean(bool value);
    JsonWriter& null();

    // Shorthands for one member.
    JsonWriter& member(std::string_view name, std::string_view utf8) { return key(name).string(utf8); }
    JsonWriter& member(std::string_view name, const char* utf8) { return key(name).string(utf8); }
    JsonWriter& member(std::string_view name, const std::string& utf8) { return key(name).string(utf8); }
    JsonWriter& member(std::string_view name, int value) { return key(name).integer(value); }
    JsonWriter& member(std::string_view name, long long value) { return key(name).integer(value); }
    JsonWriter& member(std::string_view name, bool value) { return key(name).boolean(value); }
    JsonWriter& member(std::string_view name, double value, int decimals)
    {
        return key(name).real(value, decimals);
    }
    // An optional text: null when absent.
    JsonWriter& member(std::string_view name, const std::optional<std::string>& utf8);

    const std::string& text() const { return out_; }

private:
    void beforeValue();

    std::string out_;
    std::vector<bool> first_;   // per open container: no element written yet
    bool afterKey_ = false;
};

// The text of a real number as JsonWriter writes it ("74.0", "29.97", "-3.5").
std::string formatReal(double value, int decimals);

}  // namespace ws
