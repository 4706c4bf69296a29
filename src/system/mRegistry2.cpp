#include "system/mRegistry2.h"

#include <cstdio>

#include "system/Numbers.h"

namespace {

struct RootName {
    const char* shortName;  // nullptr: the root has no short name
    const char* longName;
    std::uint32_t handle;
};

constexpr RootName kRoots[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", 0x80000000u},
    {"HKCU", "HKEY_CURRENT_USER", 0x80000001u},
    {"HKLM", "HKEY_LOCAL_MACHINE", 0x80000002u},
    {nullptr, "HKEY_USERS", 0x80000003u},
    {"HKPD", "HKEY_PERFORMANCE_DATA", 0x80000004u},
    {nullptr, "HKEY_CURRENT_CONFIG", 0x80000005u},
    {"HKDD", "HKEY_DYN_DATA", 0x80000006u},
};

std::uint32_t RootHandle(std::string_view rootPart) {
    const std::string name = Trim(UpperCase(rootPart));
    for (const RootName& r : kRoots)
        if ((r.shortName && name == r.shortName) || name == r.longName) return r.handle;
    return 0;
}

// Closes the key when it goes out of scope; predefined roots need no closing but accept it.
class OpenedKey {
public:
    OpenedKey(RegistryPort& registry, reg::Key key) : registry_(registry), key_(key) {}
    ~OpenedKey() { registry_.CloseKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    reg::Key get() const { return key_; }

private:
    RegistryPort& registry_;
    reg::Key key_;
};

std::string ReadText(RegistryPort& registry, reg::Key key, std::string_view name, bool& ok) {
    ok = false;
    std::uint32_t type = 0, size = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &size) != reg::kSuccess || type != reg::kSz) return {};
    std::string text(size, ' ');
    if (size > 0) {
        std::uint32_t got = size;
        // The value may have changed between the two queries; a failed second query reads as missing.
        if (registry.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(text.data()), &got) !=
                reg::kSuccess ||
            type != reg::kSz)
            return {};
        text.resize(got < size ? got : size);
    }
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    ok = true;
    return text;
}

}  // namespace

RegPath SplitRegPath(std::string_view path) {
    const std::string whole = Trim(path);
    RegPath result;
    const std::size_t first = whole.find('\\');
    if (first == std::string::npos) {
        result.root = RootHandle(whole);
        return result;
    }
    result.root = RootHandle(std::string_view(whole).substr(0, first));
    const std::string_view rest = std::string_view(whole).substr(first + 1);
    std::size_t cut = rest.rfind("\\\\");
    std::size_t sepLength = 2;
    if (cut == std::string_view::npos) {
        cut = rest.rfind('\\');
        sepLength = 1;
    }
    if (cut == std::string_view::npos) {
        result.key = std::string(rest);
    } else {
        result.key = std::string(rest.substr(0, cut));
        result.valueName = std::string(rest.substr(cut + sepLength));
    }
    return result;
}

std::uint32_t GetRootKey(std::string_view path) { return SplitRegPath(path).root; }

long GetValueType(RegistryPort& registry, std::uint32_t root, std::string_view key, std::string_view valueName) {
    reg::Key handle = 0;
    if (registry.OpenKey(root, key, handle) != reg::kSuccess) return 0;
    std::uint32_t type = 0;
    if (registry.QueryValue(handle, valueName, &type, nullptr, nullptr) != reg::kSuccess) type = 0;
    if (registry.CloseKey(handle) != reg::kSuccess) return -1;
    return static_cast<long>(type);
}

RegValue Registry(RegistryPort& registry, std::string_view path) {
    if (Trim(path).empty()) return {};
    const RegPath p = SplitRegPath(path);
    reg::Key handle = 0;
    if (registry.OpenKey(p.root, p.key, handle) != reg::kSuccess) return {};
    OpenedKey key(registry, handle);

    std::uint32_t type = 0, size = 0;
    switch (GetValueType(registry, p.root, p.key, p.valueName)) {
    case reg::kNone:
    case reg::kSz: {
        bool ok = false;
        std::string text = ReadText(registry, key.get(), p.valueName, ok);
        if (!ok) return {};
        return text;
    }
    case reg::kBinary: {
        if (registry.QueryValue(key.get(), p.valueName, &type, nullptr, &size) != reg::kSuccess ||
            type != reg::kBinary || size == 0)  // an empty array cannot be made: the value reads as missing
            return {};
        std::vector<std::uint8_t> bytes(size);
        std::uint32_t got = size;
        if (registry.QueryValue(key.get(), p.valueName, &type, bytes.data(), &got) != reg::kSuccess ||
            type != reg::kBinary || got == 0)
            return {};
        bytes.resize(got < size ? got : size);
        return bytes;
    }
    case reg::kDword: {
        std::uint8_t data[4] = {};
        size = sizeof data;
        if (registry.QueryValue(key.get(), p.valueName, &type, data, &size) != reg::kSuccess ||
            type != reg::kDword)
            return {};
        // Little-endian, as the registry stores it; shorter data reads zero-extended.
        const std::uint32_t v = data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
        return static_cast<std::int32_t>(v);
    }
    default:
        return {};
    }
}

void Registry(RegistryPort& registry, std::string_view path, const RegValue& value) {
    if (Trim(path).empty()) return;
    const RegPath p = SplitRegPath(path);
    // An empty byte array has no last index to store up to: nothing is written.
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value); bytes && bytes->empty()) return;

    reg::Key handle = 0;
    if (registry.CreateKey(p.root, p.key, handle) != reg::kSuccess) return;
    OpenedKey key(registry, handle);

    std::int32_t number = 0;
    bool isNumber = true;
    if (const auto* i32 = std::get_if<std::int32_t>(&value)) number = *i32;
    else if (const auto* i16 = std::get_if<std::int16_t>(&value)) number = *i16;
    else if (const auto* u8 = std::get_if<std::uint8_t>(&value)) number = *u8;
    else isNumber = false;

    if (isNumber) {
        const auto bits = static_cast<std::uint32_t>(number);
        const std::uint8_t data[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                      static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
        registry.SetValue(key.get(), p.valueName, reg::kDword, data, sizeof data);
    } else if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) {
        registry.SetValue(key.get(), p.valueName, reg::kBinary, bytes->data(),
                          static_cast<std::uint32_t>(bytes->size()));
    } else {
        const std::string text = RegText(value);
        registry.SetValue(key.get(), p.valueName, reg::kSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                          static_cast<std::uint32_t>(text.size() + 1));
    }
}

bool DeleteValue(RegistryPort& registry, std::string_view path) {
    if (Trim(path).empty()) return false;
    const RegPath p = SplitRegPath(path);
    reg::Key handle = 0;
    if (registry.OpenKey(p.root, p.key, handle) != reg::kSuccess) return false;
    OpenedKey key(registry, handle);
    return registry.DeleteValue(key.get(), p.valueName) == reg::kSuccess;
}

std::string RegText(const RegValue& value) {
    struct TextForm {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(std::int16_t v) const { return std::to_string(v); }
        std::string operator()(std::uint8_t v) const { return std::to_string(v); }
        std::string operator()(const std::vector<std::uint8_t>&) const { return {}; }
        std::string operator()(double v) const {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.15g", v);
            return buf;
        }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
    };
    return std::visit(TextForm{}, value);
}
