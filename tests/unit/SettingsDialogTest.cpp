// The settings dialog's handlers and its design (places and tab order); the widget's F1 is among
// the widget's keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "doubles/FakePorts.h"
#include "doubles/FakeServices.h"
#include "satellite/frmPic.h"
#include "settings/SetDesign.h"
#include "settings/frmSet.h"
#include "widget/frmMain.h"

namespace {

struct App : ServicedWindows {
    explicit App(bool placeStored = true) {
        fake.system.os = {2, 5, 1};  // Windows XP: no manifest to write, so no restart for it
        if (placeStored) {
            fake.settings.Set("Location.Selected", "Berlin, Berlin, DE");
            fake.settings.Set("Location.Key", "10178");
        }
    }
    // Refreshes started so far: each asks for the place first (the fake service never answers).
    int Refreshes() const { return static_cast<int>(services.transport.requests.size()); }
};

TEST(SettingsDialog, HandlersRefreshHideAndStoreAsTheUserExpects) {
    struct Row {
        const char* what;
        bool visible, dataLoaded, cChkEnabled;
        std::function<void(frmSet&)> action;
        int refreshes;
        bool visibleAfter, saved;
        const char* focus;
    };
    const Row rows[] = {
        {"OK after a refresh", true, true, true, [](frmSet& s) { s.cOk_Click(); }, 0, false, true, ""},
        {"OK without a refresh since the choice", true, false, true, [](frmSet& s) { s.cOk_Click(); }, 1, false, true, ""},
        {"units in the visible dialog", true, true, true, [](frmSet& s) { s.oMetric_Click(1); }, 1, true, false, ""},
        {"units while hidden", false, true, true, [](frmSet& s) { s.oMetric_Click(0); }, 0, false, false, ""},
        {"units while a refresh runs", true, true, false, [](frmSet& s) { s.oMetric_Click(1); }, 0, true, false, ""},
        {"Enter in the place list", true, true, true, [](frmSet& s) { s.coLoc_KeyDown(13, 0); }, 1, true, false, "cChk"},
        {"Shift+Enter in the place list", true, true, true, [](frmSet& s) { s.coLoc_KeyDown(13, 1); }, 0, true, false, ""},
        {"Ctrl+Enter in the place list", true, true, true, [](frmSet& s) { s.coLoc_KeyDown(13, 2); }, 0, true, false, ""},
        {"Enter while a refresh runs", true, true, false, [](frmSet& s) { s.coLoc_KeyDown(13, 0); }, 0, true, false, ""},
        {"another key in the place list", true, true, true, [](frmSet& s) { s.coLoc_KeyDown(40, 0); }, 0, true, false, ""},
        {"Alt+F4", true, true, true, [](frmSet& s) { s.Form_KeyDown(115, 4); }, 0, false, false, ""},
        {"F4", true, true, true, [](frmSet& s) { s.Form_KeyDown(115, 0); }, 0, true, false, ""},
        {"Alt+Shift+F4", true, true, true, [](frmSet& s) { s.Form_KeyDown(115, 5); }, 0, true, false, ""},
        {"Alt+F5", true, true, true, [](frmSet& s) { s.Form_KeyDown(116, 4); }, 0, true, false, ""},
    };
    for (const Row& r : rows) {
        App app;
        app.main.Form_Load();
        r.visible ? app.set.Show() : app.set.Hide();
        app.set.DataLoaded = r.dataLoaded;
        app.set.cChkEnabled = r.cChkEnabled;
        app.fake.settings.writes.clear();
        const int before = app.Refreshes();
        r.action(app.set);
        EXPECT_EQ(app.Refreshes() - before, r.refreshes) << r.what;
        EXPECT_EQ(app.set.Visible(), r.visibleAfter) << r.what;
        EXPECT_EQ(app.setWindow.visible, r.visibleAfter) << r.what;
        EXPECT_EQ(!app.fake.settings.writes.empty(), r.saved) << r.what;
        EXPECT_EQ(app.set.FocusRequest, r.focus) << r.what;
    }
}

TEST(SettingsDialog, LinkLabelsOpenTheirAddressesAndTheMailCarriesTheVersion) {
    App app;
    app.main.Form_Load();
    app.set.lHomepage_Click();
    // Without a key of the user's the keyless source answers; its licence asks to be named.
    EXPECT_EQ(app.set.lLink, "Wetterdaten: Open-Meteo.com");
    app.set.lLink_Click();
    app.fake.settings.Set("Server.ApiKey", "MYKEY");
    app.set.ShowDataSource();
    EXPECT_EQ(app.set.lLink, "http://www.accuweather.com/");
    app.set.lLink_Click();
    app.set.lMail_Click();
    EXPECT_EQ(app.fake.system.shellOpens,
              (std::vector<std::pair<std::string, int>>{
                  {"http://www.korvelin.invalid/", 0}, {"https://open-meteo.com/", 0}, {"http://www.accuweather.com/", 0}}));
    ASSERT_EQ(app.fake.system.commands.size(), 1u);
    EXPECT_EQ(app.fake.system.commands[0].first,
              "rundll32.exe url.dll,FileProtocolHandler "
              "\"mailto:info@korvelin.invalid?subject=Wolkenglas%20%20v1.54&body=\"");
    EXPECT_EQ(app.fake.system.commands[0].second, 1);
}

// The design keeps every control inside the dialog and inside the frame it sits in, lets no two
// controls overlap, and makes the tab order run row by row, left to right.
TEST(SettingsDialog, DesignPlacesControlsInFramesAndTabsInVisualOrder) {
    struct Box { int l, t, r, b; };
    auto box = [](const SetControl& c) { return Box{c.left, c.top, c.left + c.width, c.top + c.height}; };
    auto overlap = [](Box a, Box b) { return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b; };
    auto inside = [](Box a, Box outer) { return a.l >= outer.l && a.r <= outer.r && a.t >= outer.t && a.b <= outer.b; };
    constexpr int kFrameCaption = 12;  // the caption line at the frame's top
    const auto& design = SetDesign();
    const SetControl* lastStop = nullptr;
    for (std::size_t i = 0; i < design.size(); ++i) {
        const SetControl& c = design[i];
        EXPECT_TRUE(inside(box(c), {0, 0, kSetClientWidth, kSetClientHeight})) << c.name;
        if (c.kind == SetKind::Frame) continue;
        for (const SetControl& f : design) {
            if (f.kind != SetKind::Frame || !overlap(box(c), box(f))) continue;
            const Box interior{f.left + 2, f.top + kFrameCaption, f.left + f.width - 2, f.top + f.height - 2};
            EXPECT_TRUE(inside(box(c), interior)) << c.name << " crosses " << f.name;
        }
        for (std::size_t j = i + 1; j < design.size(); ++j) {
            if (design[j].kind != SetKind::Frame) {
                EXPECT_FALSE(overlap(box(c), box(design[j]))) << c.name << " / " << design[j].name;
            }
        }
        if (!c.TabStop()) continue;
        if (lastStop) {
            const bool sameRow = std::abs(c.top - lastStop->top) <= 4;
            EXPECT_TRUE(sameRow ? c.left > lastStop->left : c.top > lastStop->top)
                << lastStop->name << " -> " << c.name;
        }
        lastStop = &c;
    }
}

}  // namespace
