// Autostart: the dialog's start check and the check box's click.
#include <gtest/gtest.h>

#include "doubles/FakePorts.h"
#include "settings/frmSet.h"
#include "system/mRegistry2.h"
#include "widget/frmMain.h"

namespace {

constexpr const char* kRun = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\AccuWeather";
const std::string kLodz = "C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA\\Wolkenglas.exe";  // C:\Łódź\ in UTF-8
const std::string kOld = "\"C:\\Old\\Wolkenglas.exe\" /startup";

struct Dialog {
    FakePorts fake;
    FakeWindow mainWindow, setWindow;
    frmMain main{fake.ports, mainWindow};
    frmSet set{fake.ports, setWindow, main};
    explicit Dialog(const std::string& exe) {
        main.EN = exe;
        fake.files.files[exe] = "MZ";
        set.RN = "Korvelin", set.PN = "AccuWeather", set.MC = "Wolkenglas";
    }
    std::string Run() { return RegText(Registry(fake.registry, kRun)); }
};

TEST(AutoStart, StartCheck) {
    const std::string here = "\"" + kLodz + "\" /startup";
    struct Row { const char* name; const char* setting; std::string value; MsgResult answer; bool asked; int box;
                 const char* stored; std::string after; };
    const Row rows[] = {
        {"on, unchanged", "1", here, MsgResult::No, false, 1, "1", here},
        {"moved, Yes", "1", kOld, MsgResult::Yes, true, 1, "1", here},
        {"moved, No", "1", kOld, MsgResult::No, true, 0, "0", ""},
        {"on, no value, Yes", "1", "", MsgResult::Yes, true, 1, "1", here},
        {"off with a value", "0", kOld, MsgResult::Yes, false, 1, "0", kOld},
        {"off", nullptr, "", MsgResult::Yes, false, 0, "<missing>", ""},
    };
    for (const Row& r : rows) {
        Dialog d(kLodz);
        if (r.setting) d.fake.settings.Set("RunAtStartup", r.setting);
        if (!r.value.empty()) Registry(d.fake.registry, kRun, r.value);
        d.fake.settings.writes.clear();
        d.fake.system.answer = r.answer;
        d.set.CheckAutoStart();
        EXPECT_EQ(d.fake.system.boxes.size() + d.fake.system.beeps, r.asked ? 2u : 0u) << r.name;
        EXPECT_EQ(d.set.ckAutoStart.Value, r.box) << r.name;
        EXPECT_EQ(d.fake.settings.Get("RunAtStartup"), r.stored) << r.name;
        EXPECT_EQ(d.Run(), r.after) << r.name;
        EXPECT_EQ(d.fake.settings.writes.empty(), !r.asked) << r.name << ": a load without question stores nothing";
    }
    Dialog d(kLodz);
    d.fake.settings.Set("RunAtStartup", "1");
    Registry(d.fake.registry, kRun, kOld);
    d.set.CheckAutoStart();
    ASSERT_EQ(d.fake.system.boxes.size(), 1u);
    EXPECT_EQ(d.fake.system.boxes[0].title, " Wolkenglas - AutoStart ");
    EXPECT_EQ(d.fake.system.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(d.fake.system.boxes[0].text,  // the new path shown as far as Windows-1252 can
              "AutoStart ist aktiv, aber der Pfad des Programms hat sich ge\xE4ndert.    \r\n\r\n"
              "    Alt:     \"C:\\Old\\Wolkenglas.exe\" /startup      \r\n"
              "    Neu:   \"C:\\?\xF3" "d?\\Wolkenglas.exe\"      \r\n\r\n"
              "Soll der Pfad f\xFCr AutoStart angepasst werden?      \r\n\r\n"
              "    [Ja]:       Pfad wird aktualisiert.      \r\n    [Nein]:   AutoStart wird deaktiviert.      \r\n");
}

}  // namespace
