// The notification-area icon: its calls, mouse messages, menu and the balloon option's notice.
#include <iterator>

#include "settings/RefreshSchedule.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "tray/mPicIcon.h"
#include "tray/mSysTray.h"
#include "widget/frmMain.h"

namespace {

// Mouse messages as the icon reports them.
constexpr int kLeftButtonDown = 513;
constexpr int kLeftDoubleClick = 515;
constexpr int kRightButtonUp = 517;

enum MenuEntry { kSettings = 1, kRefresh = 2, kExit = 9 };

// Seconds between the tries after a failed add: at 5, 15, 30 and 60 s.
constexpr int kTrayTryGaps[] = {5, 10, 15, 30};

const std::vector<std::pair<int, std::string>>& TrayMenu() {
    static const std::vector<std::pair<int, std::string>> entries = {
        {kSettings, "&Einstellungen      F1"},
        {kRefresh, "&Aktualisieren      F5"},
        {kExit, "&Beenden             Alt+F4"},
    };
    return entries;
}

}  // namespace

bool frmSet::TrayNotify(TrayMessage message, const std::string& tip, const std::string& title, const std::string& text,
                        std::uint32_t flags, std::uint32_t timeoutMs) {
    if (!services_) return false;
    const auto& picture = main_.PicTray.Image;
    const IconImage icon = picture ? PicToIcon(*picture, kPictureKeyColour) : IconImage{};
    return SysTray(services_->tray, message, icon, tip, title, text, flags, timeoutMs);
}

void frmSet::TrayIconAdd() {
    trayWanted_ = true;
    trayTries_ = 0;
    AddTrayIcon();
}

// With the picture and tooltip of the moment; an icon the shell still holds is brought up to date.
void frmSet::AddTrayIcon() {
    if (!services_) return;
    trayAdded_ = TrayNotify(TrayMessage::Add, TrayTip, "", "", 0, 1000) ||
                 TrayNotify(TrayMessage::Modify, TrayTip, "", "", 0, 1000);
    if (!trayAdded_ && trayTries_ < std::size(kTrayTryGaps))
        nextTrayTry_ = WholeSeconds(services_->clock.Now()) + kTrayTryGaps[trayTries_++];
}

void frmSet::RetryTrayIcon() {
    if (trayWanted_ && !trayAdded_ && trayTries_ > 0 && WholeSeconds(services_->clock.Now()) >= nextTrayTry_)
        AddTrayIcon();
}

void frmSet::TaskbarCreated() {
    if (trayWanted_) AddTrayIcon();
}

void frmSet::TrayIconDelete() {
    unloaded_ = true;  // the program ends: a refresh still under way is abandoned
    trayWanted_ = false;
    TrayNotify(TrayMessage::Delete, "", "", "", 0, 1000);
}

void frmSet::Form_MouseMove(int message) {
    switch (message) {
    case kLeftButtonDown:
        main_.View().Show();
        break;
    case kLeftDoubleClick:
        Show();
        break;
    case kRightButtonUp:
        TrayNotify(TrayMessage::Modify, TrayTip, "", "", 0, 1000);
        if (services_)
            if (const int chosen = services_->tray.PopUpMenu(TrayMenu())) mnuPopUp_Click(chosen);
        break;
    default:
        break;
    }
}

void frmSet::mnuPopUp_Click(int index) {
    switch (index) {
    case kSettings:
        Show();
        break;
    case kRefresh:
        cChk_Click();
        break;
    case kExit:
        main_.View().Close();
        break;
    default:
        break;
    }
}

void frmSet::ckBalloon_Click() {
    TrayNotify(TrayMessage::Modify, TrayTip, MC, ckBalloon.Value == 1 ? "Balloon-Tip eingeschaltet" : "Balloon-Tip ausgeschaltet",
               kBalloonInfoIcon, 2500);
    // The dialog's timer withdraws a balloon 10 s after BalloonTime: this notice after 2.5 s.
    if (services_) BalloonTime = services_->clock.SecondsSinceMidnight() - 7.5f;
}
