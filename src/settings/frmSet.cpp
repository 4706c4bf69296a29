#include "settings/frmSet.h"

#include "platform/SettingsKeys.h"
#include "system/Numbers.h"
#include "system/mWinVersion.h"
#include "widget/frmMain.h"

namespace {
int CheckState(const std::string& text) { return Val(text) != 0 ? 1 : 0; }
}  // namespace

frmSet::frmSet(Ports& ports, WindowView& view, frmMain& main) : ports_(ports), view_(view), main_(main) {}

std::string frmSet::Get(const char* key, const char* def) { return ports_.settings.Read(RN, PN, key, def); }

void frmSet::Put(const char* key, const std::string& value) { ports_.settings.Write(RN, PN, key, value); }

bool frmSet::BalloonsSupported() { return IsNT5(ports_.system); }

void frmSet::Form_Load() {
    A.assign(1, '"');  // one double quote (assigning the literal trips a false GCC 12 warning)
    RN = main_.RN;
    PN = main_.PN;
    ProgPath.assign(A).append(main_.EN).append(A);
    MC = main_.MC;
    M2 = main_.M2;
    TWX = main_.TWX;
    TWY = main_.TWY;
    MaxDays = main_.MaxDays;
    LocKeys.assign(1, std::string());
    ShowDataSource();

    const std::string metric = LowerCase(Get(key::Metric, "metric"));
    if (metric == "1") { oMetric[0] = true; oMetric[1] = false; }
    else if (metric == "0") { oMetric[0] = false; oMetric[1] = true; }

    CheckAutoStart();

    ckLock.Value = CheckState(Get(key::WindowLock, "0"));
    ckLock_Click();
    ckMag.Value = CheckState(Get(key::WindowMagnetic, "1"));
    ckMag_Click();
    ckUpdate.Value = CheckState(Get(key::Update, "1"));
    if (!BalloonsSupported()) {
        ckBalloon.Value = 0;
        ckBalloon.Enabled = false;
    } else {
        ckBalloon.Value = CheckState(Get(key::BalloonTip, "1"));
    }
    ckRefresh.Value = CheckState(Get(key::RefreshEnabled, "1"));

    const std::string interval = Get(key::RefreshInterval, "60");
    const double minutes = Val(interval);
    coMinText = (minutes == 10 || minutes == 15 || minutes == 30 || minutes == 60) ? interval : "60";

    main_.ClearLabels();
    TrayIconAdd();
    if (main_.VIS == 1) main_.View().Show();

    const std::string place = Trim(Get(key::LocationSelected, ""));
    const std::string placeKey = Trim(Get(key::LocationKey, ""));
    if (place.empty() || placeKey.empty() || placeKey.find('|') != std::string::npos) {
        Show();
    } else {
        coLocList.assign(1, place);
        coLocListIndex = 0;
        coLocText = place;
        LocKeys.assign(1, placeKey);
        tCID = placeKey;
        cSearchEnabled = false;
        cChk_Click();
    }
    Loaded = true;
    UpdateChk();
}

void frmSet::Form_Unload() {
    SaveSet();
    TrayIconDelete();
    // The process ends without waiting for a download under way: its files go now.
    for (const std::string& file : satelliteFiles_)
        if (!file.empty()) ports_.files.RemoveFile(file);
    Hide();
}

void frmSet::SaveSet() {
    Put(key::Metric, oMetric[0] ? "1" : oMetric[1] ? "0" : "");
    SaveSetPlace();
    Put(key::WindowMagnetic, std::to_string(ckMag.Value));
    Put(key::WindowLock, std::to_string(ckLock.Value));
    Put(key::RefreshEnabled, std::to_string(ckRefresh.Value));
    Put(key::RefreshInterval, coMinText);
    Put(key::Update, std::to_string(ckUpdate.Value));
    Put(key::BalloonTip, std::to_string(ckBalloon.Value));
}

void frmSet::SaveSetPlace() {
    Put(key::LocationSelected, Trim(coLocText));
    if (coLocListIndex >= 0 && static_cast<std::size_t>(coLocListIndex) < LocKeys.size()) {
        const std::string k = Trim(LocKeys[static_cast<std::size_t>(coLocListIndex)]);
        if (!k.empty()) Put(key::LocationKey, k);
    }
}

void frmSet::ckLock_Click() { main_.LockW = ckLock.Value == 1; }

void frmSet::ckMag_Click() { main_.Dock = ckMag.Value == 1 ? main_.DockOn : 0; }

void frmSet::Show() {
    visible_ = true;
    view_.Show();
}

void frmSet::Hide() {
    visible_ = false;
    view_.Hide();
}

