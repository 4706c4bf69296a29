#pragma once
// Moving a borderless window by dragging it: the drag step with its snapping to the edges of the
// screen and the taskbar, the taskbar queries, and where a window goes back to when the monitors
// change.
#include <optional>
#include <vector>

#include "platform/Display.h"
#include "platform/WindowView.h"

// Edges reported by GetTaskbarEdge.
inline constexpr int kTaskbarLeft = 0;
inline constexpr int kTaskbarRight = 1;
inline constexpr int kTaskbarTop = 2;
inline constexpr int kTaskbarBottom = 3;

// The edge of `screen` that the taskbar lies on: a taskbar at least as high as the screen is
// vertical (right when its left lies right of the screen's), any other is horizontal (bottom when
// its top lies below the screen's).
int GetTaskbarEdge(const ScreenRect& taskbar, const ScreenRect& screen);
// The taskbar's thickness down to the screen's bottom edge (a part beyond it does not count).
int GetTaskbarSize(const ScreenRect& taskbar, const ScreenRect& screen);

// The edges a window dragged on monitor `m` snaps to: the work area's left and right; above and
// below, the taskbar when it lies at the top or bottom of this monitor, else the work area's.
ScreenRect SnapLimits(const MonitorArea& m, const ScreenRect& taskbar);

// The pointer position of the latest drag step and the grab point (the pointer position of the
// latest step without a pressed button). One state shared by every window that is dragged.
struct DragState {
    int CurX = 0, CurY = 0;
    int GrabX = 0, GrabY = 0;
};
DragState& FormMoveState();

// Mouse buttons as the drag step and the mouse handlers count them.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonMiddle = 4;

// One drag step for a mouse move. `button` is the buttons held (1 left, 2 right, 4 middle,
// summed), (x, y) the pointer position relative to something that moves with the window, `dock`
// the snap distance in pixels (0: no snapping). Without a button it takes the grab point; with
// the left button alone it moves the window by the pointer's way from the grab point and snaps
// it to the edges of the monitor that holds the pointer.
void FormMove(Display& display, WindowView& form, int width, int height, int button, int x, int y, int dock);

// A window counts as reachable when at least 24 x 8 pixels of it lie on one monitor.
bool Reachable(const ScreenRect& window, const std::vector<ScreenRect>& monitors);

struct ScreenPoint {
    int x = 0, y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
// Where a window that no monitor shows enough of goes: the nearest place inside the work area of
// the monitor nearest to it. Nothing when the window is reachable where it is.
std::optional<ScreenPoint> BringBack(Display& display, const ScreenRect& window);
