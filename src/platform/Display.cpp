#include "platform/Display.h"

#include <algorithm>
#include <limits>

std::vector<MonitorArea> Display::MonitorAreas() {
    std::vector<MonitorArea> out;
    for (const ScreenRect& r : Monitors()) out.push_back({r, r});
    return out;
}

MonitorArea Display::MonitorAt(int x, int y) { return NearestMonitor(MonitorAreas(), x, y); }

MonitorArea NearestMonitor(const std::vector<MonitorArea>& monitors, int x, int y) {
    MonitorArea best{};
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const MonitorArea& m : monitors) {
        const ScreenRect& r = m.bounds;
        // Distance to the rectangle: 0 inside it (right and bottom edges are outside).
        const long long dx = x < r.left ? r.left - x : x >= r.right ? x - (r.right - 1) : 0;
        const long long dy = y < r.top ? r.top - y : y >= r.bottom ? y - (r.bottom - 1) : 0;
        const long long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = m;
        }
    }
    return best;
}
