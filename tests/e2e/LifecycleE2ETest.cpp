// The real program under Wine: stored position and CRC report (the first start, a second
// instance and the close marker are in the face tests).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "WineSession.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 60s;  // the first start in a fresh prefix is slow

void WriteMarker(const WineSession& wine, const std::string& content) {
    std::ofstream(wine.LinuxExe() + ".close", std::ios::binary) << content;
}

TEST(Lifecycle, StoredPositionIsRestoredAndAnOffScreenOneIsNot) {
    WineSession wine;
    wine.RegAdd(kSettingsKey, "Window.Left", "500");
    wine.RegAdd(kSettingsKey, "Window.Top", "300");
    wine.Start();
    auto window = wine.WaitForWindow("Wolkenglas", kStartTimeout);
    ASSERT_TRUE(window);
    WindowGeometry g = wine.Geometry(*window);
    EXPECT_EQ(g.x, 500);
    EXPECT_EQ(g.y, 300);
    WriteMarker(wine, "1");
    ASSERT_TRUE(wine.WaitForWindowGone("Wolkenglas", 6s));
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Left"), "500");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Top"), "300");

    // A monitor that was on the right has gone: the widget comes back to the default place.
    std::filesystem::remove(wine.LinuxExe() + ".close");
    wine.Run("wineserver -p >/dev/null 2>&1 </dev/null");
    wine.RegAdd(kSettingsKey, "Window.Left", "3000");
    wine.Start();
    window = wine.WaitForWindow("Wolkenglas", kStartTimeout);
    ASSERT_TRUE(window);
    g = wine.Geometry(*window);
    EXPECT_EQ(g.x, 32);
    EXPECT_EQ(g.y, 32);
}

TEST(Lifecycle, CrcSwitchPutsTheProgramChecksumOnTheClipboard) {
    WineSession wine;
    // An independent CRC-32: the gzip trailer carries the CRC-32 of the data, little-endian.
    const CommandResult gz = wine.Run("gzip -c " + std::string("'") + wine.LinuxExe() +
                                      "' | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' \\n' | tr a-f A-F");
    ASSERT_EQ(gz.output.size(), 8u) << gz.output;
    wine.Start("/CRC");
    const auto box = wine.WaitForWindow("Wolkenglas:  CRC-Check", kStartTimeout);
    ASSERT_TRUE(box) << "no CRC report";
    EXPECT_EQ(wine.Clipboard(), gz.output);
    EXPECT_EQ(wine.CountViewable("Wolkenglas"), 0u) << "the widget must not show with /crc";
    wine.Key(*box, "Return");
    EXPECT_TRUE(wine.WaitForWindowGone("Wolkenglas:  CRC-Check", 10s));
}

}  // namespace
