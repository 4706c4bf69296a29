// The yardstick of bench/footprint.sh: a Win32 window of the widget's size and style that does
// nothing else; with the argument "timers" it also runs the 100 ms and 5 s timers that earlier
// versions of the widget polled with. What Wolkenglas.exe holds beyond this is its own.
#include <windows.h>

namespace {

constexpr UINT kTitleTimerMs = 100;    // the title-colour poll
constexpr UINT kCloseTimerMs = 5000;   // and the close-marker poll

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_TIMER:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        FillRect(ps.hdc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareWindow";
    if (!RegisterClassExW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"BareWindow", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 32, 32,
                                388, 213, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOW);
    if (arguments && lstrcmpiW(arguments, L"timers") == 0) {
        SetTimer(hwnd, 1, kTitleTimerMs, nullptr);
        SetTimer(hwnd, 2, kCloseTimerMs, nullptr);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
