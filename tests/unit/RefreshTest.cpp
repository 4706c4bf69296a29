// The refresh over scripted replies: its failure rows, the recorded replies filling every
// control, the tooltip pieces, the forecast tooltips, the tray and the satellite picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "doubles/FakeServices.h"
#include "weather/CurrentConditions.h"
#include "weather/ForecastDay.h"

namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(WG_FIXTURES_DIR) / "service" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr Colour kGreen = 0x80FF80, kBlue = 0xC0C0FF, kRed = 0xFFB0B0;
const char* const kJpeg = "\xFF\xD8\xFF\xE0 picture";

// The windows with the picture sheets in their boxes and the service hosts set.
struct Rig : ServicedWindows {
    Rig() {
        set.M2 = " tip ";
        main.PicIcon.Image = std::make_shared<Bitmap>(410, 205, 0x203040);
        main.PicIconWind.Image = std::make_shared<Bitmap>(320, 80, 0x203040);
        main.PicIconMoon.Image = std::make_shared<Bitmap>(320, 40, 0x203040);
        fake.settings.Set("Server.Api", "http://api.test/");
        fake.settings.Set("Server.Satellite", "http://sat.test/");
    }
    // Replies for the three service requests and the satellite picture.
    void Serve(const std::string& location, const std::string& current, const std::string& forecast,
               const std::string& satellite = kJpeg) {
        services.transport.routes.clear();
        services.transport.Route("/locations/v1/", location);
        services.transport.Route("/currentconditions/v1/", current);
        services.transport.Route("/forecasts/v1/daily/10day/", forecast);
        services.transport.Route("iseur3.jpg", satellite);
    }
    void ServeRecorded(bool metric) {
        Serve(Fixture("location-piatek-pl.json"), Fixture("current-piatek-pl-details-2023-03.json"),
              Fixture(metric ? "forecast-5day-details-piatek-metric-2023-03.json" : "forecast-5day-details-piatek-imperial-2023-03.json"));
        set.oMetric[0] = metric;
        set.oMetric[1] = !metric;
    }
    const Label& Title() const { return main.lTitle[0]; }
};

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    while (times-- > 0) out += piece;
    return out;
}

HttpGetResult Reply(HttpOutcome outcome, int status = 0, const char* reason = "", std::string body = {}) {
    return {outcome, status, reason, std::move(body)};
}

TEST(Refresh, FailureRows) {
    const std::string location = Fixture("location-piatek-pl.json");
    const std::string current = Fixture("current-piatek-pl-details-2023-03.json");
    const std::string forecast = Fixture("forecast-5day-details-piatek-metric-2023-03.json");
    std::string cold = current;  // a temperature at which the humidity formula divides by zero
    cold.replace(cold.find("\"Value\": 0.5"), 12, "\"Value\": -240.7");
    const HttpGetResult place = Reply(HttpOutcome::Completed, 200, "OK", location);
    const HttpGetResult days = Reply(HttpOutcome::Completed, 200, "OK", forecast);
    const char* const noForecast = "FEHLER:  Server lieferte keine Wetter-Vorhersage.";
    const struct {
        HttpGetResult location;
        std::string current;
        HttpGetResult forecast;
        std::string satellite, title;
        std::size_t requests;
        bool dataLoaded, networkAway;
    } rows[] = {
        {Reply(HttpOutcome::TimedOut), "", days, kJpeg, "FEHLER:  Verbindungs-Problem mit Server.", 1, true, true},
        {Reply(HttpOutcome::Completed, 503, "Service Unavailable", "{}"), "", days, kJpeg, "FEHLER:  503 - Service Unavailable", 1, true, false},
        {Reply(HttpOutcome::Failed), "", days, kJpeg, "FEHLER:  ", 1, true, true},  // "Error!": nothing after its 11th character
        // An error reply of a million colons: the line is cut to what the title can show first.
        {Reply(HttpOutcome::Completed, 200, "OK", "error" + std::string(1000000, ':')), "", days, kJpeg, "FEHLER:  " + Repeat(" -", 400), 1, true, false},
        {place, Fixture("current-piatek-pl-details-2023-05-object.json"), days, kJpeg, "FEHLER:  Server lieferte keine Wetter-Daten.", 2, true, false},
        {place, "[{\"A\":1}]", days, kJpeg, noForecast, 3, true, false},
        // A forecast that timed out, failed or holds no day: no green title over empty columns.
        {place, current, Reply(HttpOutcome::TimedOut), kJpeg, noForecast, 3, true, true},
        {place, current, Reply(HttpOutcome::Completed, 503, "Service Unavailable", "{}"), kJpeg, noForecast, 3, true, false},
        {place, current, Reply(HttpOutcome::Completed, 200, "OK", "{\"Headline\":{}}"), kJpeg, noForecast, 3, true, false},
        {place, current, Reply(HttpOutcome::Completed, 200, "OK", "{\"DailyForecasts\":[]}"), kJpeg, noForecast, 3, true, false},
        {place, cold, days, kJpeg, "FEHLER #11:  Division durch Null.", 3, false, false},
        {place, current, days, "<html>not a picture</html>", "FEHLER #481:  Ungültiges Bild.", 4, false, false},
    };
    for (const auto& row : rows) {
        Rig r;
        r.fake.files.files["C:\\Temp\\TMP0001.tmp"] = "";
        r.Serve("", row.current, "", row.satellite);
        r.services.transport.routes[0].second = row.location;
        r.services.transport.routes[2].second = row.forecast;
        r.set.cChk_Click();
        EXPECT_EQ(r.Title().Caption, row.title);
        EXPECT_EQ(r.Title().ToolTipText, " " + row.title + " ") << row.title;
        EXPECT_EQ(r.mainWindow.caption, row.title);
        EXPECT_EQ(r.Title().ForeColor, kRed) << row.title;
        EXPECT_EQ(r.services.transport.requests.size(), row.requests) << row.title;
        EXPECT_EQ(r.fake.system.beeps, row.dataLoaded ? 1 : 0) << row.title;
        EXPECT_EQ(r.set.DataLoaded, row.dataLoaded) << row.title;
        EXPECT_EQ(r.set.NextCatchUp().has_value(), row.networkAway) << row.title;
        EXPECT_TRUE(r.set.cChkEnabled && r.set.coLocEnabled && !r.set.Refreshing()) << row.title;
        EXPECT_EQ(r.set.tSearchEnabled, row.requests == 4) << row.title;
        EXPECT_EQ(r.fake.files.files.size(), row.requests == 4 ? 0u : 1u) << row.title;
    }

    // A blank key: a beep and nothing else; the loading text stays.
    Rig blank;
    blank.set.tCID = "  ";
    blank.set.cChk_Click();
    EXPECT_EQ(blank.Title().Caption, "Wolkenglas:  Lade Daten, bitte warten ...");
    EXPECT_EQ(blank.Title().ForeColor, kBlue);
    EXPECT_TRUE(blank.services.transport.requests.empty());
    EXPECT_EQ(blank.fake.system.beeps, 1);
    EXPECT_TRUE(blank.set.cChkEnabled && blank.set.tSearchEnabled && !blank.set.DataLoaded);
}

// The recorded replies in both unit systems: which value lands in which label, as users see it.
TEST(Refresh, RecordedRepliesLandInTheirLabels) {
    struct Row { LabelArray frmMain::*labels; int index; const char* metric; const char* imperial; };
    const Row rows[] = {
        {&frmMain::lDay, 0, "AKTUELL:\r\n09.03.  18:32", "AKTUELL:\r\n09.03.  18:32"},
        // The current temperature, then the felt one below "Gefühlt:".
        {&frmMain::lTemp, 0, "0,5°C", "33,0°F"},
        {&frmMain::lTempGx, 0, "-2,1°C", "28,0°F"},
        {&frmMain::lHumi, 0, "85%", "85%"},
        {&frmMain::lPres, 0, "1001 mb", "30 inHg"},
        {&frmMain::lPresTrend, 0, "\xF1", "\xF1"},
        {&frmMain::lWindD, 0, "E", "E"},
        {&frmMain::lWindS, 0, "11 km/h", "7 mi/h"},
        {&frmMain::lUVx, 0, "0", "0"},
        // The first and the last recorded day: maximum above minimum, the day's wind above the night's.
        {&frmMain::lDay, 1, "DO 23.03.", "SO 26.03."},
        {&frmMain::lTemp, 1, "16°C", "51°F"},
        {&frmMain::lTempL, 1, "8°C", "37°F"},
        {&frmMain::lWindS, 1, "SW", "WSW"},
        {&frmMain::lWindNS, 1, "SW", "NW"},
        {&frmMain::lUVx, 1, "2", "1"},
        {&frmMain::lDay, 5, "MO 27.03.", "DO 30.03."},
        {&frmMain::lTemp, 5, "6°C", "48°F"},
        {&frmMain::lTempL, 5, "-2°C", "41°F"},
        {&frmMain::lWindS, 5, "NW", "SSW"},
        {&frmMain::lWindNS, 5, "W", "WSW"},
        {&frmMain::lUVx, 5, "1", "1"},
        // Five days recorded: the sixth column stays empty.
        {&frmMain::lDay, 6, "", ""},
        {&frmMain::lTemp, 6, "", ""},
        {&frmMain::lWindNS, 6, "", ""},
    };
    for (const bool metric : {true, false}) {
        SCOPED_TRACE(metric ? "Metric" : "Imperial");
        Rig r;
        r.fake.files.files["C:\\Temp\\TMP0001.tmp"] = "";  // what the platform's temp-name call leaves
        r.ServeRecorded(metric);
        if (!metric) r.services.transport.routes.back().second.body = "";  // and no satellite picture
        r.set.cChk_Click();
        // Place in another country than the language's ("DE"): with the country.
        EXPECT_EQ(r.Title().Caption, "Wolkenglas:  Pi\xC4\x85tek, Poland");
        EXPECT_EQ(r.Title().ForeColor, kGreen);
        const auto& requests = r.services.transport.requests;
        ASSERT_EQ(requests.size(), 4u);
        EXPECT_NE(requests[1].url.find(metric ? "Metric=True" : "Metric=False"), std::string::npos);
        EXPECT_TRUE(r.set.DataLoaded && r.set.cChkEnabled && r.set.coLocEnabled && r.set.tSearchEnabled);

        const frmMain& f = r.main;
        for (const Row& row : rows)
            EXPECT_EQ((f.*row.labels)[row.index].Caption, metric ? row.metric : row.imperial) << row.index << " " << row.metric;
        // Today's, the first and the last day's day and night pictures, the seventh day's none; wind and moon.
        EXPECT_EQ(std::vector({f.PicDay[0].Tile, f.PicDay[1].Tile, f.PicNight[1].Tile, f.PicDay[5].Tile, f.PicNight[5].Tile,
                               f.PicDay[6].Tile, f.PicWind.Tile, f.PicMoon.Tile}),
                  metric ? std::vector({38, 7, 38, 18, 7, 0, 13, 2}) : std::vector({38, 13, 12, 18, 12, 0, 13, 2}));
        // The tray's tooltip names the reply's own unit.
        EXPECT_EQ(r.set.TrayTip, metric ? " Pi\xC4\x85tek, Poland: Mostly cloudy | 0,5°C (-2,1°C) | 85%rF | E 10,7km/h "
                                        : " Pi\xC4\x85tek, Poland: Mostly cloudy | 33,0°F (28,0°F) | 85%rF | E 6,6mi/h ");
        // The satellite picture decoded and thumbnailed, or the thumbnail hidden; no file left.
        EXPECT_EQ(f.PicSat.Visible, metric);
        if (metric) { EXPECT_EQ(f.PicSat.Image->at(16, 20), r.pic.Pic->at(0, 0)); }
        EXPECT_EQ(r.services.pictures.loaded.size(), metric ? 1u : 0u);
        EXPECT_TRUE(r.fake.files.files.empty());
    }
}

TEST(Refresh, RepeatsIgnoredChangedChoiceFollowsNoneAfterUnload) {
    Rig r;
    r.ServeRecorded(true);
    r.set.Show();
    r.services.tasks.hold = true;
    r.set.cChk_Click();
    EXPECT_TRUE(r.set.Refreshing());
    EXPECT_FALSE(r.set.cChkEnabled);
    r.set.mnuPopUp_Click(2);  // a second trigger while the first waits
    r.set.cChk_Click();
    EXPECT_EQ(r.services.tasks.held.size(), 1u);
    r.services.tasks.RunAll();
    const auto& requests = r.services.transport.requests;
    EXPECT_EQ(requests.size(), 4u);
    EXPECT_EQ(r.Title().ForeColor, kGreen);

    // Units changed, then a place chosen, while a refresh waits: one refresh with the new choice
    // follows each.
    r.set.cChk_Click();
    r.set.oMetric[0] = false;
    r.set.oMetric[1] = true;
    r.set.oMetric_Click(1);
    r.set.cChk_Click();
    r.services.tasks.RunAll();
    ASSERT_EQ(requests.size(), 12u);
    EXPECT_NE(requests[5].url.find("Metric=True"), std::string::npos);
    EXPECT_NE(requests[9].url.find("Metric=False"), std::string::npos);
    r.set.cChk_Click();
    r.set.coLocList = {"A", "B"};
    r.set.LocKeys = {"1", "2", ""};
    r.set.coLocListIndex = 1;
    r.set.coLoc_Click();
    r.services.tasks.RunAll();
    ASSERT_EQ(requests.size(), 20u);
    EXPECT_NE(requests[16].url.find("/locations/v1/2.json"), std::string::npos) << requests[16].url;
    EXPECT_FALSE(r.set.Refreshing());

    // The program ends while the replies are on their way: they change nothing.
    r.set.cChk_Click();
    r.set.Form_Unload();
    const std::size_t trayCalls = r.services.tray.calls.size();
    r.services.tasks.RunAll();
    EXPECT_EQ(r.Title().Caption, "Wolkenglas:  Lade Daten, bitte warten ...");
    EXPECT_EQ(r.services.tray.calls.size(), trayCalls);
    EXPECT_EQ(requests.size(), 23u) << "no satellite request after the unload";

    // The program ends while the satellite picture is on its way: its temporary file goes.
    Rig late;
    late.ServeRecorded(true);
    late.services.tasks.hold = true;
    late.set.cChk_Click();
    const auto [work, done] = late.services.tasks.held.front();
    late.services.tasks.held.clear();
    work();
    done();
    ASSERT_EQ(late.services.tasks.held.size(), 1u) << "no satellite download";
    late.fake.files.files["C:\\Temp\\TMP0001.tmp"] = "";  // what the platform's temp-name call leaves
    late.set.Form_Unload();
    EXPECT_TRUE(late.fake.files.files.empty());
}

// Current conditions and today: a base object whose members a row overrides (the first member
// of a name wins).
const char* const kConditions =
    R"("WeatherIcon":7,"WeatherText":"Bewölkt","Link":"http://x/now","EpochTime":1447075500,"CloudCover":90,)"
    R"("Ceiling":{"Metric":{"Value":1200.0,"Unit":"m"}},"Visibility":{"Metric":{"Value":16.1,"Unit":"km"}},)"
    R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":0.0,"Unit":"mm"}}},)"
    R"("Temperature":{"Metric":{"Value":7.4,"Unit":"C"}},"RealFeelTemperature":{"Metric":{"Value":4.9}},)"
    R"("RealFeelTemperatureShade":{"Metric":{"Value":5.6}},"DewPoint":{"Metric":{"Value":4.3}},"RelativeHumidity":81,)"
    R"("Pressure":{"Metric":{"Value":1016.3,"Unit":"mb"}},"PressureTendency":{"Code":"R"},)"
    R"("Wind":{"Speed":{"Metric":{"Value":14.8,"Unit":"km/h"}},"Direction":{"Degrees":248,"Localized":"WSW","English":"WSW"}},)"
    R"("WindGust":{"Speed":{"Metric":{"Value":29.6}}},"UVIndex":1,"UVIndexText":"Niedrig")";
const char* const kToday =
    R"("Date":"2015-11-09T07:00:00+01:00","HoursOfSun":3.2,"Link":"http://x/day",)"
    R"("Sun":{"Rise":"2015-11-09T07:21:00+01:00","Set":"2015-11-09T16:44:00+01:00"},)"
    R"("Moon":{"Rise":"2015-11-09T03:12:00+01:00","Set":"2015-11-09T15:41:00+01:00","Phase":"WaningCrescent","Age":27})";

TEST(Refresh, CurrentConditionsPieces) {
    FakeLocale locale;
    using C = CurrentConditions;
    const std::string weather = " Wetterlage: Bewölkt | Sonne: 3,2 h | Wolkendecke: 90% (1200m) | Sicht: 16,1 km ";
    const struct {
        const char* members;  // put before the base ones
        std::string C::*field;
        std::string expected;
    } rows[] = {
        {"", &C::weatherTip, weather},
        {R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":0.5,"Unit":"mm"}}},)", &C::weatherTip, weather + "| Niederschlag: 0,5 mm "},
        {R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":0.04}}},)", &C::weatherTip, weather},  // shown as 0,0
        {R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":2.5,"Unit":"mm"}}},)", &C::weatherTip, weather + "| Niederschlag: 2,5 mm "},
        {"", &C::temperatureTip, " Temperatur: 7,4°C | Gefühlt: 4,9°C und 5,6°C im Schatten | Taupunkt: 4,3°C "},
        {R"("RealFeelTemperatureShade":{"Metric":{"Value":4.94}},)", &C::temperatureTip, " Temperatur: 7,4°C | Gefühlt: 4,9°C | Taupunkt: 4,3°C "},
        {"", &C::humidityTip, " Luftfeuchtigkeit: 81 %rF | Absolute Feuchte: 6,4 g/m³ "},
        {R"("RelativeHumidity":72.5,)", &C::trayTip, " Köln: Bewölkt | 7,4°C (4,9°C) | 72%rF | WSW 14,8km/h "},
        {R"("Pressure":{"Metric":{"Value":0}},)", &C::pressureTip, " Luftdruck: nicht verfügbar! "},
        {"", &C::pressureTip, " Luftdruck: 1016,3 mb "},
        {"", &C::trendGlyph, "\xF1"},
        {R"("PressureTendency":{"Code":" s "},)", &C::trendGlyph, "\xF0"},
        {R"("PressureTendency":{"Code":"F"},)", &C::trendTip, " Trend: fallend "},
        {R"("PressureTendency":{"Code":"X"},)", &C::trendGlyph, ""},
        {R"("PressureTendency":{"Code":"X"},)", &C::trendTip, " Trend:  "},
        {R"("PressureTendency":{"Code":""},)", &C::trendTip, " Trend: nicht verfügbar! "},
    };
    for (const auto& row : rows) {
        const C c = ReadCurrentConditions(std::string("{") + row.members + kConditions + "}", std::string("{") + kToday + "}",
                                          true, "Köln", locale);
        EXPECT_EQ(c.*row.field, row.expected) << row.members;
    }
    const std::pair<const char*, const char*> moons[] = {
        {"", " Mondphase: Abnehmender Halbmond (Tag 27) | Mond: 03:12 - 15:41 Uhr | Sonne: 07:21 - 16:44 Uhr "},
        {R"("Moon":{"Rise":null,"Set":"2015-11-09T15:41:00+01:00","Phase":"Blue"},)",
         " Mondphase nicht verfügbar | Mond: xx:xx - 15:41 Uhr | Sonne: 07:21 - 16:44 Uhr "}};
    for (const auto& [members, tip] : moons)
        EXPECT_EQ(ReadSunAndMoon(std::string("{") + members + kToday + "}", locale).moonTip, tip);
}

TEST(Refresh, UnknownPicturesClearTheLastRunsOnes) {
    Rig r;
    const std::string place = "{\"LocalizedName\":\"Köln\",\"Country\":{\"ID\":\"DE\"}}";
    const std::string today = std::string(R"({"DailyForecasts":[{)") + kToday + "}]}";
    r.Serve(place, std::string("[{") + kConditions + "}]", today);
    r.set.cChk_Click();
    EXPECT_EQ(std::vector({r.main.PicDay[0].Tile, r.main.PicWind.Tile, r.main.PicMoon.Tile}), std::vector({7, 4, 8}));
    r.Serve(place, std::string(R"([{"WeatherIcon":0,"Wind":{"Direction":{"English":"XYZ"}},)") + kConditions + "}]",
            std::string(R"({"DailyForecasts":[{"Moon":{"Phase":"Blue"},)") + kToday + "}]}");
    r.set.cChk_Click();
    EXPECT_EQ(std::vector({r.main.PicDay[0].Tile, r.main.PicWind.Tile, r.main.PicMoon.Tile}), std::vector({0, 0, 0}));
    EXPECT_FALSE(r.main.PicDay[0].Image || r.main.PicWind.Image || r.main.PicMoon.Image);
}

TEST(Refresh, BalloonOnlyForANewWeatherPicture) {
    Rig r;
    const std::string place = "{\"LocalizedName\":\"Köln\",\"Country\":{\"ID\":\"DE\"}}";
    r.set.ckBalloon.Value = 1;
    for (const char* icon : {"7", "7", "8"}) {
        r.Serve(place, std::string("[{\"WeatherIcon\":") + icon + "," + kConditions + "}]",
                std::string(R"({"DailyForecasts":[{)") + kToday + "}]}");
        r.set.cChk_Click();
    }
    const auto& calls = r.services.tray.calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].title, "Köln");
    EXPECT_EQ(calls[0].text, "Aktuelle Wetterlage:     Bewölkt\r\nTemperatur:                  7,4°C\r\n"
                             "Gefühlt:                         4,9°C\r\nLuftfeuchte:                  81 %rF\r\n"
                             "Wind aus Richtung:       WSW\r\nWindgeschwindigkeit:   14,8km/h\r\nWindböen bis:               29,6km/h");
    EXPECT_EQ(calls[0].flags, 1u);
    EXPECT_EQ(calls[0].timeout, 10000u);
    EXPECT_EQ(calls[1].text, "") << "same picture as before";
    EXPECT_EQ(calls[2].text, calls[0].text) << "a new picture brings the balloon back";
    EXPECT_TRUE(r.set.LastIcon == 8 && r.set.BalloonPending && r.set.BalloonTime == r.services.clock.seconds);
}

TEST(Refresh, ForecastTooltips) {
    FakeLocale locale;
    const UnitTexts units{"C", "km", "km/h", "mb", "mm"};
    const std::string sunny = R"("IconPhrase":"Sonnig","ShortPhrase":"Sonnig","CloudCover":5)";
    const std::pair<std::string, std::string> rows[] = {
        {sunny, " Sonnig | Wolkendecke: 5% "},
        {R"("IconPhrase":"Schauer","ShortPhrase":"Ein paar Schauer","CloudCover":80,"RainProbability":30,"Rain":{"Value":1.0,"Unit":"mm"})",
         " Schauer; Ein paar Schauer | Wolkendecke: 80% | Wahrscheinlichkeit für ...  Regen: 30% (1 mm) "},
        {R"("IconPhrase":"Regen","ShortPhrase":"Regen","CloudCover":90,"RainProbability":40,"Rain":{"Value":0.5,"Unit":"mm"})",
         " Regen | Wolkendecke: 90% | Wahrscheinlichkeit für ...  Regen: 40% (0,5 mm) "},
        {R"("IconPhrase":"Gewitter","ShortPhrase":"Gewitter","CloudCover":70,"ThunderstormProbability":20)",
         " Gewitter | Wolkendecke: 70% | Wahrscheinlichkeit für ...  Gewitter: 20% "},
        {R"("IconPhrase":"Schnee","ShortPhrase":"Schnee","CloudCover":100,"SnowProbability":50,"Snow":{"Value":2.5,"Unit":"cm"},"IceProbability":10)",
         " Schnee | Wolkendecke: 100% | Wahrscheinlichkeit für ...  Schnee: 50% (2.5 cm), Eisglätte: 10% "},
    };
    for (const auto& [half, tip] : rows) EXPECT_EQ(ReadForecastDay(R"({"Day":{)" + half + "}}", units, locale).dayIconTip, tip);

    const ForecastDay d = ReadForecastDay(
        R"({"Date":"2015-11-10T07:00:00+01:00","Night":{"Wind":{"Speed":{"Value":9.3},"Direction":{"Degrees":225,"Localized":"SW"}},)"
        R"("WindGust":{"Speed":{"Value":24.1}}},"AirAndPollen":[{"Name":"Grass","Value":0,"Category":"Low"}]})", units, locale);
    EXPECT_EQ(d.headingTip, " [DoppelKlick]:  Detailierte Vorhersage für Dienstag, 10.11.2015  »  Internet ");
    EXPECT_EQ(d.nightWind + d.nightWindTip, "SW Wind aus Richtung: SW (225°) | Geschwindigkeit: 9,3 km/h | Windböen bis 24,1 km/h möglich ");
    EXPECT_EQ(d.uv + d.uvTip, "? UV-Index: Unbekannt ");
}

}  // namespace
