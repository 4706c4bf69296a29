// wgprobe's "window" command: what a top-level window of another program shows, read through the
// window manager's messages, for the end-to-end tests. Windows only.
#include "WindowProbe.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "win32/Text.h"

namespace {

// Printable ASCII stays; every other byte of the Windows-1252 text is written as \xNN.
std::string Escape(const std::wstring& wide) {
    std::string out;
    for (const char ch : FromWide(wide)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += ch;
        } else {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

std::wstring TextOf(HWND w) {
    wchar_t buf[1024] = {};
    SendMessageW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[64] = {};
    GetClassNameW(w, buf, 64);
    return buf;
}

// One line per child control: id, class, state letters (d disabled, c checked, t tab stop, g group
// start, h hidden), text, and a combo box's list entries.
void Children(HWND dialog, std::string& out) {
    for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(w, GWL_STYLE);
        const std::wstring cls = ClassOf(w);
        std::string state;
        if (!IsWindowEnabled(w)) state += 'd';
        if (!_wcsicmp(cls.c_str(), L"Button") && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED) state += 'c';
        if (style & WS_TABSTOP) state += 't';
        if (style & WS_GROUP) state += 'g';
        if (!(style & WS_VISIBLE)) state += 'h';
        out += "control " + std::to_string(GetDlgCtrlID(w)) + "\t" + Escape(cls) + "\t" + state + "\t" + Escape(TextOf(w));
        if (!_wcsicmp(cls.c_str(), L"ComboBox")) {
            const LRESULT n = SendMessageW(w, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < n; ++i) {
                wchar_t item[512] = {};
                if (SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 511)
                    SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
                out += (i == 0 ? "\titems " : "|") + Escape(item);
            }
        }
        out += "\n";
    }
}

struct TooltipSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTooltip(HWND w, LPARAM param) {
    auto* search = reinterpret_cast<TooltipSearch*>(param);
    if (GetWindow(w, GW_OWNER) == search->owner && !_wcsicmp(ClassOf(w).c_str(), TOOLTIPS_CLASSW))
        search->found.push_back(w);
    return TRUE;
}

// The tools of the tooltip controls that the window owns: the id of the control (of the combo box
// for its edit field) and the text. The tool records live in the other process, so the request
// and its text buffer are placed there.
void Tooltips(HWND dialog, std::string& out) {
    TooltipSearch search{dialog, {}};
    EnumWindows(&CollectTooltip, reinterpret_cast<LPARAM>(&search));
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return;
    constexpr SIZE_T kChars = 1024;
    const SIZE_T size = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote) {
        for (HWND tip : search.found) {
            const LRESULT count = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                TTTOOLINFOW ti{};
                ti.cbSize = TTTOOLINFOW_V2_SIZE;
                ti.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
                const wchar_t none = 0;
                WriteProcessMemory(process, remote, &ti, sizeof ti, nullptr);
                WriteProcessMemory(process, ti.lpszText, &none, sizeof none, nullptr);
                if (!SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote))) continue;
                std::wstring text(kChars, L'\0');
                ReadProcessMemory(process, remote, &ti, sizeof ti, nullptr);
                ReadProcessMemory(process, remote + sizeof(TTTOOLINFOW), text.data(), kChars * sizeof(wchar_t), nullptr);
                text.resize(wcsnlen(text.c_str(), kChars));
                HWND control = reinterpret_cast<HWND>(ti.uId);
                if (GetParent(control) != dialog) control = GetParent(control);
                out += "tip " + std::to_string(GetDlgCtrlID(control)) + "\t" + Escape(text) + "\n";
            }
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
}

}  // namespace

namespace {

// Windows of another desktop are out of reach: join the one the program runs on.
void JoinDesktop(const std::string& name) {
    if (HDESK desktop = OpenDesktopW(ToWide(name).c_str(), 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
}

// What the window manager knows of a window: size, visibility, and the frame the user could use
// to minimise it.
void Describe(HWND window, const std::string& title, std::string& out) {
    RECT client{};
    GetClientRect(window, &client);
    out = "window " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
          (IsWindowVisible(window) ? " visible" : " hidden") + "\n";
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    out += std::string("style") + (style & WS_MINIMIZEBOX ? " minimizebox" : "") + (style & WS_SYSMENU ? " sysmenu" : "") +
           (IsIconic(window) ? " iconic" : "") + "\n";
    // The foreground window is named by its title: another window of the same title may come first.
    wchar_t foreground[256] = {};
    GetWindowTextW(GetForegroundWindow(), foreground, 256);
    if (ToWide(title) == foreground) out += "foreground\n";
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus)
        out += "focus " + std::to_string(GetDlgCtrlID(gui.hwndFocus)) + "\n";
}

// The notification area's icon of the program whose icon window has this class, id 0, as the
// shell knows it; deleted from outside, as an Explorer restart loses it.
bool DeleteTrayIcon(const std::wstring& windowClass) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = FindWindowW(windowClass.c_str(), nullptr);
    data.uID = 0;
    return data.hWnd && Shell_NotifyIconW(NIM_DELETE, &data);
}

}  // namespace

int RunWindowProbe(const std::vector<std::string>& args, std::string& out) {
    const std::string command = args.empty() ? "" : args[0];
    if (command == "tray" && args.size() == 3) {
        // The icons' tooltips, which the notification area owns, and optionally a change first.
        JoinDesktop(args[1]);
        if (args[2] == "delete") out = DeleteTrayIcon(L"WolkenglasTray") ? "deleted\n" : "not deleted\n";
        if (args[2] == "taskbar-created") {
            // What Explorer sends every top-level window when its taskbar starts.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                                &result);
            out = "broadcast\n";
        }
        if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) Tooltips(tray, out);
        return 0;
    }
    const bool move = command == "move" && args.size() == 5;
    if (((command != "window" && command != "minimize") || args.size() != 3) && !move) {
        out = "usage: wgprobe window|minimize DESKTOP TITLE\n       wgprobe move DESKTOP TITLE X Y\n"
              "       wgprobe tray DESKTOP list|delete|taskbar-created\n";
        return 2;
    }
    JoinDesktop(args[1]);
    HWND dialog = FindWindowW(nullptr, ToWide(args[2]).c_str());
    if (!dialog) {
        out = "no window\n";
        return 1;
    }
    // As the taskbar or another program would: the program itself offers no way to do it.
    if (command == "minimize") ShowWindow(dialog, SW_MINIMIZE);
    if (move)
        SetWindowPos(dialog, nullptr, std::atoi(args[3].c_str()), std::atoi(args[4].c_str()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Describe(dialog, args[2], out);
    if (command != "window") {
        RECT r{};
        GetWindowRect(dialog, &r);
        out += "at " + std::to_string(r.left) + "," + std::to_string(r.top) + "\n";
        return 0;
    }
    Children(dialog, out);
    Tooltips(dialog, out);
    return 0;
}
