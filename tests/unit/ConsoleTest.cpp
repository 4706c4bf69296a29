// The console front end `wolkenglas`: its command line, its JSON and text output of the widget,
// and the program itself against the local weather server.
#include <gtest/gtest.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "console/CommandLine.h"
#include "console/FaceJson.h"
#include "console/FaceText.h"
#include "console/SheetPictures.h"
#include "doubles/FakePorts.h"
#include "doubles/WeatherServerProcess.h"
#include "unit/reference/ReplyCorpus.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

namespace fs = std::filesystem;
using corpus::ReadFile;
using nlohmann::json;
using Controls = std::map<std::pair<std::string, int>, json>;

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs the wolkenglas binary through the shell; the test's paths need no quoting.
ProgramRun RunConsoleProgram(const std::string& env, const std::string& args) {
    char pattern[] = "/tmp/wg-console-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern);
    const std::string command = "env " + env + " " WG_CONSOLE_EXE " " + args + " >" + (dir / "out").string() +
                                " 2>" + (dir / "err").string();
    const int status = std::system(command.c_str());
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir / "out"), ReadFile(dir / "err")};
    fs::remove_all(dir);
    return run;
}

Controls ByName(const json& face) {
    Controls controls;
    for (const json& c : face["controls"]) controls[{c["name"], c["index"]}] = c;
    EXPECT_EQ(controls.size(), face["controls"].size()) << "a control appears twice";
    return controls;
}

// A face as the start sequence leaves it: design-time placeholders cleared.
struct Face {
    FakePorts fake;
    FakeWindow window;
    frmMain main{fake.ports, window};
    Face() { main.ClearLabels(); }
};

}  // namespace

TEST(ConsoleCommandLine, OptionsAndUsageErrors) {
    using Args = std::vector<std::string>;
    const auto ok = std::get<ConsoleOptions>(ParseCommandLine(
        Args{"--json", "--settings", "/x/s.ini", "--set", "Metric=0", "--set=Location.Selected=M\xC3\xBCnchen=Ort"}));
    EXPECT_TRUE(ok.json);
    EXPECT_EQ(ok.settingsFile, "/x/s.ini");
    EXPECT_EQ(ok.overrides, (decltype(ok.overrides){{"Metric", "0"}, {"Location.Selected", "M\xFCnchen=Ort"}}));
    const std::pair<Args, const char*> errors[] = {
        {{"--bogus"}, "Unbekannte Option"}, {{"--set"}, "braucht einen Wert"},  {{"--set", "Metric"}, "--set erwartet"},
        {{"--set", "=1"}, "--set erwartet"}, {{"--json=1"}, "nimmt keinen Wert"}, {{"--settings="}, "Dateinamen"},
        {{"--choose", "1"}, "nur mit --search"}, {{"--search", "x", "--choose", "0"}, "--choose erwartet"}};
    for (const auto& [args, text] : errors) {
        const auto parsed = ParseCommandLine(args);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << args[0];
        EXPECT_NE(std::get<std::string>(parsed).find(text), std::string::npos) << std::get<std::string>(parsed);
    }
}

TEST(ConsoleOutput, JsonHoldsEveryControlWithItsTileInEscapedUtf8) {
    const std::pair<std::string, std::string> strings[] = {
        {"Gef\xFChlt: 3\xB0" "C", "\"Gef\xC3\xBChlt: 3\xC2\xB0" "C\""},
        {"a\"b\\c/d", "\"a\\\"b\\\\c/d\""},
        {"Zeile\r\nzwei\tdrei", "\"Zeile\\r\\nzwei\\tdrei\""},
        {std::string("\x01\x1F\x7F", 3), "\"\\u0001\\u001F\x7F\""},
        {"\x80 \x81", "\"\xE2\x82\xAC \xC2\x81\""}};
    for (const auto& [text, expected] : strings) EXPECT_EQ(JsonString(text), expected);
    EXPECT_EQ(HexColour(0x00FF80), "#00FF80");

    Face face;
    frmMain& m = face.main;
    LoadSheetPictures(m);
    m.lTitle[0].Caption = "FEHLER:  K\xF6ln";
    m.lTitle[0].ToolTipText = " FEHLER:  K\xF6ln ";
    m.lTitle[0].ForeColor = 0xFFB0B0;
    m.lDay[0].Caption = "AKTUELL:\r\n09.11.  14:35";
    m.lTemp[0].ToolTipText = " Temperatur: 12,3\xB0" "C ";
    ASSERT_TRUE(PicMap(m.PicIcon, m.PicDay[1], 0, 0, 10, 5, 7, 1, 1.0f));
    ASSERT_TRUE(PicMap(m.PicIconMoon, m.PicMoon, 0, 0, 8, 1, 3, 1, 1.0f));
    ASSERT_TRUE(PicMap(m.PicIconWind, m.PicWind, 0, 0, 8, 2, 16, 1, 1.0f));
    PicCls(m.PicMoon);
    const json j = json::parse(FaceJson(m, {" K\xF6ln: sonnig ", "K\xF6ln", "Zeile 1\r\nZeile 2"}));
    // Literals here are Windows-1252 like the core's, so UTF-8 is written as escapes.
    EXPECT_EQ(j["title"]["caption"], "FEHLER:  K\xC3\xB6ln");
    EXPECT_EQ(j["title"]["color"], "#FFB0B0");
    EXPECT_EQ(j["title"]["tooltip"], " FEHLER:  K\xC3\xB6ln ");
    EXPECT_EQ(j["tray"]["tip"], " K\xC3\xB6ln: sonnig ");
    EXPECT_EQ(j["tray"]["balloonTitle"], "K\xC3\xB6ln");
    EXPECT_EQ(j["tray"]["balloonText"], "Zeile 1\r\nZeile 2");
    const Controls c = ByName(j);
    EXPECT_EQ(c.at({"lDay", 0})["caption"], "AKTUELL:\r\n09.11.  14:35");
    EXPECT_EQ(c.at({"lTemp", 0})["tooltip"], " Temperatur: 12,3\xC2\xB0" "C ");
    EXPECT_EQ(c.at({"PicDay", 1})["tile"], 7);
    EXPECT_EQ(c.at({"PicWind", -1})["tile"], 16);
    for (const auto& none : {std::pair<std::string, int>{"PicMoon", -1}, {"PicDay", 0}, {"lTemp", 0}})
        EXPECT_TRUE(c.at(none)["tile"].is_null()) << none.first;
    EXPECT_TRUE(c.at({"PicDay", 0})["caption"].is_null());
    // Every element that the window has, and none that it lacks.
    for (const auto& present : {std::pair<std::string, int>{"lTitle", 1}, {"lTempG", 0}, {"lTempL", 7}, {"lUV", 7},
                                {"PicNight", 7}, {"PicSat", -1}, {"PicIcon", -1}, {"PicTray", -1}, {"Pic", -1}})
        EXPECT_TRUE(c.count(present)) << present.first << present.second;
    for (const auto& absent : {std::pair<std::string, int>{"lTempL", 0}, {"lTempG", 1}, {"PicNight", 0}})
        EXPECT_FALSE(c.count(absent)) << absent.first << absent.second;
}

// Needs the refresh (frmSet::cChk_Click).
TEST(ConsoleProgram, RefreshAgainstTheLocalServer) {
    WeatherServerProcess server({"--date", "2026-07-09", "--time", "16:21"});
    ASSERT_GT(server.port(), 0);
    char pattern[] = "/tmp/wg-console-run-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern);
    const fs::path settings = dir / "settings.ini";
    const std::string stored = "Server.Source=service\nServer.Api=" + server.Base() + "\nServer.Satellite=" +
                               server.Base() + "\nLocation.Selected=Berlin\nLocation.Key=999999\n";
    std::ofstream(settings, std::ios::binary) << stored;
    const std::string env = "LC_ALL=de_DE.UTF-8 TZ=Europe/Berlin";

    // The server's current conditions, read here on their own for the expected texts.
    httplib::Client client("127.0.0.1", server.port());
    const auto reply = client.Get(
        "/currentconditions/v1/171001?language=de-DE&details=true&metric=true&apikey=k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe");
    ASSERT_TRUE(reply);
    const json now = json::parse(reply->body)[0];
    char digits[32];  // the server sends one decimal, so "%.1f" rounds nothing
    std::snprintf(digits, sizeof digits, "%.1f\xC2\xB0" "C", now["Temperature"]["Metric"]["Value"].get<double>());
    std::string temperature = digits;
    temperature[temperature.find('.')] = ',';

    const ProgramRun run =
        RunConsoleProgram(env, "--settings " + settings.string() + " --json --set Location.Key=171001");
    ASSERT_EQ(run.status, 0) << run.err;
    const json j = json::parse(run.out);
    EXPECT_EQ(j["title"]["caption"], "Wolkenglas:  Berlin");
    EXPECT_EQ(j["title"]["color"], "#80FF80");
    const Controls c = ByName(j);
    EXPECT_EQ(c.at({"lTemp", 0})["caption"], temperature);
    EXPECT_EQ(c.at({"PicDay", 0})["tile"], now["WeatherIcon"]);
    EXPECT_EQ(c.at({"lDay", 1})["caption"], "DO 09.07.");
    EXPECT_EQ(c.at({"lDay", 2})["caption"], "FR 10.07.");
    EXPECT_EQ(c.at({"PicSat", -1})["visible"], true);
    EXPECT_EQ(j["tray"]["tip"].get<std::string>().rfind(" Berlin: " + now["WeatherText"].get<std::string>(), 0), 0u);
    EXPECT_EQ(ReadFile(settings), stored);  // the override was not stored

    WeatherServerProcess failing({"--status", "503"});
    std::ofstream(settings, std::ios::binary) << "Server.Source=service\nServer.Api=" << failing.Base()
                                              << "\nLocation.Selected=Berlin\nLocation.Key=171001\n";
    const ProgramRun failed = RunConsoleProgram(env, "--settings " + settings.string());
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("FEHLER:  503 - Service Unavailable"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.out.rfind("FEHLER:  503 - Service Unavailable\n", 0), 0u) << failed.out;
    const ProgramRun failedSearch = RunConsoleProgram(env, "--search Berlin --settings " + settings.string());
    EXPECT_EQ(std::tie(failedSearch.status, failedSearch.out, failedSearch.err),
              std::make_tuple(1, std::string(), std::string("FEHLER:  503 - Service Unavailable\n")));

    // A forecast without days is a failed refresh, not a green title over empty columns.
    fs::create_directory(dir / "data");
    std::ofstream(dir / "data" / "forecasts_v1_daily_10day_171001.json") << R"({"DailyForecasts":[]})";
    WeatherServerProcess noDays({"--data", (dir / "data").string()});
    std::ofstream(settings, std::ios::binary) << "Server.Source=service\nServer.Api=" << noDays.Base() << "\nLocation.Selected=Berlin\nLocation.Key=171001\n";
    const ProgramRun empty = RunConsoleProgram(env, "--settings " + settings.string());
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("FEHLER:  Server lieferte keine Wetter-Vorhersage."), std::string::npos) << empty.err;
    fs::remove_all(dir);
}

// Needs the place search (frmSet::cSearch_Click, ListCities).
TEST(ConsoleProgram, SearchListsPlacesAndChoosingOneStoresAndRefreshesIt) {
    WeatherServerProcess server({"--date", "2026-07-09", "--time", "16:21"});
    ASSERT_GT(server.port(), 0);
    // The service's and the keyless source's paths of the same server list the same places.
    for (const char* source : {"service", "open-meteo"}) {
        SCOPED_TRACE(source);
        char pattern[] = "/tmp/wg-console-search-XXXXXX";
        const fs::path dir = ::mkdtemp(pattern);
        const fs::path settings = dir / "settings.ini";
        const std::string stored = "Server.Source=" + std::string(source) + "\nServer.Api=" + server.Base() +
                                   "\nServer.Geocoding=" + server.Base() + "\nServer.Forecast=" + server.Base() +
                                   "\nServer.Satellite=" + server.Base() + "\nLocation.Selected=Berlin\nLocation.Key=171001\n";
        std::ofstream(settings, std::ios::binary) << stored;
        const std::string env = "LC_ALL=de_DE.UTF-8 TZ=Europe/Berlin";
        const std::string with = " --settings " + settings.string();

        const ProgramRun listed = RunConsoleProgram(env, "--search Neustadt" + with);
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_EQ(listed.out, "1. DE: 23730 Neustadt, Schleswig-Holstein, Deutschland\n"
                              "2. DE: 96465 Neustadt, Bayern, Deutschland\n");
        // A name beyond Windows-1252 goes out as the UTF-8 typed and comes back as itself.
        const ProgramRun polish = RunConsoleProgram(env, "--search \xC5\x81\xC3\xB3" "d\xC5\xBA" + with);
        EXPECT_EQ(polish.out, "1. PL: 90-001 \xC5\x81\xC3\xB3" "d\xC5\xBA, Polen\n") << polish.err;
        EXPECT_NE(server.Requests().back().at(0).find("=%C5%81%C3%B3d%C5%BA&"), std::string::npos);
        const ProgramRun none = RunConsoleProgram(env, "--search Atlantis" + with);
        EXPECT_EQ(std::tie(none.status, none.out, none.err), std::make_tuple(1, std::string(), std::string("Wolkenglas:  Kein Ort gefunden.\n")));
        EXPECT_EQ(RunConsoleProgram(env, "--search Neustadt --choose 3" + with).status, 2);
        EXPECT_EQ(ReadFile(settings), stored);  // listing stores nothing

        const ProgramRun chosen = RunConsoleProgram(env, "--search Neustadt --choose 2 --json" + with);
        ASSERT_EQ(chosen.status, 0) << chosen.err;
        EXPECT_EQ(json::parse(chosen.out)["title"]["caption"], "Wolkenglas:  Neustadt");
        const std::string after = ReadFile(settings);
        EXPECT_NE(after.find("Location.Selected=DE: 96465 Neustadt, Bayern, Deutschland\n"), std::string::npos) << after;
        EXPECT_NE(after.find("Location.Key=171009\n"), std::string::npos) << after;
        EXPECT_EQ(json::parse(chosen.out)["title"]["color"], "#80FF80");
        fs::remove_all(dir);
    }
}
