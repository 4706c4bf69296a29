#include "MessageWindow.h"

LRESULT CALLBACK MessageWindow::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = self->Default(msg, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->running_ = self->oneShot_ = 0;
        return result;
    }
    if (msg == WM_TIMER && wParam < 64 && self->TimerRunning(static_cast<UINT_PTR>(wParam))) {
        const auto id = static_cast<UINT_PTR>(wParam);
        if ((self->oneShot_ >> id) & 1u) self->StopTimer(id);
        self->OnTimer(id);
        return 0;
    }
    return self->OnMessage(msg, wParam, lParam);
}

void MessageWindow::StartTimer(UINT_PTR id, UINT milliseconds) noexcept {
    if (!hwnd_ || id == 0 || id >= 64 || !SetTimer(hwnd_, id, milliseconds, nullptr)) return;
    running_ |= std::uint64_t{1} << id;
    oneShot_ &= ~(std::uint64_t{1} << id);
}

void MessageWindow::StartOneShot(UINT_PTR id, UINT milliseconds) noexcept {
    StartTimer(id, milliseconds);
    if (TimerRunning(id)) oneShot_ |= std::uint64_t{1} << id;
}

void MessageWindow::StopTimer(UINT_PTR id) noexcept {
    if (!hwnd_ || id == 0 || id >= 64) return;
    KillTimer(hwnd_, id);
    running_ &= ~(std::uint64_t{1} << id);
    oneShot_ &= ~(std::uint64_t{1} << id);
}

void MessageWindow::DestroyOwnWindow() noexcept {
    if (hwnd_) DestroyWindow(hwnd_);
}
