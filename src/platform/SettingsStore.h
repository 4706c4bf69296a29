#pragma once
#include <string>
#include <string_view>

// Per-user persistent text values, addressed by application name, section and key.
// Reading never creates a key; a missing key yields the caller's default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string Read(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view def) = 0;
    virtual void Write(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
    virtual void Delete(std::string_view app, std::string_view section, std::string_view key) = 0;
};
