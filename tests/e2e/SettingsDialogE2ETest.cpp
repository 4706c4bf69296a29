// The settings dialog as Wine shows it: its controls' classes, captions and tooltips as the window
// manager reads them, compared with the design they are made from; Alt+F4 and F1, the mnemonics,
// and OK storing the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "ProbeSupport.h"
#include "settings/SetDesign.h"

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
    shown.raw = wine.Probe({"window", WineSession::kDesktop, kCaption});
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

// The probe's way of writing a text: printable ASCII, every other byte as \xNN.
std::string Escaped(const char* text) {
    std::string out;
    for (const char ch : std::string(text)) {
        const auto c = static_cast<unsigned char>(ch);
        char buf[5];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, ch) : buf;
    }
    return out;
}

std::string ClassOf(SetKind kind) {
    switch (kind) {
        case SetKind::Combo: case SetKind::DropList: return "ComboBox";
        case SetKind::Edit: case SetKind::ReadOnlyEdit: return "Edit";
        case SetKind::Label: case SetKind::Link: case SetKind::Picture: return "Static";
        default: return "Button";
    }
}

TEST(SettingsDialogE2E, ShowsItsControlsHidesOnAltF4OpensOnF1AndOkStores) {
    WineSession wine;
    wine.InstallTahoma();
    wine.Start();
    const auto widget = wine.WaitForWindow("Wolkenglas", kStartTimeout);
    ASSERT_TRUE(widget) << "the widget window did not appear";
    auto dialog = wine.WaitForWindow(kCaption, 30s);
    ASSERT_TRUE(dialog) << "with no place stored the dialog opens at start";

    // Every control of the design, made in its order with its caption and tooltip; the texts that
    // the start fills in, and the loaded check states, on top.
    const auto& design = SetDesign();
    Shown shown;
    EXPECT_TRUE(WaitUntil([&] { return (shown = Probe(wine)).controls.size() == design.size(); }, 30s)) << shown.raw;
    EXPECT_EQ(shown.window, "window 392x424 visible");
    EXPECT_TRUE(std::is_sorted(shown.order.begin(), shown.order.end())) << "creation (tab) order is the design's";
    const std::map<int, std::string> filled = {
        {110, "60\titems 10|15|30|60"}, {122, "Wetterdaten: Open-Meteo.com"},  // no key: the keyless source, named
        {125, "Wolkenglas"}, {126, "Version 1.54 - 03.11.2015"}};
    const std::set<int> checked = {101, 104, 105, 107, 109};
    std::vector<std::pair<int, std::string>> tips;
    for (std::size_t i = 0; i < design.size(); ++i) {
        const SetControl& c = design[i];
        const int id = 100 + static_cast<int>(i);
        const Control& control = shown.controls[id];
        EXPECT_STRCASEEQ(control.cls.c_str(), ClassOf(c.kind).c_str()) << id;
        EXPECT_EQ(control.text, filled.count(id) ? filled.at(id) : Escaped(c.caption)) << id;
        EXPECT_EQ(control.state.find('c') != std::string::npos, checked.count(id) > 0) << id << " " << control.text;
        // A combo box's text field has a tool of its own.
        for (int n = c.kind == SetKind::Combo ? 2 : 1; *c.tooltip && n > 0; --n) tips.emplace_back(id, Escaped(c.tooltip));
    }
    EXPECT_EQ(shown.tips, tips);
    EXPECT_TRUE(wine.KeepScreenshot(wine.Screenshot("dialog-full"), wine.Geometry(*dialog), "screenshot-dialog"));

    // Alt+F4 only hides the dialog; the widget goes on.
    EXPECT_TRUE(wine.Key(*dialog, "alt+F4"));
    EXPECT_TRUE(wine.WaitForWindowGone(kCaption, 10s)) << "Alt+F4 did not hide the dialog";
    EXPECT_TRUE(wine.Geometry(*widget).viewable);

    // On the widget F1 opens the dialog (other shift states: the interaction tests).
    EXPECT_TRUE(wine.Key(*widget, "F1"));
    dialog = wine.WaitForWindow(kCaption, 10s);
    ASSERT_TRUE(dialog) << "F1 did not open the dialog";

    // The mnemonics: Alt+E picks the English units, Alt+O is OK, which stores and hides.
    EXPECT_TRUE(wine.Key(*dialog, "alt+e alt+o"));
    EXPECT_TRUE(wine.WaitForWindowGone(kCaption, 10s)) << "OK did not hide the dialog";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Metric"), "0");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Refresh.Interval"), "60");
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Magnetic"), "1");
    EXPECT_TRUE(wine.Geometry(*widget).viewable) << "the program must keep running";
}

}  // namespace
