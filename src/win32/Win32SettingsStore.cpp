#include "Win32Ports.h"
#include "Text.h"

namespace {
std::wstring KeyPath(std::string_view app, std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + ToWide(app) + L"\\" + ToWide(section);
}
}  // namespace

std::string Win32SettingsStore::Read(std::string_view app, std::string_view section, std::string_view key,
                                     std::string_view def) {
    unique_hkey hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, hkey.put()) !=
        ERROR_SUCCESS)
        return std::string(def);
    const std::wstring name = ToWide(key);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string(def);
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::string(def);
    value.resize(wcsnlen(value.c_str(), size / sizeof(wchar_t)));
    return FromWide(value);
}

void Win32SettingsStore::Write(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
    unique_hkey hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        hkey.put(), nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring data = ToWide(value);
    RegSetValueExW(hkey.get(), ToWide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void Win32SettingsStore::Delete(std::string_view app, std::string_view section, std::string_view key) {
    unique_hkey hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_SET_VALUE, hkey.put()) ==
        ERROR_SUCCESS)
        RegDeleteValueW(hkey.get(), ToWide(key).c_str());
}
