// The refresh in the real program under Wine against the local weather server: the green title
// with the place, the requests in their order, the tray icon, the error line, and a window that
// keeps answering while the server is slow.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../doubles/WeatherServerProcess.h"
#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 90s;
const std::string kLoading = "Wolkenglas:  Lade Daten, bitte warten ...";

// A prefix whose widget has Berlin stored and takes its data from `server`, as the service's or
// as the keyless source's.
void PrepareWidget(WineSession& wine, const WeatherServerProcess& server, const std::string& source = "service") {
    wine.InstallTahoma();
    wine.RegAdd(kSettingsKey, "Server.Source", source);
    for (const char* host : {"Server.Geocoding", "Server.Forecast"}) wine.RegAdd(kSettingsKey, host, server.Base());
    wine.RegAdd(kSettingsKey, "Server.Api", server.Base());
    wine.RegAdd(kSettingsKey, "Server.Satellite", server.Base());
    wine.RegAdd(kSettingsKey, "Location.Selected", "Berlin, Berlin, DE");
    wine.RegAdd(kSettingsKey, "Location.Key", "171001");
}

// The request lines the server saw, without the query.
std::vector<std::string> RequestPaths(const WeatherServerProcess& server) {
    std::vector<std::string> paths;
    for (const auto& request : server.Requests()) {
        if (request.empty()) continue;
        const std::string& line = request[0];
        paths.push_back(line.substr(0, line.find_first_of("? ", 4)));
    }
    return paths;
}

// The title line's text in `colour` (the title sits at 5, 2 in the window).
int TitlePixels(const WineSession& wine, const std::string& windowId, const std::string& colour) {
    const WindowGeometry g = wine.Geometry(windowId);
    return screen::Count(screen::Colours(wine, wine.Screenshot("refresh-title"), g.x + 5, g.y + 2, 358, 15), colour);
}

TEST(RefreshE2E, StoredPlaceFillsTheWidgetTitleAndTray) {
    WeatherServerProcess server;
    WineSession wine;
    PrepareWidget(wine, server);
    wine.Start("", "shell");
    const auto id = wine.WaitForWindow("Wolkenglas:  Berlin", kStartTimeout);
    ASSERT_TRUE(id) << "no widget whose caption names the place";
    std::this_thread::sleep_for(1s);  // the satellite picture follows the green title
    EXPECT_GT(TitlePixels(wine, *id, "#80FF80"), 30);
    const std::vector<std::string> expected = {"GET /locations/v1/171001.json", "GET /currentconditions/v1/171001",
                                               "GET /forecasts/v1/daily/10day/171001",
                                               "GET /sat_mosaic_640x480_public/IR/iseur3.jpg"};
    EXPECT_EQ(RequestPaths(server), expected);

    // The weather picture in the notification area, at the right end of the taskbar.
    const std::string shot = wine.Screenshot("refresh-tray");
    EXPECT_GT(screen::Colours(wine, shot, 1240, 780, 40, 20).size(), 12u) << "no icon in the notification area";
}

TEST(RefreshE2E, KeylessSourceFillsTheWidgetGreen) {
    WeatherServerProcess server;
    WineSession wine;
    PrepareWidget(wine, server, "open-meteo");
    wine.Start();
    const auto id = wine.WaitForWindow("Wolkenglas:  Berlin", kStartTimeout);
    ASSERT_TRUE(id) << "no widget whose caption names the place";
    // The place's name is shown before the columns are filled; green comes at the end.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    int green = 0;
    while ((green = TitlePixels(wine, *id, "#80FF80")) <= 30 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(200ms);
    EXPECT_GT(green, 30);
    // The place, then one forecast for the current conditions and the days.
    const std::vector<std::string> paths = RequestPaths(server);
    ASSERT_GE(paths.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(paths.begin(), paths.begin() + 2),
              (std::vector<std::string>{"GET /v1/get", "GET /v1/forecast"}));
}

TEST(RefreshE2E, ServerErrorShowsInTheTitleInLightRed) {
    WeatherServerProcess server({"--status", "503"});
    WineSession wine;
    PrepareWidget(wine, server);
    wine.Start();
    const auto id = wine.WaitForWindow("FEHLER:  503 - Service Unavailable", kStartTimeout);
    ASSERT_TRUE(id) << "no error text in the caption";
    EXPECT_GT(TitlePixels(wine, *id, "#FFB0B0"), 30);
    EXPECT_EQ(RequestPaths(server), std::vector<std::string>{"GET /locations/v1/171001.json"});
}

TEST(RefreshE2E, SlowServerLeavesTheWindowAnsweringAndAltF4EndsIt) {
    WeatherServerProcess server({"--delay-ms", "8000"});
    WineSession wine;
    PrepareWidget(wine, server);
    wine.Start();
    const auto id = wine.WaitForWindow(kLoading, kStartTimeout);
    ASSERT_TRUE(id) << "no loading text in the caption";
    std::this_thread::sleep_for(1s);  // the place request is now waiting on the server
    ASSERT_EQ(RequestPaths(server).size(), 1u);
    const auto pressed = std::chrono::steady_clock::now();
    wine.Key(*id, "alt+F4");
    EXPECT_TRUE(wine.WaitForWindowGone(kLoading, 2s)) << "the widget did not end within 2 s";
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 3s);
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Left"), "32") << "the position was not stored";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Location.Key"), "171001");
}

}  // namespace
