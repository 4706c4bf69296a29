#include "replies/JsonWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ws {

namespace {

void appendEscaped(std::string& out, std::string_view text, bool asciiOnly)
{
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c >= 0x80 && asciiOnly) {
            // Decode one UTF-8 sequence; the texts are our own, so they are well formed.
            std::uint32_t code = 0;
            std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            code = c & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
                code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            i += length - 1;
            char escape[16];
            if (code >= 0x10000) {
                code -= 0x10000;
                std::snprintf(escape, sizeof escape, "\\u%04x\\u%04x",
                              static_cast<unsigned>(0xD800 + (code >> 10)),
                              static_cast<unsigned>(0xDC00 + (code & 0x3FF)));
            } else {
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(code));
            }
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace

std::string formatReal(double value, int decimals)
{
    // Whole-number arithmetic rather than std::to_chars: its tables alone would add about 250 KB
    // to the program, and printf's separator follows the C locale the console front end sets.
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const double scaled = std::round(value * static_cast<double>(scale));
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9e18)
        return "null";   // no number JSON could carry, nor weather could have
    const long long units = static_cast<long long>(scaled);
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units) : units;
    std::string fraction = std::to_string(magnitude % static_cast<unsigned long long>(scale));
    fraction.insert(0, static_cast<std::size_t>(decimals) - std::min<std::size_t>(fraction.size(), decimals), '0');
    while (fraction.size() > 1 && fraction.back() == '0')
        fraction.pop_back();
    if (decimals < 1)
        fraction = "0";
    return (units < 0 ? "-" : "") + std::to_string(magnitude / static_cast<unsigned long long>(scale)) + "." + fraction;
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back())
            out_ += ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject()
{
    beforeValue();
    out_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    out_ += '}';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    beforeValue();
    out_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    out_ += ']';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    beforeValue();
    appendEscaped(out_, name, false);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view utf8)
{
    beforeValue();
    appendEscaped(out_, utf8, false);
    return *this;
}

JsonWriter& JsonWriter::escapedString(std::string_view utf8)
{
    beforeValue();
    appendEscaped(out_, utf8, true);
    return *this;
}

JsonWriter& JsonWriter::integer(long long value)
{
    beforeValue();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::real(double value, int decimals)
{
    beforeValue();
    out_ += formatReal(value, decimals);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value)
{
    beforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    beforeValue();
    out_ += "null";
    return *this;
}

JsonWriter& JsonWriter::member(std::string_view name, const std::optional<std::string>& utf8)
{
    key(name);
    return utf8 ? string(*utf8) : null();
}

}  // namespace ws
