#include "weather/DisplayFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Locale.h"
#include "system/Numbers.h"
#include "system/OleDate.h"

namespace {

// A finite number as sign, 15 significant digits and the power of ten of the first digit.
struct Decimal {
    bool negative = false;
    std::string digits = std::string(15, '0');
    int exponent = 0;
    bool zero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

Decimal ToDecimal(double value) {
    Decimal d;
    if (!std::isfinite(value) || value == 0.0) return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));  // "d.dddddddddddddde+XX"
    d.negative = value < 0;
    d.digits.assign(1, buf[0]).append(buf + 2, 14);
    d.exponent = std::atoi(buf + 17);
    return d;
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string TwoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern, char separator) {
    const int decimals = pattern.find('.') == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - pattern.find('.') - 1);
    const Decimal d = ToDecimal(value);
    // The digits up to the last place shown, as a whole number of units of that place.
    const int keep = d.exponent + 1 + decimals;
    std::string units;
    if (keep > 0) units = keep <= 15 ? d.digits.substr(0, static_cast<std::size_t>(keep)) : d.digits + std::string(static_cast<std::size_t>(keep - 15), '0');
    const char next = keep >= 0 && keep < 15 ? d.digits[static_cast<std::size_t>(keep)] : '0';
    if (next >= '5') Increment(units);
    if (units.size() <= static_cast<std::size_t>(decimals)) units.insert(0, static_cast<std::size_t>(decimals) + 1 - units.size(), '0');

    std::string out;
    if (d.negative && units.find_first_not_of('0') != std::string::npos) out += '-';
    out.append(units, 0, units.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) out.append(1, separator).append(units, units.size() - static_cast<std::size_t>(decimals));
    return out;
}

double ShownNumber(std::string_view shown, char separator) {
    std::string text(shown);
    if (const auto at = text.find(separator); separator != '.' && at != std::string::npos) text[at] = '.';
    return Val(text);
}

std::string PlainNumber(double value, char separator) {
    const Decimal d = ToDecimal(value);
    if (d.zero()) return "0";
    const std::string digits = d.digits.substr(0, d.digits.find_last_not_of('0') + 1);
    std::string out = d.negative ? "-" : "";
    if (d.exponent >= 15 || d.exponent < -15) {
        out += digits[0];
        if (digits.size() > 1) out.append(1, separator).append(digits, 1);
        char exp[8];
        std::snprintf(exp, sizeof exp, "E%+03d", d.exponent);
        return out + exp;
    }
    if (d.exponent < 0) return out.append("0").append(1, separator).append(static_cast<std::size_t>(-d.exponent - 1), '0') + digits;
    const auto whole = static_cast<std::size_t>(d.exponent) + 1;
    if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
    return out.append(digits, 0, whole).append(1, separator).append(digits, whole);
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

std::string FormatDate(double date, std::string_view pattern, Locale& locale) {
    const CivilTime t = CivilFromOleDate(date);
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("DDDD")) { out += locale.DayName(t.weekday, false); i += 4; }
        else if (rest.starts_with("DDD")) { out += locale.DayName(t.weekday, true); i += 3; }
        else if (rest.starts_with("DD")) { out += TwoDigits(t.day); i += 2; }
        else if (rest.starts_with("MM")) { out += TwoDigits(t.month); i += 2; }
        else if (rest.starts_with("YYYY")) { out += std::to_string(t.year); i += 4; }
        else if (rest.starts_with("HH")) { out += TwoDigits(t.hour); i += 2; }
        else if (rest.starts_with("NN")) { out += TwoDigits(t.minute); i += 2; }
        else out += pattern[i++];
    }
    return out;
}
