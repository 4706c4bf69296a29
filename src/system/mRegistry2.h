#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/RegistryPort.h"

// Single registry values named by one path string: root, key and value name separated by "\"
// ("HKCU\Control Panel\International\LocaleName"). When the rest after the root holds "\\",
// its last "\\" separates key and value name, so that a value named by a file path can be
// addressed ("...\Layers\\C:\Dir\File.exe"). An empty value name is the key's default value.

// A value as read from or written to the registry. Reads produce only std::monostate (missing,
// unsupported type, any failure), std::string (REG_SZ), std::int32_t (REG_DWORD) and the byte
// array (REG_BINARY). Writes map 16-bit integers and bytes to REG_DWORD too, and every other kind
// to REG_SZ holding its text form.
using RegValue = std::variant<std::monostate, std::string, std::int32_t, std::int16_t, std::uint8_t,
                              std::vector<std::uint8_t>, double, bool>;

struct RegPath {
    std::uint32_t root = 0;  // predefined root handle value, 0 when the root part is unknown
    std::string key;
    std::string valueName;
};

RegPath SplitRegPath(std::string_view path);
std::uint32_t GetRootKey(std::string_view path);

// The value's registry type; 0 when the key or the value does not exist, -1 when closing the
// key fails.
long GetValueType(RegistryPort& registry, std::uint32_t root, std::string_view key, std::string_view valueName);

// Reads the value; never fails towards the caller.
RegValue Registry(RegistryPort& registry, std::string_view path);
// Creates the key if needed and stores the value; failures store nothing and are not reported.
void Registry(RegistryPort& registry, std::string_view path, const RegValue& value);
// True exactly when the value existed and was deleted.
bool DeleteValue(RegistryPort& registry, std::string_view path);

// The text of a value as callers that want text see it: empty for anything but text.
std::string RegText(const RegValue& value);
