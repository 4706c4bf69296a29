#include "win32/Win32Environment.h"

#include <windows.h>

#include "win32/Text.h"

std::string Win32Environment::Variable(std::string_view name) {
    const std::wstring wname = ToWide(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD n = GetEnvironmentVariableW(wname.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) return {};
        if (n < value.size()) {
            value.resize(n);
            return FromWide(value);
        }
        value.resize(n);  // n counts the terminating zero when the buffer was too small
    }
}
