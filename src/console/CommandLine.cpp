#include "console/CommandLine.h"

#include "service/mUTF8toWIN.h"
#include "system/Cat.h"
#include "system/Numbers.h"

std::variant<ConsoleOptions, std::string> ParseCommandLine(const std::vector<std::string>& args) {
    ConsoleOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            hasValue = true;
        }
        const bool takesValue = name == "--settings" || name == "--set" || name == "--search" || name == "--choose";
        const bool flag = name == "--json" || name == "--help" || name == "-h";
        if (!takesValue && !flag) return Cat("Unbekannte Option \"", UTF8toWIN(args[i]), "\".");
        if (flag && hasValue) return Cat("Die Option ", name, " nimmt keinen Wert.");
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) return Cat("Die Option ", name, " braucht einen Wert.");
            value = args[++i];
        }
        if (name == "--json") {
            options.json = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--search") {
            options.search = true;
            options.searchText = UTF8toWIN(value);
        } else if (name == "--choose") {
            const double n = StrictNumber(value).value_or(0);
            if (!(n >= 1 && n <= 10000 && n == static_cast<int>(n)))
                return Cat("--choose erwartet die Nummer eines gefundenen Ortes, nicht \"", UTF8toWIN(value), "\".");
            options.choose = static_cast<int>(n);
        } else if (name == "--settings") {
            if (value.empty()) return std::string("Die Option --settings braucht einen Dateinamen.");
            options.settingsFile = value;
        } else {
            const auto eq = value.find('=');
            const std::string key = eq == std::string::npos ? std::string() : Trim(value.substr(0, eq));
            if (key.empty()) return Cat("--set erwartet Schlüssel=Wert, nicht \"", UTF8toWIN(value), "\".");
            options.overrides.emplace_back(UTF8toWIN(key), UTF8toWIN(value.substr(eq + 1)));
        }
    }
    if (options.choose > 0 && !options.search) return std::string("--choose gilt nur mit --search.");
    return options;
}

std::string UsageText() {
    return "Aufruf: wolkenglas [--json] [--settings DATEI] [--set SCHLÜSSEL=WERT]...\n"
           "       wolkenglas --search TEXT [--choose N] [--settings DATEI]\n"
           "Holt einmal das Wetter des gespeicherten Ortes und zeigt das Widget als Text.\n"
           "  --search TEXT           sucht Orte und zeigt sie nummeriert (Exit-Status 1: keiner gefunden)\n"
           "  --choose N              speichert den N-ten gefundenen Ort und holt sein Wetter\n"
           "  --json                  ein JSON-Objekt (UTF-8) statt Text\n"
           "  --settings DATEI        diese Einstellungsdatei statt\n"
           "                          $XDG_CONFIG_HOME/wolkenglas/settings.ini (sonst ~/.config/...)\n"
           "  --set SCHLÜSSEL=WERT    ein Wert nur für diesen Lauf, nicht gespeichert (mehrfach möglich)\n"
           "  --help                  diese Hilfe\n"
           "Exit-Status: 0 Wetter geladen, 1 Fehler, 2 falscher Aufruf.\n";
}
