#pragma once
#include <windows.h>

#include "KeyState.h"

// The mouse buttons held, as the core counts them (1 left, 2 right, 4 middle), from the key
// state of a mouse message.
inline int HeldButtons(WPARAM keys) noexcept {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

