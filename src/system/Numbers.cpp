#include "system/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest numeric prefix starting at `pos` (sign, digits, point, exponent).
std::size_t NumericPrefix(std::string_view s, std::size_t pos) {
    std::size_t i = pos;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i - pos;
}

double Parse(std::string_view s) {
    const std::string copy(s);
    return std::strtod(copy.c_str(), nullptr);  // "C" locale: the point is the separator
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double Val(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t n = NumericPrefix(text, pos);
    if (n == 0) return 0.0;
    const double v = Parse(text.substr(pos, n));
    return std::isfinite(v) ? v : 0.0;
}

std::optional<double> StrictNumber(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    const std::size_t n = NumericPrefix(t, 0);
    if (n != t.size()) return std::nullopt;
    const double v = Parse(t);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::string NumberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", value);
        return buf;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.7g", value);
    return buf;
}

std::string Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return std::string(text.substr(b, e - b));
}

std::string LowerCase(std::string_view text) {
    std::string r(text);
    for (char& ch : r) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ch = static_cast<char>(c + 32);
        else if (c == 0x8A || c == 0x8C || c == 0x8E) ch = static_cast<char>(c + 16);  // Š Œ Ž
        else if (c == 0x9F) ch = static_cast<char>(0xFF);                              // Ÿ
    }
    return r;
}

std::string UpperCase(std::string_view text) {
    std::string r(text);
    for (char& ch : r) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) ch = static_cast<char>(c - 32);
        else if (c == 0x9A || c == 0x9C || c == 0x9E) ch = static_cast<char>(c - 16);
        else if (c == 0xFF) ch = static_cast<char>(0x9F);
    }
    return r;
}
