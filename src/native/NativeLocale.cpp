#include "native/NativeLocale.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "service/mUTF8toWIN.h"

namespace {

// Owns a locale object; the "C" locale when the name is not installed.
class LocaleObject {
public:
    LocaleObject(int mask, const std::string& name) : loc_(newlocale(mask, name.c_str(), locale_t{})) {
        if (!loc_) loc_ = newlocale(mask, "C", locale_t{});
    }
    ~LocaleObject() {
        if (loc_) freelocale(loc_);
    }
    LocaleObject(const LocaleObject&) = delete;
    LocaleObject& operator=(const LocaleObject&) = delete;

    // An item as Windows-1252 text; the locale's character set comes with LC_CTYPE.
    std::string Text(nl_item item) const {
        if (!loc_) return {};
        const char* text = nl_langinfo_l(item, loc_);
        const char* charset = nl_langinfo_l(CODESET, loc_);
        if (!text) return {};
        if (!charset || std::strcmp(charset, "UTF-8") == 0 || std::strcmp(charset, "ANSI_X3.4-1968") == 0)
            return UTF8toWIN(text);
        return UTF8toWIN(ToUtf8(text, charset));
    }

private:
    static std::string ToUtf8(const char* text, const char* charset) {
        const iconv_t cd = iconv_open("UTF-8", charset);
        if (cd == reinterpret_cast<iconv_t>(-1)) return {};
        std::string in(text), out(in.size() * 4 + 4, '\0');
        char* src = in.data();
        char* dst = out.data();
        std::size_t srcLeft = in.size(), dstLeft = out.size();
        const std::size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        iconv_close(cd);
        if (result == static_cast<std::size_t>(-1)) return {};
        out.resize(out.size() - dstLeft);
        return out;
    }

    locale_t loc_;
};

}  // namespace

NativeLocale::NativeLocale(const std::string& numericLocale, const std::string& timeLocale) {
    const LocaleObject numeric(LC_NUMERIC_MASK | LC_CTYPE_MASK, numericLocale);
    const std::string radix = numeric.Text(RADIXCHAR);
    if (radix.size() == 1) separator_ = radix[0];

    const LocaleObject time(LC_TIME_MASK | LC_CTYPE_MASK, timeLocale);
    for (int day = 0; day < 7; ++day) {
        shortNames_[static_cast<std::size_t>(day)] = time.Text(static_cast<nl_item>(ABDAY_1 + day));
        longNames_[static_cast<std::size_t>(day)] = time.Text(static_cast<nl_item>(DAY_1 + day));
    }
}

std::string NativeLocale::DayName(int weekday, bool abbreviated) {
    if (weekday < 0 || weekday > 6) return {};
    return (abbreviated ? shortNames_ : longNames_)[static_cast<std::size_t>(weekday)];
}

std::string LocaleNameFor(Environment& environment, std::string_view category) {
    for (const std::string_view name : {std::string_view("LC_ALL"), category, std::string_view("LANG")}) {
        std::string value = environment.Variable(name);
        if (!value.empty()) return value;
    }
    return {};
}

std::string LanguageTag(std::string_view localeName) {
    const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    if (base.empty() || base == "C" || base == "POSIX") return {};
    std::string tag(base);
    for (char& c : tag)
        if (c == '_') c = '-';
    return tag;
}
