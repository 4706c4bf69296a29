#include "settings/SetDesign.h"

namespace {
// Heights of one line of Tahoma 8.25 pt and of the controls around such a line, at 96 DPI.
constexpr int kText = 13;
constexpr int kBox = 17;
constexpr int kEdit = 20;
constexpr int kCombo = 21;
constexpr int kButton = 23;
constexpr int kRow = 18;  // check boxes one under the other
}  // namespace

const std::vector<SetControl>& SetDesign() {
    using K = SetKind;
    static const std::vector<SetControl> design = {
        {"fMetric", -1, K::Frame, "Einheiten:", "", 8, 6, 376, 44},
        {"oMetric", 0, K::Option, "&Metrisch", " Einheiten: Metrisch ", 20, 24, 100, kBox},
        {"oMetric", 1, K::Option, "&Englisch", " Einheiten: Englisch  ", 140, 24, 100, kBox},

        {"fRefresh", -1, K::Frame, "Einstellungen:", "", 8, 56, 376, 136},
        {"ckBalloon", -1, K::Check, "&Bei Wetteränderung Balloon-Tip anzeigen.",
         " Zeigt bei Wetteränderung ein Balloon-Tip im SysTray an (ab Windows 2000)  ", 20, 74, 300, kBox},
        {"ckUpdate", -1, K::Check, "&Beim Start nach Updates suchen.", " Sucht beim Programm-Start nach Updates ",
         20, 74 + kRow, 300, kBox},
        {"ckLock", -1, K::Check, "&Fenster vor Verschieben sperren.",
         " Sperrt das Fenster um ein versehendliches Verschieben zu verhindern  ", 20, 74 + 2 * kRow, 300, kBox},
        {"ckMag", -1, K::Check, "&Magnetischer Bildrand.", " Fenster wird vom Bildschirmrand magnetisch angezogen ",
         20, 74 + 3 * kRow, 300, kBox},
        {"ckAutoStart", -1, K::Check, "&Programm automatisch starten.",
         " Programm automatisch beim start von Windows laden ", 20, 74 + 4 * kRow, 300, kBox},
        {"ckRefresh", -1, K::Check, "A&ktualisieren:", " Daten automatisch aktualisieren ", 20, 74 + 5 * kRow + 4,
         100, kBox},
        {"coMin", -1, K::Combo, "", " Daten alle XX Minuten aktualisieren ", 124, 74 + 5 * kRow + 2, 52, kCombo},
        {"Label3", -1, K::Label, "Min.", "", 182, 74 + 5 * kRow + 6, 40, kText},

        {"fSearch", -1, K::Frame, "Suchen:", "", 8, 198, 376, 108},
        {"lSearch", -1, K::Label, "Suche Ort:", "", 20, 220, 80, kText},
        {"tSearch", -1, K::Edit, "", " Bitte Ort und ggf. Land (Ort, Germany) eingeben ... ", 104, 217, 186, kEdit},
        {"cSearch", -1, K::Button, "&Suchen", " Ort in der Server-Datenbank suchen ... ", 296, 215, 80, kButton},
        {"lLoc", -1, K::Label, "Ort auswählen:", "", 20, 249, 80, kText},
        {"coLoc", -1, K::DropList, "", " Liste gefundener Orte ", 104, 245, 272, kCombo},
        {"lLocID", -1, K::Label, "Standort ID:", "", 20, 278, 80, kText},
        {"tCID", -1, K::ReadOnlyEdit, "", " Locations ID (wird vom Server geladen) ", 104, 275, 186, kEdit,
         SetFont::Fixed},
        {"cChk", -1, K::Button, "&Abrufen", " Daten von Server abrufen ... ", 296, 273, 80, kButton},

        {"lLinkL", -1, K::Label, "Quelle der Daten:", "", 20, 314, 100, kText},
        {"lLink", -1, K::Link, kServiceAddress, "", 124, 314, 200, kText},

        {"fInfo", -1, K::Frame, "", "", 8, 332, 376, 54},
        {"PicIcon", -1, K::Picture, "", "", 18, 344, 32, 32},
        {"lTitle", -1, K::Label, "", "", 60, 346, 150, 14, SetFont::Bold},
        {"lVersion", -1, K::Label, "", "", 60, 362, 160, kText},
        {"lHomepage", -1, K::Link, kHomepageAddress, "", 224, 346, 152, kText},
        {"lMail", -1, K::Link, kMailAddress, "", 224, 362, 152, kText},

        {"cOk", -1, K::Button, "&OK", " Einstellungen beenden ", 304, 394, 80, kButton},
    };
    return design;
}
