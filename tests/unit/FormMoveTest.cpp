// Dragging with snapping to the screen, the taskbar and other monitors; the monitor choice and the
// way back on screen.
#include <gtest/gtest.h>

#include "doubles/FakePorts.h"
#include "system/mFormMove.h"

namespace {

constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr ScreenRect kBottomBar{0, 1040, 1920, 1080};  // 40 pixels at the bottom
constexpr ScreenRect kTopBar{0, 0, 1920, 30};
constexpr ScreenRect kLeftBar{0, 0, 60, 1080};
constexpr ScreenRect kLeftMonitor{-1280, 56, 0, 1080};  // a second monitor left of the primary one

TEST(FormMove, SnapRulesInTheirOrder) {
    struct Row {
        const char* what;
        ScreenRect taskbar;
        int left, top, width, height;  // the window before the step
        int x, y;                      // pointer relative to the window; the grab point is 100, 50
        int button, dock;
        int wantLeft, wantTop;
    };
    const Row rows[] = {
        {"free move", kBottomBar, 500, 400, 388, 213, 130, 35, 1, 8, 530, 385},
        {"left edge within 8", kBottomBar, 20, 400, 388, 213, 88, 50, 1, 8, 0, 400},
        {"left edge 9 away", kBottomBar, 20, 400, 388, 213, 89, 50, 1, 8, 9, 400},
        {"top edge, beyond it", kBottomBar, 500, 20, 388, 213, 100, 10, 1, 8, 500, 0},
        {"right edge", kBottomBar, 1500, 400, 388, 213, 124, 50, 1, 8, 1532, 400},
        {"right edge 9 away", kBottomBar, 1500, 400, 388, 213, 123, 50, 1, 8, 1523, 400},
        {"bottom taskbar", kBottomBar, 500, 800, 388, 213, 100, 69, 1, 8, 500, 827},
        {"bottom taskbar 9 away", kBottomBar, 500, 800, 388, 213, 100, 68, 1, 8, 500, 818},
        {"top taskbar", kTopBar, 500, 60, 388, 213, 100, 28, 1, 8, 500, 30},
        {"top taskbar, screen bottom", kTopBar, 500, 860, 388, 213, 100, 55, 1, 8, 500, 867},
        {"left taskbar is an edge", kLeftBar, 100, 400, 388, 213, 65, 50, 1, 8, 60, 400},
        {"unreadable taskbar", ScreenRect{}, 500, 1000, 388, 213, 100, 50, 1, 8, 500, 867},
        {"wider than the screen", kBottomBar, 10, 400, 2000, 213, 90, 50, 1, 8, -80, 400},
        {"snapping off", kBottomBar, 20, 20, 388, 213, 30, 0, 1, 0, -50, -30},
        {"right button", kBottomBar, 20, 400, 388, 213, 90, 50, 2, 8, 20, 400},
        {"left and right", kBottomBar, 20, 400, 388, 213, 90, 50, 3, 8, 20, 400},
        {"second monitor: its left edge", kBottomBar, -1270, 500, 388, 213, 95, 50, 1, 8, -1280, 500},
        {"second monitor: its own top", kBottomBar, -900, 60, 388, 213, 100, 48, 1, 8, -900, 56},
        {"second monitor: its own bottom", kBottomBar, -900, 850, 388, 213, 100, 65, 1, 8, -900, 867},
    };
    for (const Row& r : rows) {
        FakeDisplay display;
        display.monitors = {kScreen, kLeftMonitor};
        display.taskbar = r.taskbar;
        if (r.taskbar.right == 60) display.work = {{60, 0, 1920, 1080}};
        if (r.taskbar.bottom == 30) display.work = {{0, 30, 1920, 1080}};
        FakeWindow window;
        window.left = r.left;
        window.top = r.top;
        FormMove(display, window, r.width, r.height, 0, 100, 50, r.dock);
        FormMove(display, window, r.width, r.height, r.button, r.x, r.y, r.dock);
        EXPECT_EQ(window.left, r.wantLeft) << r.what;
        EXPECT_EQ(window.top, r.wantTop) << r.what;
        EXPECT_EQ(FormMoveState().CurX, r.x) << r.what;
    }
}

TEST(FormMove, MonitorChoiceAndTheWayBack) {
    const std::vector<MonitorArea> monitors = {{kScreen, {0, 0, 1920, 1040}}, {kLeftMonitor, kLeftMonitor},
                                               {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}}};
    struct Point { int x, y, monitor; };
    for (const Point& p : {Point{10, 10, 0}, Point{-1, 500, 1}, Point{1919, 5, 0}, Point{1920, 5, 2},
                           Point{-500, 20, 1}, Point{5000, -300, 2}, Point{900, 2000, 0}})
        EXPECT_EQ(NearestMonitor(monitors, p.x, p.y).bounds.left, monitors[p.monitor].bounds.left) << p.x << "," << p.y;
    EXPECT_EQ(NearestMonitor({}, 1, 1).bounds.Width(), 0);

    FakeDisplay display;
    display.work = {{0, 0, 1920, 1040}};
    struct Row { ScreenRect window; std::optional<ScreenPoint> back; };
    const Row rows[] = {
        {{1800, 900, 2188, 1113}, std::nullopt},             // enough of it shows
        {{2500, 300, 2888, 513}, ScreenPoint{1532, 300}},    // its monitor has gone
        {{-900, 1200, -512, 1413}, ScreenPoint{0, 827}},     // below and left of everything
        {{-3000, 10, 2000, 223}, std::nullopt},              // wider than the screen, on it
        {{5000, 10, 10000, 223}, ScreenPoint{0, 10}},        // too wide to fit: its left edge
    };
    for (const Row& r : rows) EXPECT_EQ(BringBack(display, r.window), r.back) << r.window.left;
}

}  // namespace
