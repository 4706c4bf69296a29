#include "win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "win32/Utf8Text.h"
#include "win32/UniqueHandle.h"

namespace {

// The predefined roots are 32-bit values that Windows sign-extends into a 64-bit HKEY.
HKEY ToHkey(reg::Key key) {
    if (key >= 0x80000000u && key <= 0xFFFFFFFFu)
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
    return reinterpret_cast<HKEY>(key);
}

reg::Key FromHkey(HKEY key) {
    const auto bits = reinterpret_cast<ULONG_PTR>(key);
    const auto low = static_cast<std::uint32_t>(bits);
    if (bits == static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(low))) && low >= 0x80000000u)
        return low;
    return bits;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// RegOpenKey and RegCreateKey hand back `parent` itself for an empty sub key; the result is the
// caller's to close either way.
long Open(reg::Key parent, std::string_view subKey, reg::Key& result, bool create) {
    result = 0;
    const std::wstring name = Utf8ToWide(subKey);
    unique_hkey key;
    const LONG r = create ? RegCreateKeyW(ToHkey(parent), name.c_str(), key.put())
                          : RegOpenKeyW(ToHkey(parent), name.c_str(), key.put());
    if (r == ERROR_SUCCESS) result = FromHkey(key.release());
    return r;
}

}  // namespace

long Win32Registry::OpenKey(reg::Key parent, std::string_view subKey, reg::Key& result) {
    return Open(parent, subKey, result, false);
}

long Win32Registry::CreateKey(reg::Key parent, std::string_view subKey, reg::Key& result) {
    return Open(parent, subKey, result, true);
}

long Win32Registry::QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) {
    if (data && !size) return ERROR_INVALID_PARAMETER;
    const HKEY hkey = ToHkey(key);
    const std::wstring wname = Utf8ToWide(name);
    DWORD t = 0, bytes = 0;
    LONG r = RegQueryValueExW(hkey, wname.c_str(), nullptr, &t, nullptr, &bytes);
    if (r != ERROR_SUCCESS) return r;
    if (type) *type = t;
    if (!IsText(t)) {
        if (!data) {
            if (size) *size = bytes;
            return ERROR_SUCCESS;
        }
        DWORD got = *size;
        r = RegQueryValueExW(hkey, wname.c_str(), nullptr, &t, data, &got);
        *size = got;
        if (type) *type = t;
        return r;
    }
    // Text: read it whole in UTF-16 and hand out its UTF-8 form.
    std::vector<BYTE> wide;
    do {
        wide.resize(bytes + sizeof(wchar_t));
        bytes = static_cast<DWORD>(wide.size());
        r = RegQueryValueExW(hkey, wname.c_str(), nullptr, &t, wide.data(), &bytes);
    } while (r == ERROR_MORE_DATA);
    if (r != ERROR_SUCCESS) return r;
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    std::copy_n(wide.data(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    const std::string narrow = WideToUtf8(text);
    const auto length = static_cast<std::uint32_t>(narrow.size());
    if (type) *type = t;
    if (data) {
        if (*size < length) {
            *size = length;
            return ERROR_MORE_DATA;
        }
        std::copy(narrow.begin(), narrow.end(), data);
    }
    if (size) *size = length;
    return ERROR_SUCCESS;
}

long Win32Registry::SetValue(reg::Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) {
    const std::wstring wname = Utf8ToWide(name);
    if (IsText(type)) {
        const std::wstring text = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
        return RegSetValueExW(ToHkey(key), wname.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    }
    return RegSetValueExW(ToHkey(key), wname.c_str(), 0, type, data, size);
}

long Win32Registry::DeleteValue(reg::Key key, std::string_view name) {
    return RegDeleteValueW(ToHkey(key), Utf8ToWide(name).c_str());
}

long Win32Registry::CloseKey(reg::Key key) { return RegCloseKey(ToHkey(key)); }
