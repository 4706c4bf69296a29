#pragma once
// Looking at what Wine drew: the face's font in the prefix and the colours of screenshot areas.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "WineSession.h"

namespace screen {

// Wine's own Tahoma (Debian's fonts-wine) is not found by every Wine build; put it where any
// Windows keeps its fonts, so the face is drawn in the font it is made for. Wingdings and Marlett
// stay missing: the face then draws its symbols itself.
inline void InstallTahoma(const WineSession& wine) {
    const std::filesystem::path fonts = std::filesystem::path(wine.Prefix()) / "drive_c/windows/Fonts";
    std::filesystem::create_directories(fonts);
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        const std::filesystem::path from = std::filesystem::path("/usr/share/wine/fonts") / file;
        if (std::filesystem::exists(from)) std::filesystem::copy_file(from, fonts / file, std::filesystem::copy_options::overwrite_existing);
    }
}

using Histogram = std::map<std::string, int>;  // "#RRGGBB" -> pixel count

// Colours of a rectangle of a picture file, counted.
inline Histogram Colours(const WineSession& wine, const std::string& png, int x, int y, int w, int h) {
    std::ostringstream cmd;
    cmd << "convert '" << png << "' -crop " << w << "x" << h << "+" << x << "+" << y
        << " +repage -depth 8 -format %c histogram:info:-";
    Histogram out;
    std::istringstream lines(wine.Run(cmd.str()).output);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        const auto hash = line.find('#');
        if (colon == std::string::npos || hash == std::string::npos) continue;
        out[line.substr(hash, 7)] += std::atoi(line.substr(0, colon).c_str());
    }
    return out;
}

inline int Count(const Histogram& h, const std::string& colour) {
    const auto it = h.find(colour);
    return it == h.end() ? 0 : it->second;
}

}  // namespace screen
