// The settings dialog as Wine shows it: its controls' captions and tooltips as the window manager
// reads them, Alt+F4 and F1, the mnemonics, and OK storing the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "ProbeSupport.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 60s;
constexpr const char* kCaption = " Einstellungen ...";

struct Control {
    std::string cls, state, text;
};
struct Shown {
    std::string raw;
    std::string window;
    std::vector<int> order;
    std::map<int, Control> controls;
    std::vector<std::pair<int, std::string>> tips;
};

// Reads the probe's lines: "control ID<TAB>class<TAB>state<TAB>text[<TAB>items ...]", "tip ID<TAB>text".
Shown Probe(const WineSession& wine) {
    Shown shown;
    shown.raw = probe::RunWine(wine, {"window", WineSession::kDesktop, kCaption});
    std::istringstream lines(shown.raw);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string f; std::getline(parts, f, '\t');) fields.push_back(f);
        if (line.rfind("window ", 0) == 0) shown.window = line;
        fields.resize(std::max<std::size_t>(fields.size(), 4));  // an empty text ends the line
        if (line.rfind("control ", 0) == 0) {
            const int id = std::atoi(fields[0].c_str() + 8);
            shown.order.push_back(id);
            shown.controls[id] = {fields[1], fields[2], fields[3] + (fields.size() > 4 ? "\t" + fields[4] : "")};
        }
        if (line.rfind("tip ", 0) == 0) shown.tips.emplace_back(std::atoi(fields[0].c_str() + 4), fields[1]);
    }
    std::sort(shown.tips.begin(), shown.tips.end());
    return shown;
}

// Keeps a picture of the dialog with a margin of desktop; with WG_UPDATE_SCREENSHOTS=1 also as
// the documentation's screenshot.
void KeepScreenshot(const WineSession& wine, const std::string& windowId) {
    constexpr int kMargin = 12;
    const WindowGeometry g = wine.Geometry(windowId);
    const std::string shot = wine.Screenshot("dialog-full");
    const std::string out = WineSession::ArtifactDir() + "/screenshot-dialog.png";
    std::ostringstream cmd;
    cmd << "convert '" << shot << "' -crop " << g.width + 2 * kMargin << "x" << g.height + 2 * kMargin << "+"
        << g.x - kMargin << "+" << g.y - kMargin << " +repage '" << out << "'";
    ASSERT_EQ(wine.Run(cmd.str()).exitCode, 0);
    if (const char* update = std::getenv("WG_UPDATE_SCREENSHOTS"); update && *update == '1')
        probe::fs::copy_file(out, std::string(WG_SOURCE_DIR) + "/docs/screenshot-dialog.png",
                             probe::fs::copy_options::overwrite_existing);
}

TEST(SettingsDialogE2E, ShowsItsControlsHidesOnAltF4OpensOnF1AndOkStores) {
    WineSession wine;
    wine.InstallTahoma();
    wine.Start();
    const auto widget = wine.WaitForWindow("Wolkenglas", kStartTimeout);
    ASSERT_TRUE(widget) << "the widget window did not appear";
    auto dialog = wine.WaitForWindow(kCaption, 30s);
    ASSERT_TRUE(dialog) << "with no place stored the dialog opens at start";
    std::this_thread::sleep_for(500ms);

    const Shown shown = Probe(wine);
    EXPECT_EQ(shown.window, "window 392x424 visible");
    EXPECT_TRUE(std::is_sorted(shown.order.begin(), shown.order.end())) << "creation (tab) order is the design's";
    struct Row { int id; const char* cls; bool checked; const char* text; };
    const Row rows[] = {
        {100, "Button", false, "Einheiten:"},
        {101, "Button", true, "&Metrisch"},
        {102, "Button", false, "&Englisch"},
        {103, "Button", false, "Einstellungen:"},
        {104, "Button", true, "&Bei Wetter\\xE4nderung Balloon-Tip anzeigen."},
        {105, "Button", true, "&Beim Start nach Updates suchen."},
        {106, "Button", false, "&Fenster vor Verschieben sperren."},
        {107, "Button", true, "&Magnetischer Bildrand."},
        {108, "Button", false, "&Programm automatisch starten."},
        {109, "Button", true, "A&ktualisieren:"},
        {110, "ComboBox", false, "60\titems 10|15|30|60"},
        {111, "Static", false, "Min."},
        {112, "Button", false, "Suchen:"},
        {113, "Static", false, "Suche Ort:"},
        {114, "Edit", false, ""},
        {115, "Button", false, "&Suchen"},
        {116, "Static", false, "Ort ausw\\xE4hlen:"},
        {117, "ComboBox", false, ""},
        {118, "Static", false, "Standort ID:"},
        {119, "Edit", false, ""},
        {120, "Button", false, "&Abrufen"},
        {121, "Static", false, "Quelle der Daten:"},
        {122, "Static", false, "Wetterdaten: Open-Meteo.com"},  // no key: the keyless source, named
        {123, "Button", false, ""},
        {124, "Static", false, ""},
        {125, "Static", false, "Wolkenglas"},
        {126, "Static", false, "Version 1.54 - 03.11.2015"},
        {127, "Static", false, "http://www.korvelin.invalid/"},
        {128, "Static", false, "info@korvelin.invalid"},
        {129, "Button", false, "&OK"},
    };
    EXPECT_EQ(shown.controls.size(), std::size(rows)) << shown.raw;
    for (const Row& r : rows) {
        const auto it = shown.controls.find(r.id);
        ASSERT_NE(it, shown.controls.end()) << r.id;
        EXPECT_STRCASEEQ(it->second.cls.c_str(), r.cls) << r.id;
        EXPECT_EQ(it->second.text, r.text) << r.id;
        EXPECT_EQ(it->second.state.find('c') != std::string::npos, r.checked) << r.id << " " << r.text;
    }
    const std::vector<std::pair<int, std::string>> tips = {
        {101, " Einheiten: Metrisch "},
        {102, " Einheiten: Englisch  "},
        {104, " Zeigt bei Wetter\\xE4nderung ein Balloon-Tip im SysTray an (ab Windows 2000)  "},
        {105, " Sucht beim Programm-Start nach Updates "},
        {106, " Sperrt das Fenster um ein versehendliches Verschieben zu verhindern  "},
        {107, " Fenster wird vom Bildschirmrand magnetisch angezogen "},
        {108, " Programm automatisch beim start von Windows laden "},
        {109, " Daten automatisch aktualisieren "},
        {110, " Daten alle XX Minuten aktualisieren "},  // the box and its text field
        {110, " Daten alle XX Minuten aktualisieren "},
        {114, " Bitte Ort und ggf. Land (Ort, Germany) eingeben ... "},
        {115, " Ort in der Server-Datenbank suchen ... "},
        {117, " Liste gefundener Orte "},
        {119, " Locations ID (wird vom Server geladen) "},
        {120, " Daten von Server abrufen ... "},
        {129, " Einstellungen beenden "},
    };
    EXPECT_EQ(shown.tips, tips);
    KeepScreenshot(wine, *dialog);

    // Alt+F4 only hides the dialog; the widget goes on.
    wine.Key(*dialog, "alt+F4");
    EXPECT_TRUE(wine.WaitForWindowGone(kCaption, 10s)) << "Alt+F4 did not hide the dialog";
    EXPECT_TRUE(wine.Geometry(*widget).viewable);

    // On the widget, Shift+F1 does nothing and F1 opens the dialog.
    wine.Key(*widget, "shift+F1");
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(wine.CountViewable(kCaption), 0u) << "Shift+F1 opened the dialog";
    wine.Key(*widget, "F1");
    dialog = wine.WaitForWindow(kCaption, 10s);
    ASSERT_TRUE(dialog) << "F1 did not open the dialog";

    // The mnemonics: Alt+E picks the English units, Alt+O is OK, which stores and hides.
    wine.Key(*dialog, "alt+e alt+o");
    EXPECT_TRUE(wine.WaitForWindowGone(kCaption, 10s)) << "OK did not hide the dialog";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Metric"), "0");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Refresh.Interval"), "60");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Magnetic"), "1");
    EXPECT_TRUE(wine.Geometry(*widget).viewable) << "the program must keep running";
}

}  // namespace
