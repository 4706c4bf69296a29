#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/TrayPort.h"
#include "win32/UniqueHandle.h"

class frmSet;

// The notification-area icon (Shell_NotifyIconW), identified by its hidden window and id 0.
// The window receives the icon's mouse messages and hands them to the settings dialog; it is a
// hidden top-level window rather than a message-only one, because the tray menu needs a window
// that can take the foreground, or the menu would not close when the user clicks elsewhere.
class Win32Tray : public TrayPort {
public:
    explicit Win32Tray(HINSTANCE instance);
    ~Win32Tray() override;
    Win32Tray(const Win32Tray&) = delete;
    Win32Tray& operator=(const Win32Tray&) = delete;

    void Attach(frmSet& dialog) { dialog_ = &dialog; }

    bool Notify(TrayMessage message, const IconImage& icon, const std::string& tip, const std::string& balloonTitle,
                const std::string& balloonText, std::uint32_t balloonFlags, std::uint32_t balloonTimeoutMs) override;
    int PopUpMenu(const std::vector<std::pair<int, std::string>>& entries) override;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    bool Call(DWORD message) noexcept;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    frmSet* dialog_ = nullptr;
    UINT taskbarCreated_ = 0;
    NOTIFYICONDATAW data_{};  // the record of the call under way
    IconImage image_;         // the picture of icon_
    unique_hicon icon_;
};
