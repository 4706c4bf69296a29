#pragma once
#include <cstdint>
#include <string>

#include "platform/TrayPort.h"

// Field lengths of the notification record, without their terminating zero.
inline constexpr std::size_t kTrayTipChars = 127;
inline constexpr std::size_t kTrayInfoChars = 255;
inline constexpr std::size_t kTrayTitleChars = 63;
inline constexpr std::uint32_t kBalloonInfoIcon = 1;  // NIIF_INFO

// One call on the notification-area icon, its texts cut to their fields; whether the shell took it.
bool SysTray(TrayPort& tray, TrayMessage message, const IconImage& icon, const std::string& tip,
             const std::string& balloonTitle, const std::string& balloonText, std::uint32_t balloonFlags,
             std::uint32_t balloonTimeoutMs);
