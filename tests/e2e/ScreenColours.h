#pragma once
// Looking at what Wine drew: the colours of screenshot areas.
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "WineSession.h"

namespace screen {

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
