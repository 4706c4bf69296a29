#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/Environment.h"
#include "platform/Locale.h"

// The decimal separator (LC_NUMERIC) and the day names (LC_TIME) of the C library's locales,
// converted to Windows-1252. The process's own locale stays "C": the core reads numbers with a
// decimal point through the C library, which a German LC_NUMERIC would turn into a comma.
// A locale that is not installed counts as "C".
class NativeLocale : public Locale {
public:
    NativeLocale(const std::string& numericLocale, const std::string& timeLocale);
    char DecimalSeparator() override { return separator_; }
    std::string DayName(int weekday, bool abbreviated) override;

private:
    char separator_ = '.';
    std::array<std::string, 7> shortNames_, longNames_;
};

// The locale the environment names for a category ("LC_TIME"), the way setlocale(category, "")
// looks it up: LC_ALL, else the category's own variable, else LANG; empty when none is set.
std::string LocaleNameFor(Environment& environment, std::string_view category);

// The language tag of a locale name as Windows writes it: "de_DE.UTF-8" and "de_DE@euro" give
// "de-DE", "de" gives "de"; C, POSIX and an empty name give the empty text.
std::string LanguageTag(std::string_view localeName);
