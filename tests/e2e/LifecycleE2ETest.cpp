// The real program under Wine: the close marker ends it and the stored position is restored (the
// first start and a second instance are in the face tests, "/crc" in the update tests).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    ASSERT_TRUE(wine.WaitForWindowGone("Wolkenglas", 15s));
    // The first start in a fresh folder writes its manifest and restarts: the marker ends that
    // copy too, and only then is the next start the only one.
    ASSERT_TRUE(WaitUntil([&] { return wine.ProgramsRunning() == 0; }, 30s)) << "the program did not end";
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

}  // namespace
