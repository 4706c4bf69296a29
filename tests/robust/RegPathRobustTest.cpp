// Registry path strings from random bytes and from the system's own paths damaged at random
// (backslashes doubled, dropped or inserted, blanks, case, stray bytes, cut ends), through the
// path split and a write, read and delete on the in-memory registry. Under the sanitizers any
// stray access ends the run; the split must also always give back the text it was given.

#include "native/MemoryRegistry.h"
#include "system/mRegistry2.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

constexpr int kRandomPaths = 100000;
constexpr int kDamagedPaths = 100000;

const char* const kSystemPaths[] = {
    "HKCU\\Control Panel\\International\\LocaleName",
    "HKEY_USERS\\.DEFAULT\\Control Panel\\International\\LocaleName",
    "HKCU\\Software\\Microsoft\\Internet Explorer\\International\\AcceptLanguage",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\AccuWeather",
    "HKCU\\Software\\Microsoft\\Windows\\DWM\\UseDpiScaling",
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers\\\\C:\\Program Files\\W\\W.exe",
    "HKCU\\Control Panel\\Desktop\\WindowMetrics\\AppliedDPI",
    "hklm\\S\\",
    "HKCU",
};

std::string RandomPath(std::mt19937_64& rng) {
    static constexpr char kAlphabet[] = "\\\\\\\\ \tHKCUhkcuEY_SROTLMAPDFGN.:\x00\xFC\xFF" "ab";
    static const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);  // the zero byte included
    std::string s(rng() % 64, ' ');
    for (char& c : s) c = rng() % 4 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
    return s;
}

std::string Damaged(std::mt19937_64& rng) {
    std::string s = kSystemPaths[rng() % std::size(kSystemPaths)];
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < edits && !s.empty(); ++i) {
        const std::size_t at = rng() % (s.size() + 1);
        switch (rng() % 7) {
        case 0: s.insert(at, "\\"); break;
        case 1: s.insert(at, "\\\\"); break;
        case 2: if (at < s.size()) s.erase(at, 1); break;
        case 3: s.insert(at, std::string(rng() % 3 + 1, ' ')); break;
        case 4: if (at < s.size()) s[at] = static_cast<char>(s[at] ^ 0x20); break;  // flip case
        case 5: s.insert(at, 1, static_cast<char>(rng() % 256)); break;
        default: s.resize(at); break;
        }
    }
    return s;
}

std::string Trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

void Check(const std::string& path) {
    const RegPath p = SplitRegPath(path);
    ASSERT_TRUE(p.root == 0 || (p.root >= 0x80000000u && p.root <= 0x80000006u)) << path;

    // Root part, separator, key, separator, value name: nothing lost, nothing added.
    const std::string whole = Trimmed(path);
    const std::size_t first = whole.find('\\');
    if (first == std::string::npos) {
        ASSERT_TRUE(p.key.empty() && p.valueName.empty()) << path;
    } else {
        const std::string rest = whole.substr(first + 1);
        const bool doubled = rest.find("\\\\") != std::string::npos;
        const bool single = rest.find('\\') != std::string::npos;
        const std::string sep = doubled ? "\\\\" : single ? "\\" : "";
        ASSERT_EQ(p.key + sep + p.valueName, rest) << path;
        if (doubled) ASSERT_EQ(p.valueName.find("\\\\"), std::string::npos) << path;
        else ASSERT_EQ(p.valueName.find('\\'), std::string::npos) << path;
    }

    MemoryRegistry memory;
    const std::string text = "v";
    Registry(memory, path, text);
    const RegValue read = Registry(memory, path);
    ASSERT_TRUE(read == RegValue() || read == RegValue(text)) << path;
    if (read == RegValue(text)) {
        ASSERT_NE(p.root, 0u) << path;
        ASSERT_TRUE(DeleteValue(memory, path)) << path;
        ASSERT_EQ(Registry(memory, path), RegValue()) << path;
    } else {
        ASSERT_FALSE(DeleteValue(memory, path)) << path;
    }
    ASSERT_EQ(memory.OpenHandles(), 0u) << path;
}

}  // namespace

TEST(RegPathRobust, RandomPaths) {
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < kRandomPaths; ++i) {
        Check(RandomPath(rng));
        if (HasFatalFailure()) return;
    }
}

TEST(RegPathRobust, DamagedSystemPaths) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < kDamagedPaths; ++i) {
        Check(Damaged(rng));
        if (HasFatalFailure()) return;
    }
}
