#pragma once
// The ports of a console run: no windows, no tray, no questions to a user. What the core shows
// is kept for printing; what it asks is answered the cautious way.
#include <iosfwd>
#include <string>

#include "platform/Display.h"
#include "platform/SystemPort.h"
#include "platform/TrayPort.h"
#include "platform/WindowView.h"

class ConsoleSystem : public SystemPort {
public:
    explicit ConsoleSystem(std::ostream& messages) : messages_(messages) {}

    std::string ModuleFileName() override;
    std::string CommandLineArgs() override { return {}; }  // the widget's switches do not apply
    FileVersion ProgramVersion() override;
    // The core asks this only to decide whether balloon tips exist; a console run reports them.
    OsVersion GetOsVersion() override { return {2, 10, 0}; }
    bool AnotherInstanceRunning() override { return false; }
    void ReleaseInstance() override {}
    std::uint32_t ProcessId() override;
    bool StartProgram(std::string_view, std::string_view) override { return false; }
    std::uint32_t StartCommand(std::string_view, int) override { return 0; }
    std::intptr_t ShellOpen(std::string_view, int) override { return 0; }
    bool RunScript(std::string_view, bool) override { return false; }  // no Windows scripts here
    void Sleep(std::uint32_t milliseconds) override;
    void Beep() override {}
    bool SetClipboardText(std::string_view) override { return false; }
    // Written to the message stream; a question is answered No (or Cancel): nobody is asked.
    MsgResult ShowMessage(std::string_view text, std::string_view title, MsgIcon icon,
                          MsgButtons buttons) override;
    std::string TempPath() override;  // $TMPDIR, else /tmp, with a trailing "/"
    std::optional<std::string> CreateTempFile(std::string_view dir, std::string_view prefix) override;
    std::uintptr_t ForegroundWindow() override { return 0; }

private:
    std::ostream& messages_;
};

// One monitor of the size the widget is tested on.
class ConsoleDisplay : public Display {
public:
    std::vector<ScreenRect> Monitors() override { return {{0, 0, 1280, 800}}; }
    float TwipsPerPixelX() override { return 15.0f; }
    float TwipsPerPixelY() override { return 15.0f; }
};

// A window that is never drawn; it remembers what it was told.
class HeadlessWindow : public WindowView {
public:
    void MoveTo(int l, int t) override { left_ = l; top_ = t; }
    void Resize(int, int) override {}
    int Left() override { return left_; }
    int Top() override { return top_; }
    void Show() override { visible_ = true; }
    void Hide() override { visible_ = false; }
    bool IsVisible() override { return visible_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    void EnableDropShadow() override {}
    std::uintptr_t Handle() override { return 0; }

    const std::string& Caption() const { return caption_; }

private:
    int left_ = 0, top_ = 0;
    bool visible_ = false;
    std::string caption_;
};

// The last texts the core gave the tray icon.
struct TrayTexts {
    std::string tip, balloonTitle, balloonText;
};

class ConsoleTray : public TrayPort {
public:
    bool Notify(TrayMessage message, const IconImage&, const std::string& tip, const std::string& balloonTitle,
                const std::string& balloonText, std::uint32_t, std::uint32_t) override {
        if (message != TrayMessage::Delete) last_ = {tip, balloonTitle, balloonText};
        return true;
    }
    const TrayTexts& Last() const { return last_; }

private:
    TrayTexts last_;
};
