#pragma once
// Test doubles of the ports: in-memory settings and files, a scripted system, a recording window.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "native/MemoryRegistry.h"
#include "platform/Ports.h"
#include "platform/WindowView.h"

class FakeSettingsStore : public SettingsStore {
public:
    std::string Read(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view def) override;
    void Write(std::string_view app, std::string_view section, std::string_view key,
               std::string_view value) override;
    void Delete(std::string_view app, std::string_view section, std::string_view key) override;

    // Convenience for the widget's own application and section.
    void Set(const std::string& key, const std::string& value) { values[{"Korvelin", "AccuWeather", key}] = value; }
    bool Has(const std::string& key) const { return values.count({"Korvelin", "AccuWeather", key}) != 0; }
    std::string Get(const std::string& key) const;

    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::vector<std::string> writes;  // keys in the order written
    bool readOnly = false;            // writes and deletes change nothing (a denied key)
};

class FakeFileSystem : public FileSystem {
public:
    std::int64_t FileSize(std::string_view path) override;
    std::unique_ptr<FileReader> OpenRead(std::string_view path) override;
    bool WriteFile(std::string_view path, std::string_view bytes) override;
    bool RemoveFile(std::string_view path) override;
    bool WriteNewFile(std::string_view path, std::string_view bytes) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool HoldUntilExit(std::string_view path) override { held.emplace_back(path); return WriteFile(path, ""); }

    std::map<std::string, std::string> files;
    std::vector<std::string> held;
    std::vector<std::string> hidden;     // present but hidden: not found by FileSize
    bool failReads = false;
    // Paths whose write, removal or renaming (as the source) fails, as in a read-only folder.
    std::vector<std::string> failWrites, failRemoves, failRenames;
    std::size_t shortWrites = 0;  // WriteNewFile keeps only this many bytes but reports success, if set
};

class FakeSystem : public SystemPort {
public:
    std::string ModuleFileName() override { return exePath; }
    std::string CommandLineArgs() override { return commandLine; }
    FileVersion ProgramVersion() override { return version; }
    OsVersion GetOsVersion() override { return os; }
    bool AnotherInstanceRunning() override;
    void ReleaseInstance() override { events.push_back("release"); }
    std::uint32_t ProcessId() override { return 4242; }
    bool StartProgram(std::string_view path, std::string_view arguments) override;
    std::uint32_t StartCommand(std::string_view commandLine, int windowStyle) override;
    std::intptr_t ShellOpen(std::string_view file, int showCommand) override;
    bool RunScript(std::string_view scriptPath, bool utf8) override;
    void Sleep(std::uint32_t ms) override { sleeps.push_back(ms); }
    void Beep() override { ++beeps; }
    bool SetClipboardText(std::string_view text) override;
    MsgResult ShowMessage(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) override;
    std::string TempPath() override { return tempPath; }
    std::optional<std::string> CreateTempFile(std::string_view dir, std::string_view prefix) override;
    std::uintptr_t ForegroundWindow() override { return foreground; }

    std::string exePath = "C:\\Program Files\\Wolkenglas\\Wolkenglas.exe";
    std::string commandLine;
    FileVersion version{1, 54, 0, 0, {}};
    OsVersion os{2, 10, 0};
    bool otherInstance = false;
    int otherInstanceEndsAfter = -1;  // calls after which the other instance has gone; -1 never
    std::string tempPath = "C:\\Temp\\";
    std::uintptr_t foreground = 0;

    struct Box { std::string text, title; MsgIcon icon; MsgButtons buttons; };
    std::vector<Box> boxes;
    std::vector<std::string> started;   // programs started, with their arguments after a blank if any
    std::vector<std::pair<std::string, int>> commands;
    std::vector<std::pair<std::string, int>> shellOpens;
    std::vector<std::pair<std::string, bool>> scripts;  // scripts run, and whether as UTF-8
    std::vector<std::uint32_t> sleeps;
    std::vector<std::string> clipboard;
    std::vector<std::string> events;    // every call, in order
    int beeps = 0;
    int tempCounter = 0;
    MsgResult answer = MsgResult::Ok;
    std::vector<MsgResult> answers;  // answers to the next boxes, in order, before `answer`
};

class FakeDisplay : public Display {
public:
    std::vector<ScreenRect> Monitors() override { return monitors; }
    float TwipsPerPixelX() override { return 15.0f; }
    float TwipsPerPixelY() override { return 15.0f; }
    std::vector<MonitorArea> MonitorAreas() override {
        std::vector<MonitorArea> out;
        for (std::size_t i = 0; i < monitors.size(); ++i) out.push_back({monitors[i], i < work.size() ? work[i] : monitors[i]});
        return out;
    }
    ScreenRect TaskbarRect() override { return taskbar; }
    std::vector<ScreenRect> monitors{{0, 0, 1920, 1080}};
    std::vector<ScreenRect> work;  // work area of monitors[i]; where missing, the whole monitor
    ScreenRect taskbar{};
};

class FakeWindow : public WindowView {
public:
    void MoveTo(int l, int t) override { left = l; top = t; events.push_back("move"); }
    void Resize(int w, int h) override { width = w; height = h; }
    int Left() override { return left; }
    int Top() override { return top; }
    void Show() override { visible = true; events.push_back("show"); }
    void Hide() override { visible = false; events.push_back("hide"); }
    bool IsVisible() override { return visible; }
    void SetCaption(const std::string& c) override { caption = c; }
    void EnableDropShadow() override { shadow = true; }
    void Close() override { events.push_back("close"); }
    std::uintptr_t Handle() override { return handle; }
    void SetIcon(const IconImage& image) override { icon = image; }

    int left = 0, top = 0, width = 0, height = 0;
    bool visible = false, shadow = false;
    std::string caption;
    IconImage icon;
    std::uintptr_t handle = 0x1234;
    std::vector<std::string> events;
};

// Everything a window test needs, wired together.
struct FakePorts {
    FakeSettingsStore settings;
    FakeSystem system;
    FakeFileSystem files;
    FakeDisplay display;
    MemoryRegistry registry;
    Ports ports{settings, system, files, display, registry};
};
