#include "HwndView.h"

#include "Text.h"

void HwndView::MoveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HwndView::Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int HwndView::Left() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.left;
}

int HwndView::Top() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.top;
}

void HwndView::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool HwndView::IsVisible() { return IsWindowVisible(hwnd_) != FALSE; }

void HwndView::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, ToWide(caption).c_str()); }
