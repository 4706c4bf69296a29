#include "system/mChkDPI.h"

#include <cmath>
#include <string>
#include <variant>

#include "platform/SettingsKeys.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/mExeName.h"
#include "system/mRegistry2.h"
#include "system/mWinVersion.h"

namespace {

constexpr const char* kUseDpiScaling = "HKCU\\Software\\Microsoft\\Windows\\DWM\\UseDpiScaling";
constexpr const char* kLayers = "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
constexpr const char* kAppliedDpi = "HKCU\\Control Panel\\Desktop\\WindowMetrics\\AppliedDPI";
constexpr const char* kFlags[] = {"HIGHDPIAWARE", "DISABLEDWM"};
constexpr int kShowMinimized = 2;  // SW_SHOWMINIMIZED: minimised, and it takes the focus

std::int32_t cachedDpi = 0;

double Number(const RegValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value)) return *i;
    if (const auto* s = std::get_if<std::string>(&value)) return Val(*s);
    return 0;
}

bool HasFlag(const std::string& flags) {
    for (const char* flag : kFlags)
        if (flags.find(flag) != std::string::npos) return true;
    return false;
}

std::string Lines(std::string text) {
    std::string out;
    for (char c : text) out += c == '_' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// Removes the flags from the entry; true when the program is to restart.
bool RewriteFlags(RegistryPort& registry, const std::string& entry) {
    std::string flags = UpperCase(RegText(Registry(registry, entry)));
    bool changed = false;
    for (const char* flag : kFlags) {
        const std::string name = flag;
        if (flags.find(name) == std::string::npos) continue;
        for (auto at = flags.find(name); at != std::string::npos; at = flags.find(name)) flags.erase(at, name.size());
        flags = Trim(flags);
        Registry(registry, entry, flags);
        changed = true;
    }
    if (!changed) return false;
    if (Trim(flags).empty()) DeleteValue(registry, entry);
    // An entry that cannot be changed (a denied key) would bring the flags back at every start:
    // restart only when they are really gone.
    return !HasFlag(UpperCase(RegText(Registry(registry, entry))));
}

}  // namespace

std::int32_t GetDPI(RegistryPort& registry) {
    if (cachedDpi < 1) cachedDpi = static_cast<std::int32_t>(Number(Registry(registry, kAppliedDpi)));
    return cachedDpi;
}

std::int32_t DPIPercent(RegistryPort& registry) {
    return static_cast<std::int32_t>(std::nearbyint(GetDPI(registry) * 100.0 / 96.0));
}

void ForgetDPI() { cachedDpi = 0; }

DpiCheck ChkDPI(Ports& ports, bool askLogoff, bool silent) {
    RegistryPort& registry = ports.registry;
    SystemPort& sys = ports.system;
    const float version = WinVersion(sys);
    if (version != 6.1f && version != 6.2f) return DpiCheck::Done;

    const bool xp = Number(Registry(registry, kUseDpiScaling)) == 0;
    const std::string exe = ExePath(sys);
    if (RewriteFlags(registry, Cat(kLayers, "\\\\", exe))) {
        // This process holds the instance lock by now: the new copy waits for it, as after any
        // restart of ours, instead of meeting "Das Programm läuft bereits!".
        ports.settings.Write(kSettingsApp, kSettingsSection, key::Reload, "1");
        sys.ReleaseInstance();
        if (sys.StartCommand(Cat("Explorer.exe \"", exe, "\""), kShowMinimized) != 0) return DpiCheck::Restarted;
        ports.settings.Delete(kSettingsApp, kSettingsSection, key::Reload);
        sys.AnotherInstanceRunning();
    }

    // An unknown DPI (no value) is no reason to warn about "0 %".
    const std::int32_t dpi = GetDPI(registry);
    if (dpi == 96 || dpi < 1 || !xp) return DpiCheck::Done;
    if (silent) {
        Registry(registry, kUseDpiScaling, std::int32_t{1});
        return DpiCheck::Done;
    }
    const std::string warning = Lines(Cat(
        "  Sie verwenden eine Desktop-Skalierung von ", std::to_string(DPIPercent(registry)), "% (",
        std::to_string(dpi), " DPI)._",
        "  Das Programm ist allerdings auf 100% (96 DPI) optimiert.__",
        "  Damit das Programm in Windows7 bei einer höheren_",
        "  Skallierung korrekt dargestellt wird, muß die Windows XP_",
        "  kompatible DPI-Skalierung deaktiviert werden.__",
        "  Sie können die XP-Skalierung Jederzeit wieder in der_",
        "  Systemsteuerung wie folgt aktivieren:__",
        "      Darstellung und Anpassung / Anzeige /_",
        "      Benutzerdefinierte Textgröße (DPI) festlesen /_",
        "      DPI-Skalierung im Stil von Windows XP = Haken setzen__",
        "  Soll die XP-Skalierung jetzt deaktiviert werden?"));
    if (sys.ShowMessage(warning, " WARNUNG:  Desktop-Skalierung aktiv", MsgIcon::Exclamation, MsgButtons::YesNo) !=
        MsgResult::Yes)
        return DpiCheck::Done;
    Registry(registry, kUseDpiScaling, std::int32_t{1});

    std::string notice = "  Damit die Änderung wirksam wird,_  müssen Sie sich neu anmelden.";
    if (askLogoff) notice += "__  Möchsten Sie sich jetzt neu anmelden?";
    if (sys.ShowMessage(Lines(notice), " HINWEIS:", MsgIcon::Stop, MsgButtons::YesNoDefaultNo) == MsgResult::Yes)
        sys.StartCommand("shutdown.exe /l", 0);
    return DpiCheck::Done;
}
