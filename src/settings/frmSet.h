#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/WindowView.h"

class frmMain;

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

    // Entry points of the refresh and the update check.
    void cChk_Click();
    void UpdateChk();

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

    bool UpdateOk = false;
    bool DataLoaded = false;
    bool Loaded = false;

    // The refresh's state, kept between runs.
    std::string PlaceName, TrayTip, BalloonText;
    std::int16_t LastIcon = 0;
    float BalloonTime = 0.0f;
    bool BalloonPending = false;

    // How often the first refresh was started (observable until the refresh exists).
    int RefreshRuns = 0;

private:
    void ckLock_Click();
    void ckMag_Click();
    bool BalloonsSupported();
    std::string Get(const char* key, const char* def);
    void Put(const char* key, const std::string& value);

    Ports& ports_;
    WindowView& view_;
    frmMain& main_;
    bool visible_ = false;
};
