#pragma once
// The Win32 implementations of the core's ports.
#include <windows.h>

#include <vector>

#include "UniqueHandle.h"
#include "platform/Display.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/SystemPort.h"

// Settings under HKCU\Software\VB and VBA Program Settings\<app>\<section>, one REG_SZ per key, where
// earlier versions of the widget kept them.
class Win32SettingsStore : public SettingsStore {
public:
    std::string Read(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view def) override;
    void Write(std::string_view app, std::string_view section, std::string_view key,
               std::string_view value) override;
    void Delete(std::string_view app, std::string_view section, std::string_view key) override;
};

class Win32FileSystem : public FileSystem {
public:
    std::int64_t FileSize(std::string_view path) override;
    std::unique_ptr<FileReader> OpenRead(std::string_view path) override;
    bool WriteFile(std::string_view path, std::string_view bytes) override;
    bool RemoveFile(std::string_view path) override;
    bool WriteNewFile(std::string_view path, std::string_view bytes) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool HoldUntilExit(std::string_view path) override;

private:
    std::vector<unique_handle> held_;
};

class Win32System : public SystemPort {
public:
    std::string ModuleFileName() override;
    std::string CommandLineArgs() override;
    FileVersion ProgramVersion() override;
    OsVersion GetOsVersion() override;
    bool AnotherInstanceRunning() override;
    void ReleaseInstance() override;
    std::uint32_t ProcessId() override;
    bool StartProgram(std::string_view path, std::string_view arguments) override;
    std::uint32_t StartCommand(std::string_view commandLine, int windowStyle) override;
    std::intptr_t ShellOpen(std::string_view file, int showCommand) override;
    bool RunScript(std::string_view scriptPath, bool utf8) override;
    void Sleep(std::uint32_t milliseconds) override;
    void Beep() override;
    bool SetClipboardText(std::string_view text) override;
    MsgResult ShowMessage(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) override;
    std::string TempPath() override;
    std::optional<std::string> CreateTempFile(std::string_view dir, std::string_view prefix) override;
    std::uintptr_t ForegroundWindow() override;

    HWND owner = nullptr;  // message boxes belong to the widget once it exists

private:
    unique_handle instanceMutex_;
};

class Win32Display : public Display {
public:
    std::vector<ScreenRect> Monitors() override;
    float TwipsPerPixelX() override;
    float TwipsPerPixelY() override;
    std::vector<MonitorArea> MonitorAreas() override;
    MonitorArea MonitorAt(int x, int y) override;
    ScreenRect TaskbarRect() override;
};
