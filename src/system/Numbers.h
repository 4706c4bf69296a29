#pragma once
#include <optional>
#include <string>
#include <string_view>

// Lenient text-to-number conversion: the leading numeric part (blanks skipped, optional sign,
// digits with a decimal point, optional exponent); 0 when there is none.
double Val(std::string_view text);

// The whole text (blanks around it allowed) as a number, or nothing when any of it is not numeric.
std::optional<double> StrictNumber(std::string_view text);

// Decimal text of a number the way the stored settings expect it: whole numbers without a decimal
// point, others with a point and at most 7 significant digits.
std::string NumberText(double value);

std::string Trim(std::string_view text);
std::string LowerCase(std::string_view text);  // ASCII and Windows-1252 letters
std::string UpperCase(std::string_view text);
