#include "update/mDeleteSelf.h"

#include "platform/SettingsKeys.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/PathText.h"
#include "system/mExists.h"
#include "update/ProgramReplace.h"

namespace {

std::string Folder(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

// The path as the script names it: the bare name when it lies in the script's folder.
std::string Named(std::string_view path, std::string_view folder, bool relative) {
    if (relative && !folder.empty() && path.substr(0, folder.size()) == folder &&
        path.substr(folder.size()).find('\\') == std::string_view::npos)
        return std::string(path.substr(folder.size()));
    return std::string(path);
}

}  // namespace

std::string DeleteSelfScript(std::string_view file, std::string_view program, std::string_view extra,
                             bool endProcess) {
    const std::string script = Cat(file, ".bat");
    const auto slash = file.rfind('\\');
    const std::string process = slash != std::string_view::npos && slash > 0 ? std::string(file.substr(slash + 1)) : "";
    const bool relative = !IsAscii(file) || !IsAscii(program);
    const std::string folder = Folder(file);
    const std::string f = Named(file, folder, relative);

    std::string text = Cat("@ECHO OFF\r\n", " IF NOT EXIST \"", f, "\" GOTO END\r\n");
    if (!Trim(extra).empty()) text += Cat(" ", extra, "\r\n");
    text += ":LOOP\r\n TIMEOUT /T 1 >NUL\r\n";
    if (endProcess && !Trim(process).empty()) text += Cat(" TASKKILL /F /IM \"", process, "\" /T\r\n");
    text += Cat(" DEL \"", f, "\" >NUL\r\n", " IF EXIST \"", f, "\" GOTO LOOP\r\n", " GOTO END\r\n", ":END\r\n");
    if (!Trim(program).empty()) text += Cat(" \"", Named(program, folder, relative), "\"\r\n");
    text += Cat(" DEL \"", Named(script, folder, relative), "\" >NUL");
    return text;
}

void DeleteSelf(SystemPort& system, FileSystem& files, std::string_view file, std::string_view program,
                std::string_view extra, bool endProcess) {
    if (Trim(file).empty()) return;
    const std::string script = Cat(file, ".bat");
    const std::string text = DeleteSelfScript(file, program, extra, endProcess);
    files.WriteFile(script, text);
    if (FileSize(files, script) > 0) system.RunScript(script, !IsAscii(text));
}

void HandOverUpdate(Ports& ports, std::string_view program) {
    DeleteSelf(ports.system, ports.files, OldProgramPath(program), program, "", true);
    // The new program may start while this one is still ending: it waits for the instance lock
    // as after any restart of ours.
    ports.settings.Write(kSettingsApp, kSettingsSection, key::Reload, "1");
}
