// The self-update and the manifest under Wine: the first start writes the manifest and restarts
// once; an update offered by the local server is installed and the new program runs, from a
// folder that Windows-1252 cannot spell; a wrong checksum leaves the program file as it was; an
// offer declined after a slow first refresh leaves the refresh's title.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "../doubles/WeatherServerProcess.h"
#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUpdateTitle = "Wolkenglas - Update";
const std::string kNextExe = std::string(WG_WINDOWS_BUILD_DIR) + "/src/win32/WolkenglasNext.exe";

std::string Contents(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds timeout) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !done(); std::this_thread::sleep_for(200ms))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// The processes of this session's program file, sampled from /proc until stopped: the first
// start lives only a moment before it restarts. Wine starts a process through a fork that ends
// at once; a process counts when two samples saw it.
class ProgramProcesses {
public:
    explicit ProgramProcesses(std::string prefix) : prefix_("WINEPREFIX=" + std::move(prefix)) {}
    ~ProgramProcesses() { Stop(); }
    std::size_t Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return static_cast<std::size_t>(
            std::count_if(seen_.begin(), seen_.end(), [](const auto& p) { return p.second > 1; }));
    }

private:
    void Sample() {
        for (; !stop_; std::this_thread::sleep_for(20ms)) {
            std::error_code ec;
            for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
                const std::string pid = it->path().filename();
                if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
                std::string line = Contents("/proc/" + pid + "/cmdline");
                std::replace(line.begin(), line.end(), '\0', ' ');
                // The program itself, not the desktop that starts it nor the script's cmd.exe.
                if (line.find("Wolkenglas.exe") == std::string::npos || line.find("explorer") != std::string::npos ||
                    line.find("cmd.exe") != std::string::npos ||
                    Contents("/proc/" + pid + "/environ").find(prefix_) == std::string::npos)
                    continue;
                ++seen_[pid];
            }
        }
    }
    std::string prefix_;
    std::map<std::string, int> seen_;
    std::atomic<bool> stop_ = false;
    std::thread thread_{[this] { Sample(); }};
};

struct UpdateRun {
    WeatherServerProcess server;
    WineSession wine;
    std::string original;
    UpdateRun(std::vector<std::string> serverArgs, const std::string& folder)
        : server(std::move(serverArgs)), wine(folder), original(Contents(wine.LinuxExe())) {
        wine.RegAdd(kSettingsKey, "Server.Update", server.Base() + "updates");
    }
    std::optional<std::string> Box(const std::string& other = "") {
        std::optional<std::string> found;
        WaitFor([&] {
            for (const std::string& id : wine.FindWindows(kUpdateTitle))
                if (id != other && wine.Geometry(id).viewable) found = id;
            return found.has_value();
        }, 60s);
        return found;
    }
    // Answers the offer with Yes (the default button); the box that follows it.
    std::optional<std::string> Accept() {
        wine.Start();
        const auto question = Box();
        if (!question) return std::nullopt;
        wine.Key(*question, "Return");
        return Box(*question);
    }
    std::string Version() const { return wine.RegQuery(kSettingsKey, "Version").value_or(""); }
};

TEST(UpdateE2E, ManifestAtFirstStartThenTheNextVersionIsInstalledFromLodz) {
    UpdateRun run({"--update-version", "1.55", "--update-file", kNextExe}, "\xC5\x81\xC3\xB3" "d\xC5\xBA");
    WineSession& wine = run.wine;
    ProgramProcesses processes(wine.Prefix());
    const auto done = run.Accept();
    ASSERT_TRUE(done) << "no question, or no message after the download";
    EXPECT_EQ(processes.Stop(), 2u) << "the first start restarts once, for the new manifest";
    EXPECT_EQ(Contents(wine.LinuxExe() + ".manifest"), Contents(WG_SOURCE_DIR "/tests/fixtures/manifest/Wolkenglas.exe.manifest"));
    wine.Screenshot("update-installed");
    wine.Key(*done, "Return");

    // The old program ends; the script removes it and starts the new one, which stores its version.
    EXPECT_TRUE(WaitFor([&] { return run.Version() == "1.55"; }, 60s)) << run.Version();
    EXPECT_TRUE(wine.WaitForWindow("Wolkenglas", 60s)) << "the new program shows no widget";
    wine.Screenshot("update-new-program");  // and no console window of the script
    EXPECT_EQ(Contents(wine.LinuxExe()), Contents(kNextExe));
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(wine.LinuxExe() + ".old"); }, 20s));
    EXPECT_FALSE(fs::exists(wine.LinuxExe() + ".new"));

    // The close marker and "/crc" in this folder.
    std::ofstream(wine.LinuxExe() + ".close") << "x";
    EXPECT_TRUE(wine.WaitForWindowGone("Wolkenglas", 10s));
    fs::remove(wine.LinuxExe() + ".close");
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(wine.LinuxExe() + ".old.bat"); }, 20s)) << "the script stays";
    const std::string crc = wine.Run("gzip -c '" + wine.LinuxExe() +
                                     "' | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' \\n' | tr a-f A-F").output;
    wine.Run("wineserver -p >/dev/null 2>&1 </dev/null");
    wine.Start("/crc");
    const auto box = wine.WaitForWindow("Wolkenglas:  CRC-Check", 60s);
    ASSERT_TRUE(box) << "no CRC report";
    EXPECT_EQ(wine.Clipboard(), crc);
    wine.Key(*box, "Return");
}

TEST(UpdateE2E, WrongChecksumLeavesTheProgramFileAsItWas) {
    UpdateRun run({"--update-version", "1.55", "--update-file", kNextExe, "--update-crc", "12345678"}, "Wolkenglas");
    const auto message = run.Accept();
    ASSERT_TRUE(message) << "no message about the checksum";
    run.wine.Screenshot("update-wrong-crc");
    run.wine.Key(*message, "Return");
    EXPECT_TRUE(run.wine.WaitForWindow("Wolkenglas", 60s)) << "the program goes on";
    EXPECT_EQ(Contents(run.wine.LinuxExe()), run.original);
    EXPECT_FALSE(fs::exists(run.wine.LinuxExe() + ".new") || fs::exists(run.wine.LinuxExe() + ".old"));
    EXPECT_EQ(run.Version(), "1.54");
}

TEST(UpdateE2E, DeclinedAfterASlowFirstRefreshLeavesTheGreenTitle) {
    UpdateRun run({"--update-version", "1.55", "--delay-ms", "2000"}, "Wolkenglas");
    WineSession& wine = run.wine;
    wine.InstallTahoma();
    wine.RegAdd(kSettingsKey, "Server.Source", "service");
    wine.RegAdd(kSettingsKey, "Server.Api", run.server.Base());
    wine.RegAdd(kSettingsKey, "Server.Satellite", run.server.Base());
    wine.RegAdd(kSettingsKey, "Location.Selected", "Berlin, Berlin, DE");
    wine.RegAdd(kSettingsKey, "Location.Key", "171001");
    wine.Start();
    const auto question = run.Box();
    ASSERT_TRUE(question) << "no question";
    // The refresh's last request: its outcome is in the title by now.
    ASSERT_TRUE(WaitFor([&] {
        for (const auto& request : run.server.Requests())
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
