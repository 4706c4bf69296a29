#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/RegistryPort.h"

// A registry held in memory: the seven predefined roots, keys and values with the same open,
// create, query, set, delete and close rules as the Windows registry (names compared without
// regard to case). Stands in for the registry where there is none, and in tests.
class MemoryRegistry : public RegistryPort {
public:
    long OpenKey(reg::Key parent, std::string_view subKey, reg::Key& result) override;
    long CreateKey(reg::Key parent, std::string_view subKey, reg::Key& result) override;
    long QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(reg::Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long DeleteValue(reg::Key key, std::string_view name) override;
    long CloseKey(reg::Key key) override;

    // Keys opened and not yet closed (predefined roots do not count).
    std::size_t OpenHandles() const { return handles_.size(); }

private:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    struct Node {
        std::map<std::string, Node> keys;     // by upper-case name
        std::map<std::string, Value> values;  // by upper-case name; "" is the default value
    };

    Node* Resolve(reg::Key key);
    long Walk(reg::Key parent, std::string_view subKey, bool create, reg::Key& result);

    std::map<reg::Key, Node> roots_;
    std::map<reg::Key, Node*> handles_;  // keys are never deleted, so the pointers stay valid
    reg::Key next_ = 0x1000;
};
