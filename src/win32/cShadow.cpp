#include "cShadow.h"

void cShadow(HWND window) noexcept {
    const ULONG_PTR style = GetClassLongPtrW(window, GCL_STYLE);
    SetClassLongPtrW(window, GCL_STYLE, static_cast<LONG_PTR>(style | CS_DROPSHADOW));
}
