// The settings file of the Linux hosts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "native/FileSettingsStore.h"

namespace {

namespace fs = std::filesystem;

std::optional<std::string> Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

}  // namespace

TEST(FileSettingsStore, Rules) {
    struct Row {
        const char* name;
        std::optional<std::string> before;  // file content at the start; nothing: no file
        std::function<void(FileSettingsStore&, const fs::path&)> act;
        std::vector<std::pair<std::string, std::string>> reads;  // key, expected (default "DEF")
        std::optional<std::string> after;                        // file content at the end
    };
    const auto none = [](FileSettingsStore&, const fs::path&) {};
    const std::vector<Row> rows = {
        {"missing file: defaults, and reading creates nothing", std::nullopt, none,
         {{"Metric", "DEF"}, {"Location.Key", "DEF"}}, std::nullopt},
        {"umlauts are written as UTF-8 and read back", std::nullopt,
         [](FileSettingsStore& s, const fs::path&) {
             s.Write("Korvelin", "AccuWeather", "Location.Selected", "M\xFCnchen, Deutschland");
             s.Write("Korvelin", "AccuWeather", "Location.Key", "171002");
         },
         {{"Location.Selected", "M\xFCnchen, Deutschland"}, {"location.key", "171002"}},
         "Location.Selected=M\xC3\xBCnchen, Deutschland\nLocation.Key=171002\n"},
        {"UTF-8 is read; damaged lines are skipped and kept; the later of two lines counts",
         "\xEF\xBB\xBF# Wolkenglas\r\ngarbage\n=no key\nMetric=0\r\nLocation.Selected=K\xC3\xB6ln\n"
         "Location.Key=old\nmetric=1\n",
         [](FileSettingsStore& s, const fs::path&) { s.Write("Korvelin", "AccuWeather", "Location.Key", "171006"); },
         {{"Metric", "1"}, {"Location.Selected", "K\xF6ln"}, {"Location.Key", "171006"}, {"garbage", "DEF"}},
         "# Wolkenglas\ngarbage\n=no key\nMetric=0\nLocation.Selected=K\xC3\xB6ln\nLocation.Key=171006\nmetric=1\n"},
        {"an override is read but never stored, until the program writes the key itself", "Metric=1\n",
         [](FileSettingsStore& s, const fs::path&) {
             s.Override("Metric", "0");
             s.Override("Location.Key", "171001");
             s.Override("Update", "0");
             s.Write("Korvelin", "AccuWeather", "BalloonTip", "0");
             s.Write("Korvelin", "AccuWeather", "Update", "1");
         },
         {{"Metric", "0"}, {"LOCATION.KEY", "171001"}, {"Update", "1"}}, "Metric=1\nBalloonTip=0\nUpdate=1\n"},
        {"a line break in a value cannot add a setting", std::nullopt,
         [](FileSettingsStore& s, const fs::path&) {
             s.Write("Korvelin", "AccuWeather", "Location.Selected", "Ort\r\nServer.Api=http://elsewhere/");
         },
         {{"Location.Selected", "Ort  Server.Api=http://elsewhere/"}, {"Server.Api", "DEF"}},
         "Location.Selected=Ort  Server.Api=http://elsewhere/\n"},
        {"delete removes every line of the key; deleting a missing key writes nothing", "Reload=1\nX=2\nreload=3\n",
         [](FileSettingsStore& s, const fs::path&) {
             s.Delete("Korvelin", "AccuWeather", "Reload");
             s.Delete("Korvelin", "AccuWeather", "Nothing");
         },
         {{"Reload", "DEF"}, {"X", "2"}}, "X=2\n"},
        {"a write keeps what was changed by hand since the start", "A=1\n",
         [](FileSettingsStore& s, const fs::path& file) {
             Put(file, "A=1\nB=2\n");
             s.Write("Korvelin", "AccuWeather", "C", "3");
         },
         {{"B", "2"}, {"C", "3"}}, "A=1\nB=2\nC=3\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        char pattern[] = "/tmp/wg-settings-XXXXXX";
        const fs::path dir = ::mkdtemp(pattern);
        const fs::path file = dir / "wolkenglas" / "settings.ini";
        if (row.before) {
            fs::create_directories(file.parent_path());
            Put(file, *row.before);
        }
        FileSettingsStore store(file, "Korvelin", "AccuWeather");
        row.act(store, file);
        for (const auto& [key, expected] : row.reads)
            EXPECT_EQ(store.Read("Korvelin", "AccuWeather", key, "DEF"), expected) << key;
        EXPECT_EQ(Slurp(file), row.after);
        EXPECT_FALSE(store.WriteFailed());
        // Nothing but the settings file is left behind.
        if (row.after) {
            EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1);
        }
        fs::remove_all(dir);
    }
}
