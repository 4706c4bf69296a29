#include "win32/Win32Tray.h"

#include <algorithm>
#include <cwchar>

#include "settings/frmSet.h"
#include "win32/IconHandle.h"
#include "win32/Text.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif

namespace {

constexpr wchar_t kClassName[] = L"WolkenglasTray";
constexpr UINT kCallbackMessage = WM_APP + 1;

template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
    const std::wstring wide = ToWide(text);
    const std::size_t n = std::min(wide.size(), N - 1);
    std::wmemcpy(field, wide.data(), n);
    field[n] = L'\0';
}

bool SameImage(const IconImage& a, const IconImage& b) {
    return a.width == b.width && a.height == b.height && a.colour == b.colour && a.mask == b.mask;
}

}  // namespace

Win32Tray::Win32Tray(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Tray::WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instance, this);
    // Explorer announces a new taskbar (a restart, or its first start after ours) with this
    // message; the dialog adds the icon then.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Tray::~Win32Tray() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Win32Tray::Call(DWORD message) noexcept { return Shell_NotifyIconW(message, &data_) != FALSE; }

bool Win32Tray::Notify(TrayMessage message, const IconImage& icon, const std::string& tip,
                       const std::string& balloonTitle, const std::string& balloonText, std::uint32_t balloonFlags,
                       std::uint32_t balloonTimeoutMs) {
    unique_hicon previous;
    if (!SameImage(icon, image_) || !icon_) {
        unique_hicon made = MakeIcon(icon);
        if (made || icon.empty()) {
            previous = std::move(icon_);  // destroyed once the shell holds the new one
            icon_ = std::move(made);
            image_ = icon;
        }
    }
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = hwnd_;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    data_.uCallbackMessage = kCallbackMessage;
#ifdef WG_HAVE_ARTWORK
    data_.hIcon = icon_ ? icon_.get() : LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
#else
    data_.hIcon = icon_ ? icon_.get() : LoadIconW(nullptr, IDI_APPLICATION);
#endif
    CopyField(data_.szTip, tip);
    CopyField(data_.szInfo, balloonText);
    CopyField(data_.szInfoTitle, balloonTitle);
    data_.uTimeout = balloonTimeoutMs;
    data_.dwInfoFlags = balloonFlags;
    switch (message) {
    case TrayMessage::Add:
        return Call(NIM_ADD);
    case TrayMessage::Modify:
        return Call(NIM_MODIFY);
    case TrayMessage::Delete:
        break;
    }
    const bool deleted = Call(NIM_DELETE);
    icon_.reset();
    image_ = {};
    return deleted;
}

int Win32Tray::PopUpMenu(const std::vector<std::pair<int, std::string>>& entries) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const auto& [id, caption] : entries)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), ToWide(caption).c_str());
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would stay open when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         at.x, at.y, hwnd_, nullptr));
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

LRESULT CALLBACK Win32Tray::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Win32Tray*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Tray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT Win32Tray::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == kCallbackMessage) {
        try {
            if (dialog_) dialog_->Form_MouseMove(static_cast<int>(LOWORD(lParam)));
        } catch (...) {
            // A failed handler must not unwind through the shell's message.
        }
        return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        try {
            if (dialog_) dialog_->TaskbarCreated();
        } catch (...) {
            // As above: nothing unwinds through a broadcast.
        }
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}
