#include "system/mFormMove.h"

#include <algorithm>

namespace {

constexpr int kMinVisibleWidth = 24;
constexpr int kMinVisibleHeight = 8;

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

// Left or top edge of a window of `size` moved into [low, high); a window too big for the range
// keeps its low edge there.
int Inside(int position, int size, int low, int high) { return std::max(low, std::min(position, high - size)); }

}  // namespace

int GetTaskbarEdge(const ScreenRect& taskbar, const ScreenRect& screen) {
    if (taskbar.Height() >= screen.Height()) return taskbar.left > screen.left ? kTaskbarRight : kTaskbarLeft;
    return taskbar.top > screen.top ? kTaskbarBottom : kTaskbarTop;
}

int GetTaskbarSize(const ScreenRect& taskbar, const ScreenRect& screen) {
    return std::min(taskbar.bottom, screen.bottom) - taskbar.top;
}

ScreenRect SnapLimits(const MonitorArea& m, const ScreenRect& taskbar) {
    ScreenRect limits = m.work;
    // The taskbar's own rectangle decides above and below on its monitor; a taskbar at the left
    // or right is already left out of the work area.
    if (!Overlaps(taskbar, m.bounds)) return limits;
    const int edge = GetTaskbarEdge(taskbar, m.bounds);
    if (edge == kTaskbarBottom) {
        limits.top = m.bounds.top;
        limits.bottom = m.bounds.bottom - GetTaskbarSize(taskbar, m.bounds);
    } else if (edge == kTaskbarTop) {
        limits.top = m.bounds.top + GetTaskbarSize(taskbar, m.bounds);
        limits.bottom = m.bounds.bottom;
    }
    return limits;
}

DragState& FormMoveState() {
    static DragState state;
    return state;
}

void FormMove(Display& display, WindowView& form, int width, int height, int button, int x, int y, int dock) {
    DragState& s = FormMoveState();
    s.CurX = x;
    s.CurY = y;
    if (button == 0) {
        s.GrabX = x;
        s.GrabY = y;
        return;
    }
    if (button != kButtonLeft) return;

    const int left = form.Left(), top = form.Top();
    int newTop = top - s.GrabY + s.CurY;
    int newLeft = left - s.GrabX + s.CurX;
    if (dock > 0) {
        const ScreenRect lim = SnapLimits(display.MonitorAt(left + x, top + y), display.TaskbarRect());
        // In this order: the right and bottom edges win over the left and top ones.
        if (newLeft <= lim.left + dock) newLeft = lim.left;
        if (newTop <= lim.top + dock) newTop = lim.top;
        if (newLeft + width >= lim.right - dock) newLeft = lim.right - width;
        if (newTop + height >= lim.bottom - dock) newTop = lim.bottom - height;
    }
    form.MoveTo(newLeft, newTop);
}

bool Reachable(const ScreenRect& window, const std::vector<ScreenRect>& monitors) {
    for (const ScreenRect& m : monitors) {
        const int w = std::min(window.right, m.right) - std::max(window.left, m.left);
        const int h = std::min(window.bottom, m.bottom) - std::max(window.top, m.top);
        if (w >= kMinVisibleWidth && h >= kMinVisibleHeight) return true;
    }
    return false;
}

std::optional<ScreenPoint> BringBack(Display& display, const ScreenRect& window) {
    if (Reachable(window, display.Monitors())) return std::nullopt;
    const ScreenRect work =
        display.MonitorAt(window.left + window.Width() / 2, window.top + window.Height() / 2).work;
    return ScreenPoint{Inside(window.left, window.Width(), work.left, work.right),
                       Inside(window.top, window.Height(), work.top, work.bottom)};
}
