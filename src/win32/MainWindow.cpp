#include "MainWindow.h"

#include <shobjidl.h>
#include <windowsx.h>

#include "Com.h"

#include "FacePainter.h"
#include "KeyState.h"
#include "MouseInput.h"
#include "IconHandle.h"
#include "Text.h"
#include "UniqueHandle.h"
#include "cShadow.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif
#include "widget/frmMain.h"

namespace {
constexpr wchar_t kClassName[] = L"WolkenglasWidget";
constexpr UINT_PTR kTimer1 = 1;  // title colour
constexpr UINT_PTR kTimer2 = 2;  // close marker
constexpr UINT kStateChanged = 0x8000;  // SWP_STATECHANGED: minimising or restoring, not a move

// The tray icon is the widget's handle: no taskbar button. The window stays a plain top-level
// one, so the task switcher still lists it under its caption.
void RemoveTaskbarButton(HWND hwnd) noexcept {
    const ComApartment com;
    ComPtr<ITaskbarList> list;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList, list.put_void())) &&
        SUCCEEDED(list->HrInit()))
        list->DeleteTab(hwnd);
}
}  // namespace

MainWindow::MainWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &MainWindow::WndProc;
    wc.hInstance = instance;
#ifdef WG_HAVE_ARTWORK
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
#endif
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kClassName, L"Wolkenglas", WS_POPUP, 0, 0, 388, 213,
                            nullptr, nullptr, instance, this);
}

MainWindow::~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void MainWindow::StartTimers() {
    SetTimer(hwnd_, kTimer1, frmMain::kTimer1Interval, nullptr);
    SetTimer(hwnd_, kTimer2, frmMain::kTimer2Interval, nullptr);
}

LRESULT CALLBACK MainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the back buffer paints every pixel
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_ACTIVATE:
        InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    case WM_NOTIFY:
        if (face_.OnNotify(lParam)) return 0;
        break;
    case WM_SETCURSOR:
        if (face_.OnSetCursor(lParam)) return TRUE;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (model_ && model_->Form_KeyDown(static_cast<int>(wParam), ShiftState())) {
            Unload();
            return 0;
        }
        // F4 with any other shift state does nothing; the system would close the window.
        if (msg == WM_KEYDOWN || wParam == VK_F4) return 0;
        break;
    case WM_MOUSEMOVE:
        if (model_) model_->Face_MouseMove(HeldButtons(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(msg, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnButtonUp(msg, wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        if (model_) model_->Form_DisplayChange();
        break;
    case WM_SYSCOMMAND:
        // A fixed-size widget that the tray brings back: never minimised, maximised or sized by
        // the system, and not moved by it while locked.
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: case SC_MAXIMIZE: case SC_SIZE: return 0;
        case SC_MOVE: if (model_ && model_->LockW) return 0; break;
        default: break;
        }
        break;
    case WM_WINDOWPOSCHANGING: {
        // The lock holds against every move but the program's own (its place at start, the way
        // back onto a monitor), keyboard and other programs' moves included.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (model_ && model_->LockW && !movingSelf_ && !IsIconic(hwnd_) && !(pos->flags & kStateChanged))
            pos->flags |= SWP_NOMOVE;
        return 0;
    }
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_ENDSESSION:
        if (wParam) Unload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void MainWindow::OnPaint() noexcept {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    unique_hdc memory(CreateCompatibleDC(dc));
    unique_hbitmap buffer(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (memory && buffer && model_) {
        SelectObjectScope select(memory.get(), buffer.get());
        face_.Paint(memory.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

void MainWindow::OnTimer(UINT_PTR id) noexcept {
    if (!model_) return;
    if (id == kTimer1) {
        model_->TitleColor();
        face_.OnTimer();  // repaints whatever changed on the face
    } else if (id == kTimer2) {
        if (model_->Timer2_Timer()) Unload();
    }
}

namespace {
int ButtonOf(UINT msg) {
    switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: return 4;
    default: return 1;
    }
}
}  // namespace

void MainWindow::OnButtonDown(UINT msg, LPARAM lParam) noexcept {
    if (!model_) return;
    // The face keeps the mouse while a button is held, so a drag goes on when the pointer runs
    // ahead of the window, and the release reaches the control it was pressed on.
    SetCapture(hwnd_);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (msg == WM_LBUTTONDBLCLK) model_->Face_DblClick(x, y);
    else model_->Face_MouseDown(ButtonOf(msg), x, y);
    ShowChanges();
}

void MainWindow::OnButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (!model_) return;
    if (HeldButtons(wParam) == 0) ReleaseCapture();
    if (model_->Face_MouseUp(ButtonOf(msg), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        Unload();
        return;
    }
    ShowChanges();
}

void MainWindow::ShowChanges() noexcept {
    // A pressed button's look shows at once, not at the next title timer tick.
    face_.OnTimer();
    UpdateWindow(hwnd_);
}

void MainWindow::Unload() noexcept {
    if (unloaded_ || !model_) return;
    unloaded_ = true;
    KillTimer(hwnd_, kTimer1);
    KillTimer(hwnd_, kTimer2);
    model_->Form_Unload();
    DestroyWindow(hwnd_);
}

void MainWindow::Show() {
    // Minimised by another program (or by Windows itself): every way of showing brings it back.
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
    RemoveTaskbarButton(hwnd_);
}

void MainWindow::MoveTo(int left, int top) {
    movingSelf_ = true;
    HwndView::MoveTo(left, top);
    movingSelf_ = false;
}

void MainWindow::SetCaption(const std::string& caption) {
    SetWindowTextW(hwnd_, ToWide(caption).c_str());
    InvalidateRect(hwnd_, nullptr, FALSE);
    // At once: the title reports work that blocks this thread (the update check).
    UpdateWindow(hwnd_);
}

void MainWindow::EnableDropShadow() { cShadow(hwnd_); }

void MainWindow::SetIcon(const IconImage& image) {
    unique_hicon icon = MakeIcon(image);
    if (!icon && !image.empty()) return;  // keep the icon there is
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);  // the previous one is no longer the window's: destroyed here
}

// Through the window's own close message, so the unload runs as for Alt+F4, after the caller
// (a menu, a tray message) has returned.
void MainWindow::Close() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }
