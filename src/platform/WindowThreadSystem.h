#pragma once
#include "platform/SystemPort.h"
#include "platform/TaskRunner.h"

// The system services for work off the window thread: message boxes and the beep go to the
// window thread (a box belongs to the widget's thread and its message loop), everything else is
// passed straight through.
class WindowThreadSystem : public SystemPort {
public:
    WindowThreadSystem(SystemPort& system, TaskRunner& tasks) : system_(system), tasks_(tasks) {}

    std::string ModuleFileName() override { return system_.ModuleFileName(); }
    std::string CommandLineArgs() override { return system_.CommandLineArgs(); }
    FileVersion ProgramVersion() override { return system_.ProgramVersion(); }
    OsVersion GetOsVersion() override { return system_.GetOsVersion(); }
    bool AnotherInstanceRunning() override { return system_.AnotherInstanceRunning(); }
    void ReleaseInstance() override { system_.ReleaseInstance(); }
    std::uint32_t ProcessId() override { return system_.ProcessId(); }
    bool StartProgram(std::string_view path, std::string_view arguments) override {
        return system_.StartProgram(path, arguments);
    }
    std::uint32_t StartCommand(std::string_view commandLine, int windowStyle) override {
        return system_.StartCommand(commandLine, windowStyle);
    }
    std::intptr_t ShellOpen(std::string_view file, int showCommand) override { return system_.ShellOpen(file, showCommand); }
    bool RunScript(std::string_view scriptPath, bool utf8) override { return system_.RunScript(scriptPath, utf8); }
    void Sleep(std::uint32_t milliseconds) override { system_.Sleep(milliseconds); }
    void Beep() override {
        tasks_.RunOnWindowThread([this] { system_.Beep(); });
    }
    bool SetClipboardText(std::string_view text) override { return system_.SetClipboardText(text); }
    // No answer (the program ended meanwhile) counts as No.
    MsgResult ShowMessage(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) override {
        MsgResult answer = MsgResult::No;
        tasks_.RunOnWindowThread([&] { answer = system_.ShowMessage(text, title, icon, buttons); });
        return answer;
    }
    std::string TempPath() override { return system_.TempPath(); }
    std::optional<std::string> CreateTempFile(std::string_view dir, std::string_view prefix) override {
        return system_.CreateTempFile(dir, prefix);
    }
    std::uintptr_t ForegroundWindow() override { return system_.ForegroundWindow(); }

private:
    SystemPort& system_;
    TaskRunner& tasks_;
};
