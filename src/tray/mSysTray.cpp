#include "tray/mSysTray.h"

void SysTray(TrayPort& tray, TrayMessage message, const IconImage& icon, const std::string& tip,
             const std::string& balloonTitle, const std::string& balloonText, std::uint32_t balloonFlags,
             std::uint32_t balloonTimeoutMs) {
    tray.Notify(message, icon, tip.substr(0, kTrayTipChars), balloonTitle.substr(0, kTrayTitleChars),
                balloonText.substr(0, kTrayInfoChars), balloonFlags, balloonTimeoutMs);
}
