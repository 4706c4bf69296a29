#pragma once
#include <string>
#include <string_view>

// The one place where the core's Windows-1252 texts meet the UTF-16 of the W functions.
std::wstring ToWide(std::string_view cp1252);
// Characters outside Windows-1252 become "?".
std::string FromWide(std::wstring_view utf16);
