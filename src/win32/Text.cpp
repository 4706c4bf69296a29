#include "win32/Text.h"

#include "service/mUTF8toWIN.h"
#include "win32/Utf8Text.h"

// Through UTF-8: a character that Windows-1252 lacks travels through the core as its UTF-8
// sequence (UTF8toWIN keeps it), so it shows and is typed as itself.
std::wstring ToWide(std::string_view cp1252) { return Utf8ToWide(WINtoUTF8(cp1252)); }

std::string FromWide(std::wstring_view utf16) { return UTF8toWIN(WideToUtf8(utf16)); }
