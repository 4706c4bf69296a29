#pragma once
#include "platform/RegistryPort.h"

// The Windows registry through the W functions; names and string data are converted between
// UTF-8 and UTF-16 here.
class Win32Registry : public RegistryPort {
public:
    long OpenKey(reg::Key parent, std::string_view subKey, reg::Key& result) override;
    long CreateKey(reg::Key parent, std::string_view subKey, reg::Key& result) override;
    long QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(reg::Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(reg::Key key, std::string_view name) override;
    long CloseKey(reg::Key key) override;
};
