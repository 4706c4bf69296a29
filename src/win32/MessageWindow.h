#pragma once
#include <windows.h>

#include <cstdint>

// The one window procedure of the program's windows. The object travels in CreateWindowExW's last
// argument, is kept in GWLP_USERDATA from WM_NCCREATE until WM_NCDESTROY, and every message in
// between goes to OnMessage; WM_TIMER goes to OnTimer. A timer is periodic or one-shot; a
// one-shot timer is stopped before its OnTimer runs, so the handler may start it again.
class MessageWindow {
public:
    MessageWindow() = default;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    virtual ~MessageWindow() = default;

    HWND Hwnd() const { return hwnd_; }

protected:
    // The window procedure for WNDCLASSEXW::lpfnWndProc; CreateWindowExW gets CreationParam() as
    // its last argument: this base's own address, which in a class with more than one base is not
    // the derived object's.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void* CreationParam() noexcept { return this; }

    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept { return Default(msg, wParam, lParam); }
    virtual void OnTimer(UINT_PTR /*id*/) noexcept {}
    // What a message nobody handles gets: DefWindowProcW, or DefDlgProcW for a dialog.
    virtual LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    // Timer ids 1 to 63.
    void StartTimer(UINT_PTR id, UINT milliseconds) noexcept;
    void StartOneShot(UINT_PTR id, UINT milliseconds) noexcept;
    void StopTimer(UINT_PTR id) noexcept;
    bool TimerRunning(UINT_PTR id) const noexcept { return (running_ >> id) & 1u; }

    // Destroys the window while the derived class still exists (its destructor calls this).
    void DestroyOwnWindow() noexcept;

    HWND hwnd_ = nullptr;

private:
    std::uint64_t running_ = 0;  // a bit per timer id
    std::uint64_t oneShot_ = 0;
};
