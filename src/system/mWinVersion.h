#pragma once

class SystemPort;

bool IsNT(SystemPort& system);
bool IsNT5(SystemPort& system);
// major + minor / 10 in single precision: 6.1f for Windows 7, 10.0f for Windows 10 and 11.
float WinVersion(SystemPort& system);
