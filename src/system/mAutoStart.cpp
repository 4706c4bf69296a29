#include "system/mAutoStart.h"

#include "platform/SettingsKeys.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/PathText.h"
#include "system/mExists.h"
#include "system/mRegistry2.h"

namespace {

constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kSwitch = " /startup";

std::string Quoted(std::string_view path) { return Cat("\"", path, "\""); }

std::string WithoutAll(std::string text, std::string_view part) {
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
    return text;
}

}  // namespace

std::string RunValuePath(std::string_view section) { return Cat("HKCU\\", kRunKey, "\\", section); }

std::string AutoStartCommand(std::string_view exePath) { return Cat(Quoted(exePath), kSwitch); }

void AutoStartClick(const AutoStart& a, int boxValue) {
    const bool on = boxValue != 0;
    a.ports.settings.Write(a.app, a.section, key::RunAtStartup, on ? "1" : "0");
    if (on) Registry(a.ports.registry, RunValuePath(a.section), AutoStartCommand(a.exePath));
    else DeleteValue(a.ports.registry, RunValuePath(a.section));
}

void AutoStartCheck(const AutoStart& a, bool& loaded, const std::function<void(int)>& setBox) {
    const double autoStart = Val(a.ports.settings.Read(a.app, a.section, key::RunAtStartup, "0"));
    const std::string newCommand = Quoted(a.exePath);
    std::string oldCommand = RegText(Registry(a.ports.registry, RunValuePath(a.section)));
    const std::string oldPath = WithoutAll(WithoutAll(oldCommand, "\""), kSwitch);

    if (autoStart == 1 && FileSize(a.ports.files, oldPath) < 1) {
        SystemPort& sys = a.ports.system;
        sys.Beep();
        const std::string text =
            Cat("AutoStart ist aktiv, aber der Pfad des Programms hat sich geändert.    \r\n\r\n",
                "    Alt:     ", WinFromUtf8(oldCommand), "      \r\n",
                "    Neu:   ", WinFromUtf8(newCommand), "      \r\n\r\n",
                "Soll der Pfad für AutoStart angepasst werden?      \r\n\r\n",
                "    [Ja]:       Pfad wird aktualisiert.      \r\n",
                "    [Nein]:   AutoStart wird deaktiviert.      \r\n");
        const MsgResult answer = sys.ShowMessage(text, Cat(" ", a.product, " - AutoStart "), MsgIcon::Question,
                                                 MsgButtons::YesNo);
        loaded = true;
        // Two opposite values, so that the click handler runs for the final one whatever the box
        // showed before.
        if (answer == MsgResult::Yes) {
            oldCommand = newCommand;
            setBox(0);
            setBox(1);
        } else {
            oldCommand.clear();
            setBox(1);
            setBox(0);
        }
    }
    setBox(oldCommand.empty() ? 0 : 1);
}
