#pragma once
#include <windows.h>

// The mouse buttons held, as the core counts them (1 left, 2 right, 4 middle), from the key
// state of a mouse message.
inline int HeldButtons(WPARAM keys) noexcept {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

// The shift state of a key message as the core counts it (1 Shift, 2 Ctrl, 4 Alt).
inline int ShiftState() noexcept {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}
