#pragma once
#include <string>
#include <string_view>

// The one place where the core's Windows-1252 texts meet the UTF-16 of the W functions. A
// character that Windows-1252 lacks is carried in the core as its UTF-8 sequence (WINtoUTF8).
std::wstring ToWide(std::string_view cp1252);
std::string FromWide(std::wstring_view utf16);
