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

// The native build sits beside the weather server.
inline std::string NativeProbe() {
    return (fs::path(WG_SERVER_EXE).parent_path().parent_path() / "wgprobe" / "wgprobe").string();
}

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
