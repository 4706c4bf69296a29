#pragma once
// Drives the real Wolkenglas.exe under Wine on a private virtual X display: its own copy of a Wine
// prefix made once per build, its own Xvfb, the program inside Wine's virtual desktop (plain Wine
// windows on a bare X server get no input), and cleanup of all of it.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

class WineSession {
public:
    // The program goes into C:\<folder>\ (UTF-8 here, any name Windows can spell).
    explicit WineSession(std::string folder = "Wolkenglas");
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Wine's virtual desktop that the program runs in; only this name gives it a taskbar with a
    // notification area.
    static constexpr const char* kDesktop = "shell";
    // Paths of the program inside the prefix, as Windows and as Linux see them.
    std::string WinExe() const { return "C:\\" + folder_ + "\\Wolkenglas.exe"; }
    std::string LinuxExe() const { return prefix_ + "/drive_c/" + folder_ + "/Wolkenglas.exe"; }
    const std::string& Prefix() const { return prefix_; }
    const std::string& Display() const { return display_; }

    // Starts the program (in the virtual desktop) with an argument text; returns at once. Only the
    // desktop named "shell" has a taskbar and a notification area.
    void Start(const std::string& args = "", const std::string& desktop = kDesktop);
    // Puts Tahoma where Windows keeps its fonts: not every Wine build finds the copy that
    // fonts-wine ships, and the windows are made for it.
    void InstallTahoma() const;
    // Any command with this session's environment (WINEPREFIX, DISPLAY, ...).
    CommandResult Run(const std::string& command) const;

    // Windows whose title is exactly `title`, as X window ids.
    std::vector<std::string> FindWindows(const std::string& title) const;
    std::optional<std::string> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) const;
    bool WaitForWindowGone(const std::string& title, std::chrono::milliseconds timeout) const;
    WindowGeometry Geometry(const std::string& windowId) const;
    std::size_t CountViewable(const std::string& title) const;
    // How many processes of this prefix run Wolkenglas.exe (a restart may still be under way
    // after a window has gone).
    std::size_t ProgramsRunning() const;

    std::optional<std::string> RegQuery(const std::string& key, const std::string& value) const;
    void RegAdd(const std::string& key, const std::string& value, const std::string& data,
                const std::string& type = "REG_SZ") const;

    std::string Screenshot(const std::string& name) const;  // PNG path of the whole display
    // Keeps the window's part of a screenshot, with a margin of desktop, as an artifact; with
    // WG_UPDATE_SCREENSHOTS=1 also as the documentation's picture of that name.
    bool KeepScreenshot(const std::string& shot, const WindowGeometry& g, const std::string& name) const;
    static Rgb Pixel(const std::string& png, int x, int y);
    std::string Clipboard() const;
    std::string Caption(const std::string& windowId) const;
    // Gives the window the focus (a click on its top edge until Windows reports it as the
    // foreground window) and then sends the keys; false when it never got the focus.
    bool Key(const std::string& windowId, const std::string& keys) const;
    // Runs wgprobe.exe in this prefix; its standard output only.
    std::string Probe(const std::vector<std::string>& args) const;

    // Directory where screenshots and logs of this run are kept for inspection.
    static std::string ArtifactDir();

private:
    static std::string TemplatePrefix();
    std::string Env() const;

    std::string folder_;
    std::string dir_;
    std::string prefix_;
    std::string display_;
    int xvfbPid_ = -1;
};

// Polls `done` until it holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A text as one word of a shell command line.
std::string ShellQuote(const std::string& s);

// The settings key of the widget, as `wine reg` names it.
inline const char* const kSettingsKey = "HKCU\\Software\\VB and VBA Program Settings\\Korvelin\\AccuWeather";
