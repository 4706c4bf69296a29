#include "weather/ReplyText.h"

#include <algorithm>

#include "service/mUTF8toWIN.h"

namespace {
constexpr std::size_t kStatusStart = 11;  // after "Http-Error "
}  // namespace

std::string ShownText(std::string_view text) { return std::string(text.substr(0, WinTextCut(text, kShownTextLimit))); }

std::string LocationErrorLine(std::string_view reply) {
    const std::string shown = ShownText(reply.substr(std::min(kStatusStart, reply.size())));
    std::string line = "FEHLER:  ";
    line.reserve(line.size() + 2 * shown.size());
    for (const char c : shown) {
        if (c == ':') line += " -";
        else line += c;
    }
    return line;
}
