#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Message box styles the program uses (the values of the Windows constants, so the Win32 layer
// passes them through).
enum class MsgIcon : std::uint32_t { None = 0, Stop = 0x10, Question = 0x20, Exclamation = 0x30, Information = 0x40 };
enum class MsgButtons : std::uint32_t { Ok = 0, OkCancel = 1, YesNo = 4, YesNoDefaultNo = 4 | 0x100 };
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct OsVersion {
    std::uint32_t platformId = 0;  // 2 = Windows NT family
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t build = 0;
    std::uint16_t revision = 0;
    std::string description;  // "FileDescription" of the version resource, UTF-8
};

// Process, shell and desktop services of the operating system. Paths, command lines and the
// files given to the shell are UTF-8, so that a program folder that Windows-1252 cannot spell
// works; message box and clipboard texts are the core's Windows-1252 texts.
class SystemPort {
public:
    virtual ~SystemPort() = default;

    virtual std::string ModuleFileName() = 0;       // full path of the running program file
    virtual std::string CommandLineArgs() = 0;      // the command line after the program name
    virtual FileVersion ProgramVersion() = 0;       // from the program's version resource
    virtual OsVersion GetOsVersion() = 0;           // the real version, also on Windows 10 and 11

    // True when another instance of this program already runs for this user. The first call
    // claims the instance for this process for the rest of its life.
    virtual bool AnotherInstanceRunning() = 0;
    // Lets go of the instance claimed above, before a restart that is to claim it.
    virtual void ReleaseInstance() = 0;
    virtual std::uint32_t ProcessId() = 0;

    // Starts a program with the given argument text in a normal window with the focus.
    virtual bool StartProgram(std::string_view path, std::string_view arguments) = 0;
    // Starts a command line with a window style (0 hidden, 1 normal); the task number or 0.
    virtual std::uint32_t StartCommand(std::string_view commandLine, int windowStyle) = 0;
    // ShellExecute with verb "Open", no owner, empty parameters and directory; its 32-bit result.
    virtual std::intptr_t ShellOpen(std::string_view file, int showCommand) = 0;
    // Runs a command script with cmd.exe, hidden, in the script's own folder, and returns without
    // waiting. `utf8`: the script is UTF-8 text; cmd is switched to that code page before it reads it.
    virtual bool RunScript(std::string_view scriptPath, bool utf8) = 0;

    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual void Beep() = 0;
    virtual bool SetClipboardText(std::string_view text) = 0;
    virtual MsgResult ShowMessage(std::string_view text, std::string_view title, MsgIcon icon,
                                 MsgButtons buttons) = 0;

    virtual std::string TempPath() = 0;  // with a trailing "\"; empty on failure
    // Creates a new empty file with a unique name in `dir`; its full path, or nothing.
    virtual std::optional<std::string> CreateTempFile(std::string_view dir, std::string_view prefix) = 0;

    virtual std::uintptr_t ForegroundWindow() = 0;
};
