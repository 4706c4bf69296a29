#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/WindowView.h"

class frmMain;
struct ServiceReplies;

// A check box of the settings dialog: state 0 cleared, 1 checked.
struct CheckBox {
    int Value = 0;
    bool Enabled = true;
};

// The settings dialog: its options and the load/save rules of the stored settings. It is loaded
// hidden at start and lives until the program ends.
class frmSet {
public:
    frmSet(Ports& ports, WindowView& view, frmMain& main);

    void Form_Load();
    void Form_Unload();
    void SaveSet();
    void Show();
    void Hide();
    bool Visible() const { return visible_; }

    // Takes the services for the refresh and the tray; until then the refresh only beeps.
    void AttachServices(ServicePorts& services) { services_ = &services; }

    // The refresh (settings/frmSetRefresh.cpp): fetch, check, fill the widget, the tray, the picture.
    // The requests run through the task runner; a trigger while a refresh runs is ignored.
    void cChk_Click();
    bool Refreshing() const { return refreshing_; }
    // Shows an error in the widget's title line.
    void ErrOut(const std::string& ErrDesc);
    // The thin 3D frame of the 32 x 32 program icon in frmMain.PicProgIcon.
    void IconFrame();

    // The tray icon (settings/frmSetTray.cpp): mouse messages (the callback message number),
    // the pop-up menu's entries (1, 2, 9), and the balloon option's notice.
    void Form_MouseMove(int message);
    void mnuPopUp_Click(int index);
    void ckBalloon_Click();
    // The icon's life: added while the dialog loads, deleted when it unloads (at program end,
    // so a refresh still under way is abandoned then: its late replies are dropped).
    void TrayIconAdd();
    void TrayIconDelete();

    // Dialog handlers. Key codes are virtual-key codes, shift 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyDown(int keyCode, int shift);
    void cOk_Click();
    void oMetric_Click(int index);
    void coLoc_KeyDown(int keyCode, int shift);
    void ckLock_Click();
    void ckMag_Click();
    void ckUpdate_Click();
    void ckAutoStart_Click();

    // The update check at start and on ckUpdate (settings/frmSetSystem.cpp).
    void UpdateChk();
    // Where the update check fetches from; without it the check does nothing.
    void AttachUpdates(HttpTransport& transport, Environment& environment) {
        updateTransport_ = &transport;
        updateEnvironment_ = &environment;
    }
    // Autostart (settings/frmSetSystem.cpp): the start check of the load, and what a click on
    // ckAutoStart does once the dialog has loaded.
    void CheckAutoStart();
    void AutoStartClicked();

    // The place search and the refresh schedule; the window calls them on the user's input.
    void coLoc_Click();
    void cSearch_Click();
    void tSearch_Change();
    void tSearch_GotFocus();
    void tSearch_KeyPress(int keyAscii);
    void Timer1_Timer();
    static constexpr unsigned kTimer1Interval = 100;

    // The link labels of the info area and the data source.
    void lHomepage_Click();
    void lLink_Click();
    void lMail_Click();

    // Copies of frmMain's members.
    std::string A, RN, PN, ProgPath, MC, M2;
    float TWX = 15.0f, TWY = 15.0f;
    int MaxDays = 7;

    // Controls.
    bool oMetric[2] = {true, false};  // design: metric selected
    CheckBox ckBalloon, ckUpdate, ckLock, ckMag, ckAutoStart, ckRefresh;
    std::string coMinText = "60";
    std::vector<std::string> coLocList;
    int coLocListIndex = -1;
    std::string coLocText;
    std::vector<std::string> LocKeys;
    std::string tCID;
    bool cSearchEnabled = true;
    bool cChkEnabled = true;
    bool coLocEnabled = true;
    bool tSearchEnabled = true;
    std::string tSearchText;
    std::string lLinkTag;  // the detail link of the current conditions
    std::string lTitle;
    std::string lVersion;
    // A control that is to get the keyboard focus, by name ("cChk"); the window moves the focus
    // there and clears the request.
    std::string FocusRequest;

    bool UpdateOk = false;
    bool DataLoaded = false;
    bool Loaded = false;

    // The refresh's state, kept between runs.
    std::string PlaceName, TrayTip, BalloonText;
    std::int16_t LastIcon = 0;
    float BalloonTime = 0.0f;
    bool BalloonPending = false;

private:
    bool BalloonsSupported();
    std::string Get(const char* key, const char* def);
    void Put(const char* key, const std::string& value);

    // The refresh after its replies came in, after the satellite picture came in, its common
    // exit and its error path.
    void ShowReplies(const ServiceReplies& replies, const std::string& language, bool metric);
    void ShowSatellite(const std::string& tempFile, const std::string& pictureFile, const std::vector<std::uint8_t>& bytes);
    void RefreshDone();
    void RefreshFailed();
    void TrayNotify(TrayMessage message, const std::string& tip, const std::string& title, const std::string& text,
                    std::uint32_t flags, std::uint32_t timeoutMs);

    Ports& ports_;
    WindowView& view_;
    frmMain& main_;
    ServicePorts* services_ = nullptr;
    HttpTransport* updateTransport_ = nullptr;
    Environment* updateEnvironment_ = nullptr;
    bool visible_ = false;
    bool refreshing_ = false;
    bool unloaded_ = false;          // late replies are dropped
    int errNumber_ = 0;              // the error the refresh's error path caught
    std::string errDescription_;
};
