#include "system/mWinVersion.h"

#include "platform/SystemPort.h"

bool IsNT(SystemPort& system) { return system.GetOsVersion().platformId == 2; }

bool IsNT5(SystemPort& system) { return IsNT(system) && WinVersion(system) >= 5.0f; }

float WinVersion(SystemPort& system) {
    const OsVersion v = system.GetOsVersion();
    return static_cast<float>(v.major) + static_cast<float>(v.minor) / 10.0f;
}
