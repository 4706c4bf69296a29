// The registry functions on the real registry under Wine: the same series of writes, reads and
// deletes as on the in-memory registry gives the same transcript, what they store is what Windows
// tools see, and what Windows tools store is what they read.
#include <gtest/gtest.h>

#include "ProbeSupport.h"

TEST(RegistryE2E, RealRegistryBehavesLikeTheInMemoryOne) {
    ASSERT_TRUE(probe::fs::exists(probe::NativeProbe())) << "wgprobe is not built: " << probe::NativeProbe();
    WineSession wine;
    const std::vector<std::string> scenario = {"reg-scenario", "Software\\Wolkenglas Probe"};
    const std::string viaWine = wine.Probe(scenario);
    const std::string native = probe::RunNative(scenario);
    ASSERT_FALSE(native.empty());
    EXPECT_EQ(viaWine, native);

    // What the scenario left behind, as the registry tool shows it.
    const std::string key = "HKCU\\Software\\Wolkenglas Probe";
    struct Row { const char* key; const char* value; const char* shown; };
    const Row rows[] = {
        {"", "Dword", "0x1"},
        {"", "Negative", "0xfffffffe"},
        {"", "Byte", "0xc8"},
        {"", "Text", nullptr},  // deleted by the scenario
        {"", "Binary", "0001FF"},
        {"", "Double", "2.5"},
        {"", "Bool", "True"},
        {"", "EmptyBinary", nullptr},
        {"\\Files", "C:\\Dir\\File.exe", "~ HIGHDPIAWARE"},
    };
    for (const Row& r : rows) {
        const auto shown = wine.RegQuery(key + r.key, r.value);
        if (r.shown) EXPECT_EQ(shown, std::optional<std::string>(r.shown)) << r.value;
        else EXPECT_FALSE(shown) << r.value;
    }
    const CommandResult types = wine.Run("wine reg query " + ShellQuote(key));
    EXPECT_NE(types.output.find("Dword    REG_DWORD"), std::string::npos) << types.output;
    EXPECT_NE(types.output.find("Binary    REG_BINARY"), std::string::npos) << types.output;
    EXPECT_NE(types.output.find("Umlauts    REG_SZ"), std::string::npos) << types.output;

    // Values as Windows tools write them (the text comes UTF-8 on the command line and reads as
    // UTF-8 inside the program); values of other types are in the scenario.
    wine.RegAdd(key, "Tool", "Gr\xC3\xBC\xC3\x9F" "e", "REG_SZ");
    wine.RegAdd(key, "Dpi", "120", "REG_DWORD");
    EXPECT_EQ(wine.Probe({"reg-read", key + "\\Tool", "+", "reg-read", key + "\\Dpi", "+", "reg-delete", key + "\\Dpi"}),
              "text \"Gr\\xC3\\xBC\\xC3\\x9Fe\"\nint32 120\ntrue\n");
    EXPECT_FALSE(wine.RegQuery(key, "Dpi"));

    // The language is the user's locale name. Wine writes that value afresh from the Unix locale
    // whenever a program starts, so only the first source can be seen here; the fallbacks are
    // covered on the in-memory registry.
    const auto localeName = wine.RegQuery("HKCU\\Control Panel\\International", "LocaleName");
    ASSERT_TRUE(localeName && !localeName->empty());
    EXPECT_EQ(wine.Probe({"language"}), *localeName + "\n");
}
