// The place search in the real dialog under Wine: a name typed and Enter, the server's places in
// the list, one chosen and OK: the widget shows it and the place is stored.
#include <gtest/gtest.h>

#include <chrono>

#include "ProbeSupport.h"

using namespace std::chrono_literals;

namespace {

constexpr const char* kCaption = " Einstellungen ...";
constexpr int kClientWidth = 392, kClientHeight = 424;  // the dialog's client area
constexpr int kSearchBoxX = 104, kSearchBoxY = 217;

TEST(PlaceSearchE2E, TypedNameListsThePlacesAndTheChosenOneIsShownAndStored) {
    WeatherServerProcess server;
    WineSession wine;
    wine.InstallTahoma();
    wine.RegAdd(kSettingsKey, "Server.Source", "service");
    wine.RegAdd(kSettingsKey, "Server.Api", server.Base());
    wine.RegAdd(kSettingsKey, "Server.Satellite", server.Base());
    wine.Start();
    const auto widget = wine.WaitForWindow("Wolkenglas", 90s);
    ASSERT_TRUE(widget) << "the widget window did not appear";
    const auto dialog = wine.WaitForWindow(kCaption, 30s);
    ASSERT_TRUE(dialog) << "with no place stored the dialog opens at start";
    ASSERT_TRUE(WaitUntil([&] { return wine.Probe({"window", WineSession::kDesktop, kCaption}).find("\ncontrol 114") != std::string::npos; }, 30s));

    // A click into the search box (the frame lies around the client area); once it has the focus,
    // the name and Enter.
    const WindowGeometry g = wine.Geometry(*dialog);
    const int border = (g.width - kClientWidth) / 2;
    const int top = g.height - kClientHeight - border;
    wine.Run("xdotool mousemove --sync " + std::to_string(g.x + border + kSearchBoxX + 90) + " " +
             std::to_string(g.y + top + kSearchBoxY + 10) + " click 1");
    EXPECT_TRUE(WaitUntil([&] {
        return wine.Probe({"window", WineSession::kDesktop, kCaption}).find("\nforeground\nfocus 114\n") != std::string::npos;
    }, 10s));
    wine.Run("xdotool type Neustadt");
    wine.Run("xdotool key Return");
    std::string shown;
    WaitUntil([&] {
        shown = wine.Probe({"window", WineSession::kDesktop, kCaption});
        return shown.find("items DE: 23730") != std::string::npos;
    }, 30s);
    EXPECT_NE(shown.find("\titems DE: 23730 Neustadt, Schleswig-Holstein, Deutschland|"
                         "DE: 96465 Neustadt, Bayern, Deutschland"),
              std::string::npos)
        << shown;

    // The focus is in the list: Down chooses the second place, Alt+O is OK, which refreshes.
    wine.Run("xdotool key Down alt+o");
    ASSERT_TRUE(wine.WaitForWindow("Wolkenglas:  Neustadt", 30s)) << "the widget does not show the chosen place";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Location.Key"), "171009");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Location.Selected"), "DE: 96465 Neustadt, Bayern, Deutschland");
    const auto requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back()[0].find("GET /sat_mosaic"), 0u) << "the refresh ran for the chosen place";
}

}  // namespace
