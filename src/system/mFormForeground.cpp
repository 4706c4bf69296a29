#include "system/mFormForeground.h"

#include "platform/SystemPort.h"

bool IsForeground(SystemPort& system, std::uintptr_t window) {
    return window != 0 && system.ForegroundWindow() == window;
}
