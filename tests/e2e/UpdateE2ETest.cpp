// The self-update and the manifest under Wine: two updates in a row from a folder whose name
// holds "%", "&" and Polish letters; a release that ends at once is rolled back; a wrong CRC, a
// page, a cut file and a DLL leave the program byte for byte; a manifest write cut off half-way
// leaves the old manifest; an offer declined after a slow first refresh leaves the refresh's title.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "../doubles/WeatherServerProcess.h"
#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUpdateTitle = "Wolkenglas - Update";
constexpr const char* kOddFolder = "100% \xC5\x81\xC3\xB3" "d\xC5\xBA & Co";  // 100% Łódź & Co
const std::string kBuild = std::string(WG_WINDOWS_BUILD_DIR) + "/src/win32/";

std::string Contents(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

std::set<std::string> Folder(const WineSession& wine) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(wine.LinuxExe()).parent_path()))
        names.insert(entry.path().filename().string());
    return names;
}

// Whether a process of this session's program still runs (its window may be gone before its
// instance lock is).
bool ProgramRunning(const WineSession& wine) {
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string proc = it->path().string();
        const std::string line = Contents(proc + "/cmdline");  // not the desktop that started it
        if (line.find("Wolkenglas.exe") != std::string::npos && line.find("explorer") == std::string::npos &&
            Contents(proc + "/environ").find("WINEPREFIX=" + wine.Prefix()) != std::string::npos)
            return true;
    }
    return false;
}

const std::set<std::string> kOnlyTheProgram{"Wolkenglas.exe", "Wolkenglas.exe.manifest"};

struct UpdateRun {
    WineSession wine;
    std::string original;
    explicit UpdateRun(const std::string& folder = "Wolkenglas") : wine(folder), original(Contents(wine.LinuxExe())) {}
    void Offer(const WeatherServerProcess& server) const {
        wine.RegAdd(kSettingsKey, "Server.Update", server.Base() + "updates");
    }
    // An update box other than `other`.
    std::optional<std::string> Box(const std::string& other = "") const {
        std::optional<std::string> found;
        WaitUntil([&] {
            for (const std::string& id : wine.FindWindows(kUpdateTitle))
                if (id != other && wine.Geometry(id).viewable) found = id;
            return found.has_value();
        }, 60s);
        return found;
    }
    std::string Version() const { return wine.RegQuery(kSettingsKey, "Version").value_or(""); }
    // Ends the program through its close marker; true when it has gone.
    bool Close() const {
        std::ofstream(wine.LinuxExe() + ".close") << "x";
        const bool gone = wine.WaitForWindowGone("Wolkenglas", 30s) && WaitUntil([&] { return !ProgramRunning(wine); }, 30s);
        fs::remove(wine.LinuxExe() + ".close");
        return gone;
    }
};

TEST(UpdateE2E, TwoUpdatesInARowFromAFolderWithPercentAndPolishLetters) {
    WeatherServerProcess first({"--update-version", "1.55", "--update-file", kBuild + "WolkenglasNext.exe"});
    WeatherServerProcess second({"--update-version", "1.56", "--update-file", kBuild + "WolkenglasNext2.exe"});
    UpdateRun run(kOddFolder);
    WineSession& wine = run.wine;
    run.Offer(first);
    wine.Start();
    auto question = run.Box();
    ASSERT_TRUE(question) << "no offer of 1.55";
    EXPECT_EQ(Contents(wine.LinuxExe() + ".manifest"),
              Contents(WG_SOURCE_DIR "/tests/fixtures/manifest/Wolkenglas.exe.manifest"));
    run.Offer(second);  // what the program the update starts will find
    for (const char* version : {"1.55", "1.56"}) {
        wine.Key(*question, "Return");
        const auto done = run.Box(*question);
        ASSERT_TRUE(done) << version << ": no message after the download";
        wine.Key(*done, "Return");
        // The old program ends; the script starts the new one, which stores its version, and then
        // removes the old program and itself.
        EXPECT_TRUE(WaitUntil([&] { return run.Version() == version; }, 90s)) << version << ": " << run.Version();
        EXPECT_TRUE(WaitUntil([&] { return Folder(wine) == kOnlyTheProgram; }, 30s)) << version << " left files beside it";
        EXPECT_EQ(Contents(wine.LinuxExe()), Contents(kBuild + (version == std::string("1.55") ? "WolkenglasNext.exe"
                                                                                              : "WolkenglasNext2.exe")));
        if (version == std::string("1.55")) {
            question = run.Box(*done);  // the new program finds 1.56
            ASSERT_TRUE(question) << "the program the first update started finds no second one";
        }
    }
    EXPECT_TRUE(wine.WaitForWindow("Wolkenglas", 60s)) << "1.56 shows no widget";
    wine.Screenshot("update-second-installed");
}

// The new program ends before it has stored its version: the script puts the old one back and
// starts it, and it offers the update again.
TEST(UpdateE2E, AReleaseThatEndsAtOnceIsRolledBack) {
    WeatherServerProcess server({"--update-version", "1.55", "--update-file", kBuild + "WolkenglasQuits.exe"});
    UpdateRun run(kOddFolder);
    run.Offer(server);
    run.wine.Start();
    const auto question = run.Box();
    ASSERT_TRUE(question);
    run.wine.Key(*question, "Return");
    const auto done = run.Box(*question);
    ASSERT_TRUE(done) << "the download was refused";
    run.wine.Key(*done, "Return");
    const auto again = run.Box(*done);
    ASSERT_TRUE(again) << "the old program did not come back";
    EXPECT_EQ(Contents(run.wine.LinuxExe()), run.original);
    EXPECT_TRUE(WaitUntil([&] { return Folder(run.wine) == kOnlyTheProgram; }, 30s));
    EXPECT_EQ(run.Version(), "1.54");
}

// Downloads that must never become the program: each leaves it byte for byte.
TEST(UpdateE2E, WrongCrcPageCutFileAndDllLeaveTheProgram) {
    UpdateRun run;
    const std::string cut = run.wine.Prefix() + "/WolkenglasCut.exe";
    std::ofstream(cut, std::ios::binary) << Contents(kBuild + "WolkenglasNext.exe").substr(0, 200000);
    const std::string page = run.wine.Prefix() + "/page.exe";
    std::ofstream(page, std::ios::binary) << "<html><body>Wartungsarbeiten</body></html>";
    const std::string dll = run.wine.Prefix() + "/drive_c/windows/system32/version.dll";
    struct Case { const char* name; std::vector<std::string> args; bool message; };
    const Case cases[] = {
        {"wrong CRC", {"--update-file", kBuild + "WolkenglasNext.exe", "--update-crc", "12345678"}, true},
        {"page", {"--update-file", page}, false},
        {"cut file", {"--update-file", cut}, true},
        {"DLL", {"--update-file", dll}, true},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--update-version", "1.55"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        WeatherServerProcess server(args);
        run.Offer(server);
        run.wine.Start();
        const auto question = run.Box();
        ASSERT_TRUE(question) << c.name;
        run.wine.Key(*question, "Return");
        if (c.message) {
            const auto message = run.Box(*question);
            ASSERT_TRUE(message) << c.name << ": no message";
            run.wine.Key(*message, "Return");
        } else {
            EXPECT_TRUE(WaitUntil([&] { return server.Requests().size() >= 2; }, 30s)) << c.name << ": no download";
        }
        // The close marker is read only after the check has returned.
        EXPECT_TRUE(run.Close()) << c.name;
        EXPECT_EQ(Contents(run.wine.LinuxExe()), run.original) << c.name;
        EXPECT_EQ(Folder(run.wine), kOnlyTheProgram) << c.name;
        EXPECT_EQ(run.Version(), "1.54") << c.name;
    }
}

// A write cut off half-way (a file size limit: write() fails after 2 KiB) leaves the old manifest,
// and the program starts without restarting for it.
TEST(UpdateE2E, ManifestWriteCutOffHalfWayLeavesTheOldOne) {
    UpdateRun run;
    std::string old = Contents(WG_SOURCE_DIR "/tests/fixtures/manifest/Wolkenglas.exe.manifest");
    old.replace(old.find("1.54.0.0"), 8, "1.53.0.0");
    ASSERT_GT(old.size(), 2048u);
    std::ofstream(run.wine.LinuxExe() + ".manifest", std::ios::binary) << old;
    const std::string command = "trap '' XFSZ; ulimit -f 2; wine explorer /desktop=shell,1280x800 " +
                                ShellQuote(run.wine.WinExe()) + " >/dev/null 2>&1 &";
    run.wine.Run("setsid sh -c " + ShellQuote(command));
    EXPECT_TRUE(run.wine.WaitForWindow("Wolkenglas", 60s)) << "the program does not start";
    EXPECT_EQ(run.Version(), "1.54");
    EXPECT_EQ(Contents(run.wine.LinuxExe() + ".manifest"), old);
    EXPECT_EQ(Folder(run.wine), kOnlyTheProgram);
}

TEST(UpdateE2E, DeclinedAfterASlowFirstRefreshLeavesTheGreenTitle) {
    WeatherServerProcess server({"--update-version", "1.55", "--delay-ms", "2000"});
    UpdateRun run;
    WineSession& wine = run.wine;
    wine.InstallTahoma();
    run.Offer(server);
    wine.RegAdd(kSettingsKey, "Server.Source", "service");
    wine.RegAdd(kSettingsKey, "Server.Api", server.Base());
    wine.RegAdd(kSettingsKey, "Server.Satellite", server.Base());
    wine.RegAdd(kSettingsKey, "Location.Selected", "Berlin, Berlin, DE");
    wine.RegAdd(kSettingsKey, "Location.Key", "171001");
    wine.Start();
    const auto question = run.Box();
    ASSERT_TRUE(question) << "no question";
    // The refresh's last request: its outcome is in the title by now.
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& request : server.Requests())
            if (!request.empty() && request[0].find("iseur3.jpg") != std::string::npos) return true;
        return false;
    }, 60s)) << "no satellite request";
    wine.Key(*question, "n");
    ASSERT_TRUE(wine.WaitForWindowGone(kUpdateTitle, 20s)) << "the question stays";
    EXPECT_FALSE(wine.WaitForWindow("Wolkenglas:  Lade Daten, bitte warten ...", 3s)) << "the loading text came back";
    const auto id = wine.WaitForWindow("Wolkenglas:  Berlin", 5s);
    ASSERT_TRUE(id) << "the title is not the refresh's";
    const WindowGeometry g = wine.Geometry(*id);
    EXPECT_GT(screen::Count(screen::Colours(wine, wine.Screenshot("update-declined"), g.x + 5, g.y + 2, 358, 15), "#80FF80"), 30);
}

}  // namespace
