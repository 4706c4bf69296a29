#include "HwndView.h"

#include "Text.h"

void HwndView::MoveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HwndView::Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the window stands, or would stand when restored: a minimised window's own rectangle is
// the parking place far off the screen (-32000, -32000).
RECT HwndView::NormalRect() const {
    RECT r{};
    if (!IsIconic(hwnd_)) {
        GetWindowRect(hwnd_, &r);
        return r;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd_, &placement)) return r;
    r = placement.rcNormalPosition;
    // Workspace coordinates (from the monitor's work area) unless the window is a tool window.
    if (!(GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO m{};
        m.cbSize = sizeof m;
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &m))
            OffsetRect(&r, m.rcWork.left - m.rcMonitor.left, m.rcWork.top - m.rcMonitor.top);
    }
    return r;
}

int HwndView::Left() { return NormalRect().left; }

int HwndView::Top() { return NormalRect().top; }

void HwndView::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool HwndView::IsVisible() { return IsWindowVisible(hwnd_) != FALSE; }

void HwndView::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, ToWide(caption).c_str()); }
