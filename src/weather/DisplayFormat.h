#pragma once
#include <string>
#include <string_view>

class Locale;

// How the widget shows numbers and dates. Numbers come from the replies through Val (decimal
// point, leading numeric part); they are shown with the user's decimal separator.

// The patterns "#0" (whole number), "#0.0" and "0.0" (one decimal). The number is taken with 15
// significant digits and rounded half away from zero, so 0.15 shows as 0,2 and 2.5 as 3. A value
// that rounds to zero shows without a sign.
std::string FormatNumber(double value, std::string_view pattern, char separator);

// The plain text of a number: up to 15 significant digits, no trailing zeros and no trailing
// separator (5.6 -> "5,6", 10.0 -> "10"); from 1E+15 on in exponent form.
std::string PlainNumber(double value, char separator);

// A number as FormatNumber or PlainNumber showed it, read back with the separator it was shown
// with ("0,5" with ',' is 0.5).
double ShownNumber(std::string_view shown, char separator);

// Halves to the even neighbour (72.5 -> 72, 73.5 -> 74).
double RoundHalfEven(double value);

// OLE date as "DDD DD.MM.", "DDDD, DD.MM.YYYY", "DD.MM.  HH:NN", "HH:NN" and the like: DDDD and
// DDD are the day's full and abbreviated name in the user's language, DD MM YYYY HH NN the
// numbers with leading zeros; every other character stands for itself.
std::string FormatDate(double date, std::string_view pattern, Locale& locale);
