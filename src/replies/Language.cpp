#include "replies/Language.h"

namespace ws {

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

Language Language::fromCode(std::string_view requested)
{
    Language language;
    if (requested.empty())
        return language;
    language.code = asciiLower(requested);
    if (language.code.rfind("de", 0) == 0)
        language.lang = Lang::German;
    return language;
}

}  // namespace ws
