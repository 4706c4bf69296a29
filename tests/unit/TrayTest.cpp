// The tray icon: its picture's transparency, the cut fields, the mouse messages, the menu and
// the balloon option's notice.
#include <gtest/gtest.h>

#include "doubles/FakeServices.h"
#include "tray/mPicIcon.h"
#include "tray/mSysTray.h"

namespace {

TEST(Tray, MagentaAndOnlyExactMagentaIsTransparent) {
    const struct { std::uint32_t pixel; bool transparent; } rows[] = {
        {0xFF00FF, true}, {0xFE00FF, false}, {0xFF00FE, false}, {0x000000, false}, {0xFFFFFF, false}};
    for (const auto& r : rows) {
        const IconImage icon = PicToIcon(Bitmap(32, 32, r.pixel), 0xFF00FF);
        ASSERT_EQ(icon.width, 32);
        ASSERT_EQ(icon.mask.size(), 1024u);
        EXPECT_EQ(std::count(icon.mask.begin(), icon.mask.end(), r.transparent), 1024) << std::hex << r.pixel;
        EXPECT_EQ(icon.colour[5], r.transparent ? 0u : r.pixel) << "transparent pixels are black";
    }
    EXPECT_TRUE(PicToIcon(Bitmap(), 0xFF00FF).empty());
}

TEST(Tray, FieldsAreCutToTheirLengthKeepingTheStartWholeLinesAndCharacters) {
    const std::string tip = " K\xF6ln: " + std::string(200, 't');
    const std::string line = "Windb\xF6" "en bis:            24,1km/h";  // 33 characters
    std::string lines;
    for (int i = 0; i < 8; ++i) lines += line + "\r\n";
    const std::string foreign = std::string(126, 'x') + "\xC5\x81" "d";  // "Ł" across the cut
    const struct { std::string tip, title, text, tipShown, titleShown, textShown; } rows[] = {
        {tip, std::string(100, 'h'), std::string(300, 'b'), tip.substr(0, 127), std::string(63, 'h'), std::string(255, 'b')},
        {"", "", lines + line, "", "", lines.substr(0, 7 * 35 - 2)},  // the eighth line would end at 278
        {"", "", lines.substr(0, 7 * 35 - 2), "", "", lines.substr(0, 7 * 35 - 2)},
        {foreign, "", "", std::string(126, 'x'), "", ""},
    };
    for (const auto& r : rows) {
        FakeTray tray;
        SysTray(tray, TrayMessage::Modify, {}, r.tip, r.title, r.text, 1, 10000);
        EXPECT_EQ(tray.calls[0].tip, r.tipShown);
        EXPECT_EQ(tray.calls[0].title, r.titleShown);
        EXPECT_EQ(tray.calls[0].text, r.textShown);
    }
}

struct TrayRig : ServicedWindows {
    TrayRig() {
        set.tCID.clear();
        set.TrayTip = " Köln: Sonnig ";
    }
};

TEST(Tray, MouseMessagesAndMenu) {
    TrayRig r;
    r.set.Form_MouseMove(512);  // moving over the icon
    EXPECT_TRUE(r.mainWindow.events.empty() && r.services.tray.calls.empty());
    r.set.Form_MouseMove(513);
    EXPECT_EQ(r.mainWindow.events, std::vector<std::string>{"show"});
    r.set.Form_MouseMove(515);
    EXPECT_TRUE(r.set.Visible());

    r.services.tray.choice = 9;
    r.set.Form_MouseMove(517);
    ASSERT_EQ(r.services.tray.calls.size(), 1u);
    const FakeTray::Call& call = r.services.tray.calls[0];
    EXPECT_TRUE(call.message == TrayMessage::Modify && call.title.empty() && call.text.empty() && call.flags == 0 &&
                call.timeout == 1000);
    EXPECT_EQ(call.tip, " Köln: Sonnig ");
    const std::vector<std::pair<int, std::string>> menu = {
        {1, "&Einstellungen      F1"}, {2, "&Aktualisieren      F5"}, {9, "&Beenden             Alt+F4"}};
    ASSERT_EQ(r.services.tray.menus.size(), 1u);
    EXPECT_EQ(r.services.tray.menus[0], menu);
    EXPECT_EQ(r.mainWindow.events.back(), "close");

    // "Aktualisieren" without a place only beeps.
    r.set.mnuPopUp_Click(2);
    EXPECT_EQ(r.fake.system.beeps, 1);
    EXPECT_TRUE(r.services.transport.requests.empty());
}

TEST(Tray, IconComesWhenTheNotificationAreaDoesAndAfterATaskbarRestart) {
    TrayRig r;
    auto& calls = r.services.tray.calls;
    const auto after = [&](int seconds) {
        r.services.clock.now += seconds / 86400.0;
        r.set.Timer1_Timer();
        return calls.size();
    };
    r.services.tray.shellReady = false;  // Explorer not ready at autostart
    r.set.TrayIconAdd();
    EXPECT_EQ(calls.size(), 2u) << "an add, and a change for an icon the shell may still hold";
    EXPECT_EQ(after(4), 2u);
    EXPECT_EQ(after(2), 4u) << "no try 5 s after the first";
    r.services.tray.shellReady = true;
    r.main.PicTray.Image = std::make_shared<Bitmap>(16, 16, 0x3060C0);
    EXPECT_EQ(after(9), 4u);
    EXPECT_EQ(after(2), 5u) << "no try 10 s after the second";
    EXPECT_EQ(after(60), 5u) << "tries on after the icon is there";
    for (const char* when : {"added late", "after the taskbar restarted"}) {
        EXPECT_TRUE(calls.back().message == TrayMessage::Add && calls.back().tip == r.set.TrayTip &&
                    calls.back().icon.width == 16) << when;
        r.set.TaskbarCreated();
    }
    r.set.TrayIconDelete();
    r.set.TaskbarCreated();
    EXPECT_EQ(calls.back().message, TrayMessage::Delete) << "an icon again after the program ended";
}

TEST(Tray, BalloonOptionNotice) {
    TrayRig r;
    r.services.clock.seconds = 3600.0f;
    for (const int value : {1, 0}) {
        r.set.ckBalloon.Value = value;
        r.set.ckBalloon_Click();
        const FakeTray::Call& call = r.services.tray.calls.back();
        EXPECT_EQ(call.title, "Wolkenglas");
        EXPECT_EQ(call.text, value ? "Balloon-Tip eingeschaltet" : "Balloon-Tip ausgeschaltet");
        EXPECT_TRUE(call.tip == r.set.TrayTip && call.flags == 1 && call.timeout == 2500);
        EXPECT_FLOAT_EQ(r.set.BalloonTime, 3592.5f);
    }
}

}  // namespace
