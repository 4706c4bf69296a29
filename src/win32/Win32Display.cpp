// The monitors' work areas and the taskbar's place (the monitor list itself is in Win32System.cpp).
#include "Win32Ports.h"

#include <shellapi.h>

namespace {

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::optional<MonitorArea> AreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
    return MonitorArea{FromRect(info.rcMonitor), FromRect(info.rcWork)};
}

}  // namespace

std::vector<MonitorArea> Win32Display::MonitorAreas() {
    std::vector<MonitorArea> result;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM out) -> BOOL {
            if (const auto area = AreaOf(monitor)) reinterpret_cast<std::vector<MonitorArea>*>(out)->push_back(*area);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&result));
    if (result.empty()) return Display::MonitorAreas();
    return result;
}

MonitorArea Win32Display::MonitorAt(int x, int y) {
    if (const auto area = AreaOf(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST))) return *area;
    return Display::MonitorAt(x, y);
}

ScreenRect Win32Display::TaskbarRect() {
    APPBARDATA data{};
    data.cbSize = sizeof data;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &data)) return {};
    return FromRect(data.rc);
}
