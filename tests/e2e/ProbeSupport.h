#pragma once
// What the HTTP and registry end-to-end tests share: wgprobe run under Wine and natively.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../doubles/WeatherServerProcess.h"
#include "WineSession.h"

namespace probe {

namespace fs = std::filesystem;

// The native build sits beside the weather server, the Windows build in the Windows build tree.
inline std::string NativeProbe() {
    return (fs::path(WG_SERVER_EXE).parent_path().parent_path() / "wgprobe" / "wgprobe").string();
}
inline std::string WindowsProbe() { return std::string(WG_WINDOWS_BUILD_DIR) + "/tools/wgprobe/wgprobe.exe"; }

inline std::string Join(const std::vector<std::string>& args) {
    std::string line;
    for (const auto& a : args) line += " " + ShellQuote(a);
    return line;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs wgprobe.exe in the session's prefix; its standard output only.
inline std::string RunWine(const WineSession& wine, const std::vector<std::string>& args) {
    const std::string exe = wine.Prefix() + "/drive_c/Wolkenglas/wgprobe.exe";
    if (!fs::exists(exe)) fs::copy_file(WindowsProbe(), exe, fs::copy_options::overwrite_existing);
    const std::string out = wine.Prefix() + "/probe-output.txt";
    wine.Run("wine 'C:\\Wolkenglas\\wgprobe.exe'" + Join(args) + " >" + ShellQuote(out) + " 2>/dev/null </dev/null");
    return ReadFile(out);
}

// Runs the native wgprobe, in an environment without the WOW64 marker (as Wine gives a 64-bit program).
inline std::string RunNative(const std::vector<std::string>& args) {
    const std::string out = fs::temp_directory_path() / ("wgprobe-" + std::to_string(::getpid()) + ".txt");
    const std::string command = "env -u PROCESSOR_ARCHITEW6432 " + ShellQuote(NativeProbe()) + Join(args) + " >" +
                                ShellQuote(out) + " 2>/dev/null </dev/null";
    if (std::system(command.c_str()) == -1) return {};
    std::string text = ReadFile(out);
    fs::remove(out);
    return text;
}

}  // namespace probe
