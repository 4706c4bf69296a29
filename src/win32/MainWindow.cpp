#include "MainWindow.h"

#include "FacePainter.h"
#include "Text.h"
#include "UniqueHandle.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif
#include "widget/frmMain.h"

namespace {
constexpr wchar_t kClassName[] = L"WolkenglasWidget";
constexpr UINT_PTR kTimer1 = 1;  // title colour
constexpr UINT_PTR kTimer2 = 2;  // close marker
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
    hwnd_ = CreateWindowExW(0, kClassName, L"Wolkenglas", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 388, 213,
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

void MainWindow::Unload() noexcept {
    if (unloaded_ || !model_) return;
    unloaded_ = true;
    KillTimer(hwnd_, kTimer1);
    KillTimer(hwnd_, kTimer2);
    model_->Form_Unload();
    DestroyWindow(hwnd_);
}

void MainWindow::MoveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::Left() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.left;
}

int MainWindow::Top() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.top;
}

void MainWindow::Show() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void MainWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool MainWindow::IsVisible() { return IsWindowVisible(hwnd_) != FALSE; }

void MainWindow::SetCaption(const std::string& caption) {
    SetWindowTextW(hwnd_, ToWide(caption).c_str());
    InvalidateRect(hwnd_, nullptr, FALSE);
    // At once: the title reports work that blocks this thread (the update check).
    UpdateWindow(hwnd_);
}

void MainWindow::Close() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void MainWindow::EnableDropShadow() {
    const ULONG_PTR style = GetClassLongPtrW(hwnd_, GCL_STYLE);
    SetClassLongPtrW(hwnd_, GCL_STYLE, static_cast<LONG_PTR>(style | CS_DROPSHADOW));
}
