// Registry path strings from random bytes and from the system's own paths damaged at random
// (backslashes doubled, dropped or inserted, blanks, case, stray bytes, cut ends), through the
// path split and a write, read and delete on the in-memory registry. Under the sanitizers any
// stray access ends the run.

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

// The split itself is pinned by the SplitRegPath table; here only what must hold for any text:
// a root that exists or none, and a write, read and delete that agree and leave no key open.
void Check(const std::string& path) {
    const RegPath p = SplitRegPath(path);
    ASSERT_TRUE(p.root == 0 || (p.root >= 0x80000000u && p.root <= 0x80000006u)) << path;
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

TEST(RegPathRobust, RandomAndDamagedPaths) {
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < kRandomPaths && !HasFatalFailure(); ++i) Check(RandomPath(rng));
    for (int i = 0; i < kDamagedPaths && !HasFatalFailure(); ++i) Check(Damaged(rng));
}
