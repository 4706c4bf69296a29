#pragma once
#include <string>
#include <string_view>

// Paths, command lines and registry texts cross the ports as UTF-8 (the display texts as
// Windows-1252, see Text.h).
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view utf16);
