#pragma once
#include <cstdint>
#include <string_view>

// The six registry operations of advapi32, one to one. Names and REG_SZ data are UTF-8, like
// paths (the autostart value and the compatibility entry hold the program's path); the result
// of every call is a Windows error code (0 = success).
// Key handles are opaque numbers; the predefined roots have their Windows values
// (0x80000001 = HKEY_CURRENT_USER, ...); 0 is no key.
namespace reg {
using Key = std::uintptr_t;
inline constexpr long kSuccess = 0;          // ERROR_SUCCESS
inline constexpr long kNotFound = 2;         // ERROR_FILE_NOT_FOUND
inline constexpr long kInvalidHandle = 6;    // ERROR_INVALID_HANDLE
inline constexpr long kInvalidParameter = 87;
inline constexpr long kBadPathName = 161;    // ERROR_BAD_PATHNAME
inline constexpr long kMoreData = 234;       // ERROR_MORE_DATA
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;
inline constexpr std::uint32_t kQword = 11;
}  // namespace reg

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // RegOpenKey: an empty sub key yields `parent` itself.
    virtual long OpenKey(reg::Key parent, std::string_view subKey, reg::Key& result) = 0;
    // RegCreateKey: opens the key, creating every missing key along the way.
    virtual long CreateKey(reg::Key parent, std::string_view subKey, reg::Key& result) = 0;
    // RegQueryValueEx: with `data` null only type and size are reported; with a buffer too small
    // the size needed is reported together with kMoreData. REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ
    // data are UTF-8 bytes with their terminating zeros, sizes counted in those bytes.
    virtual long QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* size) = 0;
    virtual long SetValue(reg::Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                          std::uint32_t size) = 0;
    virtual long DeleteValue(reg::Key key, std::string_view name) = 0;
    virtual long CloseKey(reg::Key key) = 0;
};
