#pragma once

#include <string>
#include <string_view>

namespace ws {

std::string asciiLower(std::string_view text);

enum class Lang { German, English };

// The language of the replies as the request asked for it: German for any code that starts
// with "de" ("de-DE", "DE", "de-at"), English otherwise, as the service does for codes it
// does not translate to.
struct Language {
    Lang lang = Lang::English;
    std::string code = "en-us";   // lower-cased, as it goes into the links

    static Language fromCode(std::string_view requested);
    bool german() const { return lang == Lang::German; }
    // "de" or "en": the language part of the service's web links.
    std::string linkPrefix() const { return german() ? "de" : "en"; }
};

}  // namespace ws
