#include "update/mDeleteSelf.h"

#include "platform/SettingsKeys.h"
#include "system/Cat.h"
#include "system/PathText.h"
#include "system/mExists.h"
#include "update/ProgramReplace.h"

namespace {

constexpr int kGraceRounds = 10;    // rounds the ending process gets before it is ended by force
constexpr int kGiveUpRounds = 30;   // rounds after which the old process counts as stuck
constexpr int kStartRounds = 60;    // rounds the new program gets to store its version

// cmd expands "%" even inside quotes.
std::string Quoted(std::string_view name) {
    std::string out = "\"";
    for (char c : name) out += c == '%' ? std::string("%%") : std::string(1, c);
    return out + "\"";
}

std::string FileName(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::string DeleteSelfScript(const HandOver& h) {
    const std::string p = Quoted(h.program), old = Quoted(OldProgramPath(h.program)), lock = Quoted(h.lock);
    // TIMEOUT is missing on older Windows and in Wine, and fails without console input: a second
    // between two pings of the own machine is the pause.
    const std::string pause = " PING -n 2 127.0.0.1 >NUL\r\n SET /A N+=1\r\n";
    return Cat("@ECHO OFF\r\n", " IF NOT EXIST ", lock, " GOTO END\r\n", " SET N=0\r\n", ":LOOP\r\n", pause,
               " IF %N% GEQ ", std::to_string(kGraceRounds), " TASKKILL /F /PID ", std::to_string(h.processId),
               " >NUL 2>NUL\r\n", " DEL ", lock, " >NUL 2>NUL\r\n",
               " IF EXIST ", lock, " IF %N% LSS ", std::to_string(kGiveUpRounds), " GOTO LOOP\r\n",
               " IF EXIST ", lock, " GOTO BACK\r\n", " GOTO END\r\n", ":END\r\n",
               " START \"\" ", p, "\r\n", " SET N=0\r\n", ":WAIT\r\n", pause,
               " FOR /F \"tokens=2*\" %%A IN ('REG QUERY \"HKCU\\Software\\VB and VBA Program Settings\\",
               kSettingsApp, "\\", kSettingsSection, "\" /v ", key::Version, " 2^>NUL') DO IF \"%%B\"==\"",
               h.version, "\" GOTO DONE\r\n",
               // A running program cannot be deleted: this ends the wait when the new one has ended.
               " IF EXIST ", old, " DEL ", p, " >NUL 2>NUL\r\n",
               " IF EXIST ", p, " IF %N% LSS ", std::to_string(kStartRounds), " GOTO WAIT\r\n",
               ":BACK\r\n", " TASKKILL /F /IM ", p, " >NUL 2>NUL\r\n", " PING -n 2 127.0.0.1 >NUL\r\n",
               " IF EXIST ", old, " DEL ", p, " >NUL 2>NUL\r\n", " IF NOT EXIST ", p, " REN ", old, " ", p, "\r\n",
               " START \"\" ", p, "\r\n", " GOTO QUIT\r\n", ":DONE\r\n", " DEL ", old, " >NUL 2>NUL\r\n",
               ":QUIT\r\n", " DEL ", Quoted(h.script), " >NUL");
}

void HandOverUpdate(Ports& ports, std::string_view program) {
    FileSystem& files = ports.files;
    const std::string folder(program.substr(0, program.rfind('\\') + 1));
    const std::uint32_t pid = ports.system.ProcessId();
    // An earlier update's script may still be running: never write over it.
    std::string stem = Cat(folder, "Wolkenglas-Update-", std::to_string(pid));
    for (int n = 2; FileSize(files, Cat(stem, ".bat")) >= 0 || FileSize(files, Cat(stem, ".lock")) >= 0; ++n)
        stem = Cat(folder, "Wolkenglas-Update-", std::to_string(pid), "-", std::to_string(n));
    const std::string script = Cat(stem, ".bat"), lock = Cat(stem, ".lock");
    const HandOver handOver{FileName(program), pid, FileName(lock),
                            Utf8FromWin(ProgramFileVersionText(files, program).value_or("")), FileName(script)};
    files.HoldUntilExit(lock);
    const std::string text = DeleteSelfScript(handOver);
    if (!files.WriteFile(script, text) || FileSize(files, script) <= 0) return;
    // The new program may start while this one is still ending: it waits for the instance lock
    // as after any restart of ours.
    ports.settings.Write(kSettingsApp, kSettingsSection, key::Reload, "1");
    ports.system.RunScript(script, !IsAscii(text));
}
