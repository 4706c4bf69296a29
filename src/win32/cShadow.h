#pragma once
#include <windows.h>

// Gives the window's class the drop shadow (CS_DROPSHADOW); every window of the class gets it.
void cShadow(HWND window) noexcept;
