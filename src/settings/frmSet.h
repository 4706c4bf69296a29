#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/WindowView.h"
#include "settings/RefreshSchedule.h"

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
    // Stores only the chosen place ("Location.Selected", "Location.Key").
    void SaveSetPlace();
    void Show();
    void Hide();
    bool Visible() const { return visible_; }

    // Takes the services for the refresh and the tray; until then the refresh only beeps.
    void AttachServices(ServicePorts& services) { services_ = &services; }

    // The refresh (settings/frmSetRefresh.cpp): fetch, check, fill the widget, the tray, the picture.
    // The requests run through the task runner; a trigger while a refresh or a search runs is
    // ignored. cChk_Click is a refresh the user asked for (its failure always beeps).
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
    // A notification area that was not there (Explorer not ready at autostart) gets the icon
    // from a few tries in the first minute on, and whenever the taskbar announces itself.
    void TrayIconAdd();
    void TrayIconDelete();
    void TaskbarCreated();

    // Dialog handlers. Key codes are virtual-key codes, shift 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyDown(int keyCode, int shift);
    void cOk_Click();
    void oMetric_Click(int index);
    void coLoc_KeyDown(int keyCode, int shift);
    void ckLock_Click();
    void ckMag_Click();
    void ckUpdate_Click();
    void ckAutoStart_Click();

    // The update check at start and on ckUpdate (settings/frmSetSystem.cpp). It runs through the
    // task runner once no refresh runs (a running one shows its outcome first); only its
    // question and messages come to the window thread.
    void UpdateChk();
    bool Updating() const { return updating_; }
    // Where the update check fetches from; without it the check does nothing.
    void AttachUpdates(HttpTransport& transport, Environment& environment) {
        updateTransport_ = &transport;
        updateEnvironment_ = &environment;
    }
    // Autostart (settings/frmSetSystem.cpp): the start check of the load, and what a click on
    // ckAutoStart does once the dialog has loaded.
    void CheckAutoStart();
    void AutoStartClicked();

    // The place search (settings/frmSetSearch.cpp); the window calls them on the user's input.
    // The search request runs through the task runner; a second search while one runs is ignored.
    void coLoc_Click();
    void cSearch_Click();
    bool Searching() const { return searching_; }
    // Fills coLoc and LocKeys from a search reply and chooses the first place.
    void ListCities(const std::string& StrJSON);
    void tSearch_Change();
    void tSearch_GotFocus();
    void tSearch_KeyPress(int keyAscii);
    // The dialog's clock (settings/frmSetSchedule.cpp): the balloon's withdrawal and the
    // scheduled refresh on the clock's slots of coMin's interval while ckRefresh is checked.
    void Timer1_Timer();
    static constexpr unsigned kTimer1Interval = 100;
    // The computer woke from sleep: once the network answers, a refresh catches up with a slot
    // missed meanwhile.
    void PowerResumed();
    // A network connection came or went: the same catch-up as after a wake.
    void NetworkChanged();
    // When the next catch-up refresh is due (whole local seconds), if one is.
    std::optional<std::int64_t> NextCatchUp() const { return catchUp_.Next(); }

    // The link labels of the info area and the data source.
    void lHomepage_Click();
    void lLink_Click();
    // The data source's link names whoever answers: the service's address, or the keyless
    // source, as its licence asks.
    void ShowDataSource();
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
    std::string lLink;     // the data source's link text
    std::string lTitle;
    std::string lVersion;
    // A control that is to get the keyboard focus, by name ("cChk"); the window moves the focus
    // there and clears the request.
    std::string FocusRequest;
    // The search text is to be selected whole; the window does it and clears the request.
    bool tSearchSelectAll = false;

    bool UpdateOk = false;
    bool DataLoaded = false;
    bool Loaded = false;

    // The refresh's state, kept between runs.
    std::string PlaceName, TrayTip, BalloonText;
    std::int16_t LastIcon = 0;
    float BalloonTime = 0.0f;
    bool BalloonPending = false;
    // The schedule's last tick: the seconds since it are the ones a slot may begin in.
    ScheduleClock LastSlot;

private:
    bool BalloonsSupported();
    std::string Get(const char* key, const char* def);
    void Put(const char* key, const std::string& value);

    // The refresh after its replies came in, after the satellite picture came in, its common
    // exit and its error path.
    void ShowReplies(const ServiceReplies& replies, const std::string& language, bool metric);
    void ShowSatellite(const std::string& tempFile, const std::string& pictureFile, const std::vector<std::uint8_t>& bytes);
    void RefreshDone();
    void StartRefresh(bool asked);
    // After the refresh's outcome: the refresh a changed choice asked for, else a waiting update check.
    void RefreshEnded();
    void RefreshFailBeep();
    void UpdateDone(const std::string& result, std::uint32_t colour, const std::string& caption, const std::string& checking);
    void ShowPlaces(const std::string& reply, const std::string& searched);
    void WithdrawBalloon();
    void RunSchedule();
    // The catch-up refresh after a wake or a lost network (CatchUp), and the time of the data
    // shown, for the title's note on old data.
    void AwaitNetwork(int delaySeconds);
    void NoNetwork();
    void DataShown();
    void NoteOldData(std::int64_t now, int interval);
    void RefreshFailed();
    bool TrayNotify(TrayMessage message, const std::string& tip, const std::string& title, const std::string& text,
                    std::uint32_t flags, std::uint32_t timeoutMs);
    void AddTrayIcon();
    void RetryTrayIcon();

    Ports& ports_;
    WindowView& view_;
    frmMain& main_;
    ServicePorts* services_ = nullptr;
    HttpTransport* updateTransport_ = nullptr;
    Environment* updateEnvironment_ = nullptr;
    bool visible_ = false;
    bool refreshing_ = false;
    bool searching_ = false;
    bool updating_ = false;
    bool updateAfterRefresh_ = false;  // an update check waits for the refresh's outcome
    bool refreshAgain_ = false;        // units or place changed while a refresh ran
    bool askedByUser_ = true;          // the running refresh was asked for, not scheduled
    bool failing_ = false;             // the last refresh failed: later automatic ones stay quiet
    CatchUp catchUp_;
    std::optional<double> dataShown_;  // when the data on show came in
    bool unloaded_ = false;          // late replies are dropped
    bool trayWanted_ = false, trayAdded_ = false;
    std::size_t trayTries_ = 0;      // the tries after a failed add
    std::int64_t nextTrayTry_ = 0;
    // The temporary files of a satellite download under way: the program may end before it does.
    std::vector<std::string> satelliteFiles_;
    int errNumber_ = 0;              // the error the refresh's error path caught
    std::string errDescription_;
};
