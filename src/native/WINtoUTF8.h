#pragma once
#include <string>
#include <string_view>

// The core's Windows-1252 text as UTF-8, for files and terminals on Linux. Every byte has a
// character (the five unassigned ones become U+0081, U+008D, U+008F, U+0090, U+009D), so
// UTF8toWIN of the result gives the text back unchanged.
std::string WINtoUTF8(std::string_view text);
