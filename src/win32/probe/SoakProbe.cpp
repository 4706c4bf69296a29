#include "SoakProbe.h"

#include <windows.h>
#include <psapi.h>

#include <string>

#include "widget/FaceLayout.h"

namespace {

constexpr wchar_t kWidgetClass[] = L"WolkenglasWidget";
constexpr wchar_t kSatelliteClass[] = L"WolkenglasSatellite";
constexpr DWORD kStepMs = 5;

std::wstring Caption(HWND w) {
    wchar_t text[256] = {};
    // The widget is in another process: WM_GETTEXT through SendMessageTimeout, never a hang.
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
    return text;
}

// Waits until `done` holds, up to `ms`; false on the deadline.
template <typename F>
bool WaitFor(F done, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += kStepMs) {
        if (done()) return true;
        Sleep(kStepMs);
    }
    return done();
}

bool Loading(HWND w) { return Caption(w).find(L"Lade Daten") != std::wstring::npos; }

bool Refresh(HWND widget) {
    // F5 is ignored while the satellite picture of the last refresh still loads: pressed again
    // until the title says a refresh runs.
    const bool started = WaitFor([&] {
        if (Loading(widget)) return true;
        PostMessageW(widget, WM_KEYDOWN, VK_F5, 0);
        PostMessageW(widget, WM_KEYUP, VK_F5, 0);
        return WaitFor([&] { return Loading(widget); }, 200);
    }, 20000);
    return started && WaitFor([&] { return !Loading(widget); }, 60000);
}

bool OpenAndCloseSatellite(HWND widget) {
    HWND satellite = FindWindowW(kSatelliteClass, nullptr);
    if (!satellite) return false;
    // A click on the thumbnail, then any key on the satellite window.
    const LPARAM at = MAKELPARAM(ColumnX(0) + 45 + 16, kNightPictureTop + kPictureSize / 2);
    PostMessageW(widget, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(widget, WM_LBUTTONUP, 0, at);
    if (!WaitFor([&] { return IsWindowVisible(satellite) != FALSE; }, 10000)) return false;
    Sleep(50);  // painted once
    PostMessageW(satellite, WM_KEYDOWN, VK_ESCAPE, 0);
    return WaitFor([&] { return IsWindowVisible(satellite) == FALSE; }, 10000);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

struct WindowCount {
    DWORD pid;
    long n;
};

BOOL CALLBACK CountTopLevel(HWND w, LPARAM param) {
    auto& c = *reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == c.pid) {
        ++c.n;
        EnumChildWindows(w, &CountChild, reinterpret_cast<LPARAM>(&c.n));
    }
    return TRUE;
}

// What the widget's handle owners hold alive, by kind (0 other, 1 GDI, 2 USER); -1 unanswered.
long LiveHandles(HWND widget, int kind) {
    const UINT message = RegisterWindowMessageW(L"Wolkenglas.LiveHandles");
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(widget, message, static_cast<WPARAM>(kind), 0, SMTO_ABORTIFHUNG, 2000, &n)) return -1;
    return static_cast<long>(n);
}

void Counts(HWND widget, std::string& out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(widget, &pid);
    WindowCount windows{pid, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    out += "windows " + std::to_string(windows.n) + "\n";
    out += "live-gdi " + std::to_string(LiveHandles(widget, 1)) + "\n";
    out += "live-user " + std::to_string(LiveHandles(widget, 2)) + "\n";
    out += "live-other " + std::to_string(LiveHandles(widget, 0)) + "\n";
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        out += "error cannot open the widget's process\n";
        return;
    }
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    out += "pid " + std::to_string(pid) + "\n";
    out += "gdi " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) + "\n";
    out += "user " + std::to_string(GetGuiResources(process, GR_USEROBJECTS)) + "\n";
    out += "handles " + std::to_string(handles) + "\n";
    out += "private " + std::to_string(memory.PrivateUsage) + "\n";
    CloseHandle(process);
}

}  // namespace

int RunSoakProbe(const std::vector<std::string>& args, std::string& out) {
    // The widget runs in a desktop of its own (Wine's virtual desktop, named by the caller).
    if (args.size() > 1)
        if (HDESK desktop = OpenDesktopW(std::wstring(args[1].begin(), args[1].end()).c_str(), 0, FALSE, GENERIC_ALL))
            SetThreadDesktop(desktop);
    HWND widget = nullptr;
    WaitFor([&] { return (widget = FindWindowW(kWidgetClass, nullptr)) != nullptr; }, 30000);
    if (!widget) {
        out = "error no widget window\n";
        return 1;
    }
    if (args[0] == "soak") {
        const int n = args.size() > 2 ? std::stoi(args[2]) : 1;
        const int every = args.size() > 3 ? std::stoi(args[3]) : 0;
        const int first = args.size() > 4 ? std::stoi(args[4]) : 1;  // the number of the first refresh
        for (int i = first; i < first + n; ++i) {
            if (!Refresh(widget)) {
                out = "error refresh " + std::to_string(i) + " did not finish\n";
                return 1;
            }
            if (every > 0 && i % every == 0 && !OpenAndCloseSatellite(widget)) {
                out = "error the satellite window did not open and close after refresh " + std::to_string(i) + "\n";
                return 1;
            }
        }
    }
    Counts(widget, out);
    return 0;
}
