#include "console/ConsolePorts.h"

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <ostream>
#include <thread>

#include "service/mUTF8toWIN.h"
#include "system/Cat.h"

std::string ConsoleSystem::ModuleFileName() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("wolkenglas");
}

std::uint32_t ConsoleSystem::ProcessId() { return static_cast<std::uint32_t>(::getpid()); }

FileVersion ConsoleSystem::ProgramVersion() {
    return {WG_VERSION_MAJOR, WG_VERSION_MINOR, WG_VERSION_PATCH, WG_VERSION_TWEAK, {}};
}

void ConsoleSystem::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

MsgResult ConsoleSystem::ShowMessage(std::string_view text, std::string_view title, MsgIcon,
                                     MsgButtons buttons) {
    std::string lines(text);
    std::erase(lines, '\r');
    messages_ << WINtoUTF8(Cat(title, ":\n", lines)) << '\n';
    switch (buttons) {
        case MsgButtons::YesNo: return MsgResult::No;
        case MsgButtons::OkCancel: return MsgResult::Cancel;
        default: return MsgResult::Ok;
    }
}

std::string ConsoleSystem::TempPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = dir && *dir ? dir : "/tmp";
    if (path.back() != '/') path.push_back('/');
    return path;
}

std::optional<std::string> ConsoleSystem::CreateTempFile(std::string_view dir, std::string_view prefix) {
    // Like GetTempFileName: a new empty file with the ".tmp" extension.
    std::string path = Cat(dir, prefix, "XXXXXX.tmp");
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0) return std::nullopt;
    ::close(fd);
    return path;
}
