#include <cstring>
#include <vector>

#include "Text.h"
#include "Utf8Text.h"
#include "VersionResource.h"
#include "Win32Ports.h"

#include <shellapi.h>

namespace {

// Name of the per-user single-instance mutex; "Local\" keeps it within the user's session.
constexpr wchar_t kInstanceMutex[] = L"Local\\Korvelin.Wolkenglas.Instance";

UINT MessageBoxStyle(MsgIcon icon, MsgButtons buttons) {
    return static_cast<UINT>(icon) | static_cast<UINT>(buttons) | MB_SETFOREGROUND;
}

}  // namespace

std::string Win32System::ModuleFileName() {
    std::vector<wchar_t> buffer(32767);
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return WideToUtf8(std::wstring_view(buffer.data(), n));
}

std::string Win32System::CommandLineArgs() {
    // What follows the program name, as the run time hands it to the program: the name is quoted
    // or ends at the first blank, and the blanks after it are not part of the arguments.
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return WideToUtf8(p);
}

FileVersion Win32System::ProgramVersion() { return ReadVersionResource(); }

OsVersion Win32System::GetOsVersion() {
    // GetVersionEx reports 6.2 to programs without a compatibility manifest; RtlGetVersion always
    // tells the truth, so Windows 10 and 11 read as 10.0.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (fn && fn(&info) == 0) return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
    }
    return {VER_PLATFORM_WIN32_NT, 6, 1};
}

bool Win32System::AnotherInstanceRunning() {
    if (instanceMutex_) return false;
    HANDLE h = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    const DWORD error = GetLastError();
    if (!h) return false;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return true;
    }
    instanceMutex_.reset(h);
    return false;
}

void Win32System::ReleaseInstance() { instanceMutex_.reset(); }

std::uint32_t Win32System::ProcessId() { return GetCurrentProcessId(); }

bool Win32System::StartProgram(std::string_view path, std::string_view arguments) {
    std::wstring commandLine = L"\"" + Utf8ToWide(path) + L"\"";
    if (!arguments.empty()) commandLine += L" " + Utf8ToWide(arguments);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

std::uint32_t Win32System::StartCommand(std::string_view commandLine, int windowStyle) {
    std::wstring cmd = Utf8ToWide(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return pi.dwProcessId;
}

std::intptr_t Win32System::ShellOpen(std::string_view file, int showCommand) {
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteW(nullptr, L"Open", Utf8ToWide(file).c_str(), L"", L"", showCommand));
}

bool Win32System::RunScript(std::string_view scriptPath, bool utf8) {
    const std::wstring script = Utf8ToWide(scriptPath);
    const auto slash = script.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : script.substr(0, slash + 1);
    // The script runs in its folder and is named relative to it: cmd expands "%" on its command
    // line too, so the folder's name must not appear there. cmd strips the outer quotes of what
    // follows /c; /v:off keeps "!" literal whatever the registry says.
    std::wstring commandLine = L"cmd.exe /d /v:off /c \"";
    if (utf8) commandLine += L"CHCP 65001 >NUL & ";
    commandLine += L".\\" + script.substr(slash + 1) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    // A console of its own without a window (CHCP needs a console); the script outlives this process.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void Win32System::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

void Win32System::Beep() { MessageBeep(MB_OK); }

bool Win32System::SetClipboardText(std::string_view text) {
    const std::wstring wide = ToWide(text);
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool ok = false;
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
        if (void* p = GlobalLock(mem)) {
            std::memcpy(p, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(mem);
            ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
        }
        if (!ok) GlobalFree(mem);  // the clipboard owns it only after a successful SetClipboardData
    }
    CloseClipboard();
    return ok;
}

MsgResult Win32System::ShowMessage(std::string_view text, std::string_view title, MsgIcon icon,
                                  MsgButtons buttons) {
    const int r = MessageBoxW(owner, ToWide(text).c_str(), ToWide(title).c_str(), MessageBoxStyle(icon, buttons));
    return static_cast<MsgResult>(r);
}

std::string Win32System::TempPath() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return {};
    return WideToUtf8(std::wstring_view(buffer, n));
}

std::optional<std::string> Win32System::CreateTempFile(std::string_view dir, std::string_view prefix) {
    wchar_t buffer[MAX_PATH + 1];
    if (GetTempFileNameW(Utf8ToWide(dir).c_str(), Utf8ToWide(prefix).c_str(), 0, buffer) == 0) return std::nullopt;
    return WideToUtf8(buffer);
}

std::uintptr_t Win32System::ForegroundWindow() { return reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }

std::vector<ScreenRect> Win32Display::Monitors() {
    std::vector<ScreenRect> result;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT r, LPARAM out) -> BOOL {
            reinterpret_cast<std::vector<ScreenRect>*>(out)->push_back({r->left, r->top, r->right, r->bottom});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&result));
    if (result.empty())
        result.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return result;
}

namespace {
float TwipsPerPixel(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440.0f / static_cast<float>(dpi) : 15.0f;
}
}  // namespace

float Win32Display::TwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }
float Win32Display::TwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }
