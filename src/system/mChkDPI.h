#pragma once
#include <cstdint>

#include "platform/Ports.h"

enum class DpiCheck {
    Done,       // go on with the start
    Restarted,  // the program was started anew; end this process at once
};

// On Windows 7 and 8 only: removes the compatibility flags that spoil the widget's scaling from
// the program's own compatibility entry (and restarts when it did), then warns about the
// desktop scaling in the Windows XP style and offers to switch it off and to log off.
DpiCheck ChkDPI(Ports& ports, bool askLogoff, bool silent);

// The desktop's DPI, read once and kept; 0 while it is unknown.
std::int32_t GetDPI(RegistryPort& registry);
// GetDPI as a percentage of 96 DPI, halves to the even neighbour.
std::int32_t DPIPercent(RegistryPort& registry);
// Drops the kept DPI, as a new process would start.
void ForgetDPI();
