#include "tray/mSysTray.h"

#include "service/mUTF8toWIN.h"

namespace {

std::string Cut(const std::string& text, std::size_t limit) { return text.substr(0, WinTextCut(text, limit)); }

// The balloon's lines are "name: value": whole trailing lines that do not fit go, so no value
// loses its unit.
std::string CutAtLine(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    const std::size_t end = text.rfind('\n', limit);
    if (end == std::string::npos) return Cut(text, limit);  // one long line
    const std::size_t lineEnd = end > 0 && text[end - 1] == '\r' ? end - 1 : end;
    return text.substr(0, lineEnd);
}

}  // namespace

bool SysTray(TrayPort& tray, TrayMessage message, const IconImage& icon, const std::string& tip,
             const std::string& balloonTitle, const std::string& balloonText, std::uint32_t balloonFlags,
             std::uint32_t balloonTimeoutMs) {
    return tray.Notify(message, icon, Cut(tip, kTrayTipChars), Cut(balloonTitle, kTrayTitleChars),
                CutAtLine(balloonText, kTrayInfoChars), balloonFlags, balloonTimeoutMs);
}
