#include "PicWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "MouseInput.h"
#include "Text.h"
#include "cShadow.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif
#include "satellite/frmPic.h"

namespace {
constexpr wchar_t kClassName[] = L"WolkenglasSatellite";
constexpr UINT_PTR kTimer1 = 1;  // focus watch
}  // namespace

PicWindow::PicWindow(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &PicWindow::WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    // A tool window: the transient view has no taskbar button of its own.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Satellitenbild", WS_POPUP, 0, 0, 642, 482, nullptr,
                            nullptr, instance, this);
}

PicWindow::~PicWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void PicWindow::Attach(frmPic& model) {
    model_ = &model;
    SetTimer(hwnd_, kTimer1, frmPic::kTimer1Interval, nullptr);
}

LRESULT CALLBACK PicWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<PicWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PicWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT PicWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_TIMER:
        if (wParam == kTimer1) OnTimer();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p{};
            if (GetCursorPos(&p) && ScreenToClient(hwnd_, &p) && OverPicture(p.x, p.y)) {
#ifdef WG_HAVE_ARTWORK
                // Cursors from resources are shared; they are never destroyed.
                static HCURSOR closeCursor = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_WG_CLOSE));
                SetCursor(closeCursor ? closeCursor : LoadCursorW(nullptr, IDC_ARROW));
#else
                SetCursor(LoadCursorW(nullptr, IDC_ARROW));
#endif
                return TRUE;
            }
        }
        break;
    case WM_MOUSEMOVE:
        if (model_ && OverPicture(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
            model_->Pic_MouseMove(HeldButtons(wParam), GET_X_LPARAM(lParam) - model_->PicRect.x,
                                  GET_Y_LPARAM(lParam) - model_->PicRect.y);
        return 0;
    // Any key, any button and a double-click close the view; so does Alt+F4, which only hides it.
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_CLOSE:
        if (model_) model_->HideStep();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

bool PicWindow::OverPicture(int x, int y) const noexcept {
    if (!model_) return false;
    const PixelRect& r = model_->PicRect;
    return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

void PicWindow::OnTimer() noexcept {
    if (!model_) return;
    model_->Timer1_Timer();
    if (model_->Pic.get() != painted_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PicWindow::OnPaint() noexcept {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintContent(dc);
    EndPaint(hwnd_, &ps);
}

void PicWindow::PaintContent(HDC dc) noexcept {
    RECT client;
    GetClientRect(hwnd_, &client);
    const Bitmap* picture = model_ ? model_->Pic.get() : nullptr;
    painted_ = picture;
    if (picture && !picture->empty()) {
        // The picture at its own size, cut to the picture box; black shows around a smaller one.
        const PixelRect& box = model_->PicRect;
        const int w = std::min(picture->width, box.w), h = std::min(picture->height, box.h);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, box.x, box.y, box.x + w, box.y + h);
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = picture->width;
        bmi.bmiHeader.biHeight = -picture->height;  // top-down rows
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, box.x, box.y, static_cast<DWORD>(picture->width), static_cast<DWORD>(picture->height),
                          0, 0, 0, static_cast<UINT>(picture->height), picture->pixels.data(), &bmi, DIB_RGB_COLORS);
        RestoreDC(dc, saved);
        ExcludeClipRect(dc, box.x, box.y, box.x + w, box.y + h);  // the paint DC ends with EndPaint
    }
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void PicWindow::Show() {
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);  // minimised from outside: back
    // The focus watch hides the view as soon as it is not in front.
    SetForegroundWindow(hwnd_);
}

void PicWindow::EnableDropShadow() { cShadow(hwnd_); }
