#include "server/Language.h"

#include "server/QueryText.h"

namespace ws {

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
