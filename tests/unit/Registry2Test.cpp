// Registry paths, value kinds and the six operations, on the in-memory registry.
#include <gtest/gtest.h>

#include "native/MemoryRegistry.h"
#include "system/mRegistry2.h"

namespace {

constexpr std::uint32_t HKCR = 0x80000000u, HKCU = 0x80000001u, HKLM = 0x80000002u, HKU = 0x80000003u,
                        HKPD = 0x80000004u, HKCC = 0x80000005u, HKDD = 0x80000006u;

// Stores a value of any type directly, the way other programs may have left it.
void Put(MemoryRegistry& r, std::uint32_t root, const std::string& key, const std::string& name,
         std::uint32_t type, const std::string& bytes) {
    reg::Key k = 0;
    ASSERT_EQ(r.CreateKey(root, key, k), reg::kSuccess);
    r.SetValue(k, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
               static_cast<std::uint32_t>(bytes.size()));
    r.CloseKey(k);
}

// The raw type and bytes of a stored value, or type 0.
std::pair<std::uint32_t, std::string> Raw(MemoryRegistry& r, std::uint32_t root, const std::string& key,
                                          const std::string& name) {
    reg::Key k = 0;
    if (r.OpenKey(root, key, k) != reg::kSuccess) return {0, ""};
    std::uint32_t type = 0, size = 0;
    std::string data;
    if (r.QueryValue(k, name, &type, nullptr, &size) == reg::kSuccess) {
        data.resize(size);
        r.QueryValue(k, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size);
    }
    r.CloseKey(k);
    return {type, data};
}

}  // namespace

TEST(SplitRegPath, RootKeyAndValueName) {
    struct Row { const char* path; std::uint32_t root; const char* key; const char* name; };
    const Row rows[] = {
        {"HKCU\\Software\\A\\B", HKCU, "Software\\A", "B"},
        {"HKCU\\Software\\A\\B\\", HKCU, "Software\\A\\B", ""},              // trailing "\": default value
        {"HKCU\\Software\\A\\\\C:\\Dir\\File.exe", HKCU, "Software\\A", "C:\\Dir\\File.exe"},
        {"HKCU\\Software\\A\\\\", HKCU, "Software\\A", ""},
        {"HKCU\\A\\\\B\\\\C", HKCU, "A\\\\B", "C"},                            // the last "\\" separates
        {"HKCU\\A\\\\\\B", HKCU, "A\\", "B"},
        {"  hkcu \\Control Panel\\International\\LocaleName ", HKCU, "Control Panel\\International",
         "LocaleName"},
        {"HKCU\\Software", HKCU, "Software", ""},                              // no second "\": all key
        {"HKCU", HKCU, "", ""},
        {"hkey_current_user\\X\\Y", HKCU, "X", "Y"},
        {"HKEY_USERS\\.DEFAULT\\Control Panel\\International\\LocaleName", HKU,
         ".DEFAULT\\Control Panel\\International", "LocaleName"},
        {"HKU\\.DEFAULT\\X\\Y", 0, ".DEFAULT\\X", "Y"},                       // HKEY_USERS has no short name
        {"HKEY_CURRENT_CONFIG\\X\\Y", HKCC, "X", "Y"},
        {"HKCR\\.txt\\", HKCR, ".txt", ""},
        {"HKEY_LOCAL_MACHINE\\S\\V", HKLM, "S", "V"},
        {"HKPD\\X", HKPD, "X", ""},
        {"HKDD\\X", HKDD, "X", ""},
        {"HKCUX\\A\\B", 0, "A", "B"},
        {"\\A\\B", 0, "A", "B"},
        {"", 0, "", ""},
        {"HKCU/Software/A", 0, "", ""},                                        // "/" separates nothing
    };
    for (const Row& r : rows) {
        const RegPath p = SplitRegPath(r.path);
        EXPECT_EQ(p.root, r.root) << r.path;
        EXPECT_EQ(p.key, r.key) << r.path;
        EXPECT_EQ(p.valueName, r.name) << r.path;
        EXPECT_EQ(GetRootKey(r.path), r.root) << r.path;
    }
}

TEST(Registry, WritesChooseTheTypeFromTheValueKind) {
    struct Row { RegValue value; std::uint32_t type; std::string bytes; RegValue readBack; };
    const Row rows[] = {
        {std::int32_t{-2}, reg::kDword, std::string("\xFE\xFF\xFF\xFF", 4), std::int32_t{-2}},
        {std::int16_t{-5}, reg::kDword, std::string("\xFB\xFF\xFF\xFF", 4), std::int32_t{-5}},
        {std::uint8_t{200}, reg::kDword, std::string("\xC8\0\0\0", 4), std::int32_t{200}},
        {std::string("Gr\xFC\xDF"), reg::kSz, std::string("Gr\xFC\xDF\0", 5), std::string("Gr\xFC\xDF")},
        {std::string(), reg::kSz, std::string("\0", 1), std::string()},
        {std::monostate{}, reg::kSz, std::string("\0", 1), std::string()},
        {std::vector<std::uint8_t>{0, 1, 255}, reg::kBinary, std::string("\0\x01\xFF", 3),
         std::vector<std::uint8_t>{0, 1, 255}},
        {2.5, reg::kSz, std::string("2.5\0", 4), std::string("2.5")},
        {true, reg::kSz, std::string("True\0", 5), std::string("True")},
        {std::vector<std::uint8_t>{}, 0, "", std::monostate{}},  // an empty byte array writes nothing
    };
    for (const Row& r : rows) {
        MemoryRegistry memory;
        Registry(memory, "HKCU\\Software\\Wg\\Value", r.value);
        const auto [type, bytes] = Raw(memory, HKCU, "Software\\Wg", "Value");
        EXPECT_EQ(type, r.type) << r.value.index();
        EXPECT_EQ(bytes, r.bytes) << r.value.index();
        EXPECT_EQ(Registry(memory, "HKCU\\Software\\Wg\\Value"), r.readBack) << r.value.index();
        EXPECT_EQ(memory.OpenHandles(), 0u);
    }
}

TEST(Registry, ReadsOnlyTextDwordAndBinary) {
    struct Row { std::uint32_t type; std::string bytes; RegValue expected; };
    const Row rows[] = {
        {reg::kSz, std::string("abc\0def\0", 8), std::string("abc")},   // cut at the first zero
        {reg::kSz, "no terminator", std::string("no terminator")},
        {reg::kSz, "", std::string()},
        {reg::kExpandSz, std::string("%TEMP%\0", 7), std::monostate{}},
        {reg::kMultiSz, std::string("a\0b\0\0", 5), std::monostate{}},
        {reg::kQword, std::string(8, '\x01'), std::monostate{}},
        {reg::kDword, std::string("\x60\0\0\0", 4), std::int32_t{96}},
        {reg::kDword, std::string("\x60\x01", 2), std::int32_t{0x160}},  // short data reads zero-extended
        {reg::kBinary, std::string("\x01\x02", 2), std::vector<std::uint8_t>{1, 2}},
        {reg::kBinary, "", std::monostate{}},                             // no array of size 0
    };
    for (const Row& r : rows) {
        MemoryRegistry memory;
        Put(memory, HKCU, "Software\\Wg", "V", r.type, r.bytes);
        EXPECT_EQ(Registry(memory, "HKCU\\Software\\Wg\\V"), r.expected) << r.type << " " << r.bytes;
        EXPECT_EQ(memory.OpenHandles(), 0u);
    }
}

TEST(Registry, PathRulesReachTheRightValue) {
    MemoryRegistry memory;
    Registry(memory, "HKCU\\Software\\A\\B", std::string("value B"));
    Registry(memory, "HKCU\\Software\\A\\B\\", std::string("default of B"));
    Registry(memory, "HKCU\\Software\\A\\\\C:\\Dir\\File.exe", std::string("~ HIGHDPIAWARE"));
    Registry(memory, "  hkcu \\Software\\A\\Lower", std::int32_t{7});
    Registry(memory, "HKCU", std::string("root default"));

    EXPECT_EQ(Raw(memory, HKCU, "Software\\A", "B").second, std::string("value B\0", 8));
    EXPECT_EQ(Raw(memory, HKCU, "Software\\A\\B", "").second, std::string("default of B\0", 13));
    EXPECT_EQ(Raw(memory, HKCU, "Software\\A", "C:\\Dir\\File.exe").first, reg::kSz);
    EXPECT_EQ(Raw(memory, HKCU, "", "").second, std::string("root default\0", 13));
    // Key and value names are found without regard to case.
    EXPECT_EQ(Registry(memory, "HKEY_CURRENT_USER\\SOFTWARE\\a\\lower"), RegValue(std::int32_t{7}));
    EXPECT_EQ(RegText(Registry(memory, "HKCU\\Software\\A\\\\C:\\Dir\\File.exe")), "~ HIGHDPIAWARE");

    // An unknown root reaches nothing: reading is empty and writing stores nothing.
    Registry(memory, "HKU\\Software\\A\\X", std::string("lost"));
    EXPECT_EQ(Registry(memory, "HKU\\Software\\A\\X"), RegValue());
    EXPECT_EQ(Registry(memory, "HKCU\\Software\\A\\X"), RegValue());
    Registry(memory, "   ", std::string("lost"));
    EXPECT_EQ(Registry(memory, ""), RegValue());
    EXPECT_EQ(Registry(memory, "HKCU\\Missing\\Key\\V"), RegValue());
    EXPECT_EQ(memory.OpenHandles(), 0u);
}

TEST(DeleteValue, TrueOnlyWhenAValueWasDeleted) {
    MemoryRegistry memory;
    Registry(memory, "HKCU\\Software\\Run\\Wolkenglas", std::string("\"C:\\W.exe\" /startup"));
    Registry(memory, "HKCU\\Software\\Run\\Other", std::string("x"));
    EXPECT_FALSE(DeleteValue(memory, "HKCU\\Software\\Run\\Missing"));
    EXPECT_FALSE(DeleteValue(memory, "HKCU\\Software\\NoKey\\Wolkenglas"));
    EXPECT_FALSE(DeleteValue(memory, "HKU\\Software\\Run\\Wolkenglas"));
    EXPECT_FALSE(DeleteValue(memory, " "));
    EXPECT_TRUE(DeleteValue(memory, "HKCU\\Software\\Run\\wolkenglas"));
    EXPECT_FALSE(DeleteValue(memory, "HKCU\\Software\\Run\\Wolkenglas"));
    EXPECT_EQ(Registry(memory, "HKCU\\Software\\Run\\Wolkenglas"), RegValue());
    EXPECT_EQ(Registry(memory, "HKCU\\Software\\Run\\Other"), RegValue(std::string("x")));
    EXPECT_EQ(memory.OpenHandles(), 0u);
}

namespace {
// A registry whose handles cannot be closed, or whose text value grows while it is read.
class TroubledRegistry : public MemoryRegistry {
public:
    long CloseKey(reg::Key key) override {
        const long r = MemoryRegistry::CloseKey(key);
        return failClose ? reg::kInvalidHandle : r;
    }
    long QueryValue(reg::Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        if (data && growBeforeRead) {
            const std::string longer = "a much longer text than before";
            MemoryRegistry::SetValue(key, name, reg::kSz, reinterpret_cast<const std::uint8_t*>(longer.c_str()),
                                     static_cast<std::uint32_t>(longer.size() + 1));
        }
        return MemoryRegistry::QueryValue(key, name, type, data, size);
    }
    bool failClose = false;
    bool growBeforeRead = false;
};
}  // namespace

TEST(GetValueType, ZeroWhenMissingMinusOneWhenCloseFailsAndSuchValuesReadEmpty) {
    TroubledRegistry memory;
    Registry(memory, "HKCU\\Software\\Wg\\Dword", std::int32_t{1});
    Registry(memory, "HKCU\\Software\\Wg\\Text", std::string("t"));
    EXPECT_EQ(GetValueType(memory, HKCU, "Software\\Wg", "Dword"), 4);
    EXPECT_EQ(GetValueType(memory, HKCU, "Software\\Wg", "Text"), 1);
    EXPECT_EQ(GetValueType(memory, HKCU, "Software\\Wg", "Missing"), 0);
    EXPECT_EQ(GetValueType(memory, HKCU, "Software\\Nothing", "Text"), 0);
    EXPECT_EQ(GetValueType(memory, 0, "Software\\Wg", "Text"), 0);
    memory.failClose = true;
    EXPECT_EQ(GetValueType(memory, HKCU, "Software\\Wg", "Text"), -1);
    EXPECT_EQ(Registry(memory, "HKCU\\Software\\Wg\\Text"), RegValue());  // type -1 reads empty
    memory.failClose = false;
    memory.growBeforeRead = true;  // a text that changes between its size and its read
    EXPECT_EQ(Registry(memory, "HKCU\\Software\\Wg\\Text"), RegValue());  // not a buffer of blanks
}
