#pragma once
#include <vector>

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A monitor: its whole area and the part of it that the taskbar and other desktop toolbars
// leave free.
struct MonitorArea {
    ScreenRect bounds;
    ScreenRect work;
};

// What the desktop looks like now: monitors and the screen's twips per pixel.
class Display {
public:
    virtual ~Display() = default;
    virtual std::vector<ScreenRect> Monitors() = 0;
    virtual float TwipsPerPixelX() = 0;
    virtual float TwipsPerPixelY() = 0;

    // Every monitor with its work area; without a platform answer the work area is the monitor.
    virtual std::vector<MonitorArea> MonitorAreas();
    // The monitor that holds the point, or the nearest one when none does.
    virtual MonitorArea MonitorAt(int x, int y);
    // The taskbar's rectangle in pixels; all zero when it cannot be read.
    virtual ScreenRect TaskbarRect() { return {}; }
};

// The monitor of `monitors` that holds the point, else the one nearest to it; an empty list
// gives an empty area.
MonitorArea NearestMonitor(const std::vector<MonitorArea>& monitors, int x, int y);
