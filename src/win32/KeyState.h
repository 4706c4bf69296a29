#pragma once
#include <windows.h>

// The shift keys held with the key that is being handled, as the handlers take them.
inline constexpr int kShiftShift = 1;
inline constexpr int kShiftCtrl = 2;
inline constexpr int kShiftAlt = 4;

inline int ShiftState() noexcept {
    return (GetKeyState(VK_SHIFT) < 0 ? kShiftShift : 0) | (GetKeyState(VK_CONTROL) < 0 ? kShiftCtrl : 0) |
           (GetKeyState(VK_MENU) < 0 ? kShiftAlt : 0);
}
