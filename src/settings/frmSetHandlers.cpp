// The settings dialog's handlers for the user's input: OK, units, the place list's Enter key,
// Alt+F4, the option boxes and the link labels.
#include "platform/SettingsKeys.h"
#include "service/ServiceHosts.h"
#include "settings/SetDesign.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/mOpenURL.h"
#include "update/mProgVer.h"

namespace {
constexpr int kKeyReturn = 13;
constexpr int kKeyF4 = 115;
constexpr int kShiftAlt = 4;
constexpr int kNormalWindow = 1;
}  // namespace

void frmSet::Form_KeyDown(int keyCode, int shift) {
    // The dialog lives as long as the program: closing it only hides it.
    if (keyCode == kKeyF4 && shift == kShiftAlt) Hide();
}

void frmSet::cOk_Click() {
    SaveSet();
    if (!DataLoaded) cChk_Click();
    Hide();
}

void frmSet::oMetric_Click(int) {
    if (!Visible()) return;
    // A refresh under way asked in the old units: one in the new ones follows it.
    if (refreshing_) refreshAgain_ = true;
    else if (cChkEnabled) cChk_Click();
}

void frmSet::coLoc_KeyDown(int keyCode, int shift) {
    if (keyCode != kKeyReturn || shift != 0 || !cChkEnabled) return;
    FocusRequest = "cChk";
    cChk_Click();
}

void frmSet::ckUpdate_Click() { UpdateChk(); }

void frmSet::ckAutoStart_Click() { AutoStartClicked(); }

void frmSet::lHomepage_Click() { OpenURL(ports_.system, kHomepageAddress, kNormalWindow); }

namespace {
constexpr const char* kKeylessCaption = "Wetterdaten: Open-Meteo.com";
constexpr const char* kKeylessAddress = "https://open-meteo.com/";
}  // namespace

void frmSet::lLink_Click() {
    const bool keyless = ChosenSource(ports_.settings) == WeatherSource::Keyless;
    OpenURL(ports_.system, keyless ? kKeylessAddress : kServiceAddress, kNormalWindow);
}

void frmSet::ShowDataSource() {
    lLink = ChosenSource(ports_.settings) == WeatherSource::Keyless ? kKeylessCaption : kServiceAddress;
}

void frmSet::lMail_Click() {
    OpenURL(ports_.system, Cat("mailto:", kMailAddress, "?subject=", MC, "  v", ProgVer(ports_.system), "&body="),
            kNormalWindow);
}
