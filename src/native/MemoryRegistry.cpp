#include "native/MemoryRegistry.h"

#include <algorithm>

#include "system/Numbers.h"

namespace {
constexpr reg::Key kFirstRoot = 0x80000000u;
constexpr reg::Key kLastRoot = 0x80000006u;
bool IsRoot(reg::Key key) { return key >= kFirstRoot && key <= kLastRoot; }
}  // namespace

MemoryRegistry::Node* MemoryRegistry::Resolve(reg::Key key) {
    if (IsRoot(key)) return &roots_[key];
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

long MemoryRegistry::Walk(reg::Key parent, std::string_view subKey, bool create, reg::Key& result) {
    result = 0;
    Node* node = Resolve(parent);
    if (!node) return reg::kInvalidHandle;
    if (subKey.empty()) {
        result = parent;
        return reg::kSuccess;
    }
    // A sub key is relative: a leading "\" is a syntax error, as Windows has it.
    if (subKey.front() == '\\') return reg::kBadPathName;
    std::size_t pos = 0;
    while (pos <= subKey.size()) {
        std::size_t end = subKey.find('\\', pos);
        if (end == std::string_view::npos) end = subKey.size();
        const std::string_view part = subKey.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;  // trailing or doubled separators are ignored
        const std::string name = UpperCase(part);
        auto it = node->keys.find(name);
        if (it == node->keys.end()) {
            if (!create) return reg::kNotFound;
            it = node->keys.emplace(name, Node{}).first;
        }
        node = &it->second;
    }
    result = next_++;
    handles_[result] = node;
    return reg::kSuccess;
}

long MemoryRegistry::OpenKey(reg::Key parent, std::string_view subKey, reg::Key& result) {
    return Walk(parent, subKey, false, result);
}

long MemoryRegistry::CreateKey(reg::Key parent, std::string_view subKey, reg::Key& result) {
    return Walk(parent, subKey, true, result);
}

long MemoryRegistry::QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
    Node* node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (data && !size) return reg::kInvalidParameter;
    const auto it = node->values.find(UpperCase(name));
    if (it == node->values.end()) return reg::kNotFound;
    const Value& v = it->second;
    if (type) *type = v.type;
    const auto length = static_cast<std::uint32_t>(v.data.size());
    if (data) {
        if (*size < length) {
            *size = length;
            return reg::kMoreData;
        }
        std::copy(v.data.begin(), v.data.end(), data);
    }
    if (size) *size = length;
    return reg::kSuccess;
}

long MemoryRegistry::SetValue(reg::Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
    Node* node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (!data && size > 0) return reg::kInvalidParameter;
    Value& v = node->values[UpperCase(name)];
    v.type = type;
    v.data.assign(data, data + size);
    return reg::kSuccess;
}

long MemoryRegistry::DeleteValue(reg::Key key, std::string_view name) {
    Node* node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    return node->values.erase(UpperCase(name)) ? reg::kSuccess : reg::kNotFound;
}

long MemoryRegistry::CloseKey(reg::Key key) {
    if (IsRoot(key)) return reg::kSuccess;
    return handles_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}
