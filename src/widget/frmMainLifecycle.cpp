// The widget's start sequence, shutdown sequence and close marker poll.
#include "platform/SettingsKeys.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/PathText.h"
#include "system/mChkDPI.h"
#include "system/mExeName.h"
#include "system/mExists.h"
#include "system/mGetCMD.h"
#include "system/mManifest.h"
#include "system/mWinVersion.h"
#include "update/CRC32.h"
#include "update/mDeleteSelf.h"
#include "update/mProgVer.h"
#include "widget/frmMain.h"
#include "system/mFormMove.h"

namespace {

constexpr int kDefaultPosition = 32;
constexpr std::uint32_t kStartupDelayMs = 30000;
constexpr int kRestartWaitSteps = 20;
constexpr std::uint32_t kRestartWaitStepMs = 250;
// A stored coordinate: its whole text must be a number; anything else is the default.
int StoredPixels(const std::string& text) {
    const auto v = StrictNumber(text);
    if (!v || *v < -1e6 || *v > 1e6) return kDefaultPosition;
    return static_cast<int>(*v);
}

// Windows reads a new manifest only when a process starts.
bool RestartForManifest(Ports& ports, const std::string& version, bool restarted) {
    SettingsStore& store = ports.settings;
    // Restart only when the next start will not write the manifest again: never from a restart,
    // and only when the store kept the version and the restart mark. Otherwise a store or a
    // folder that cannot be written to would restart the program for ever.
    if (restarted || store.Read(kSettingsApp, kSettingsSection, key::Version, "") != version) return false;
    store.Write(kSettingsApp, kSettingsSection, key::Reload, "1");
    if (Val(store.Read(kSettingsApp, kSettingsSection, key::Reload, "0")) == 0) return false;
    // The arguments go along: a "/crc" asked for must not turn into a plain start.
    if (ports.system.StartProgram(ExePath(ports.system), ports.system.CommandLineArgs())) return true;
    store.Delete(kSettingsApp, kSettingsSection, key::Reload);
    return false;
}

}  // namespace

frmMain::frmMain(Ports& ports, WindowView& view) : ports_(ports), view_(view) { DesignControls(); }

void frmMain::SetIdentity() {
    A.assign(1, '"');  // one double quote (assigning the literal trips a false GCC 12 warning)
    RN = kSettingsApp;
    MC = "Wolkenglas";
    PN = kSettingsSection;
    BuildDate = "03.11.2015";
    DN = BaseName(ExePath(ports_.system));
}

std::string frmMain::TitleTooltip(const std::string& version) const {
    return Cat(" ", MC, " v", version, " | [F1]: Einstellungen | [F5]: Aktualisieren ");
}

LoadOutcome frmMain::Form_Load() {
    SystemPort& sys = ports_.system;
    SettingsStore& store = ports_.settings;

    SetIdentity();

    const std::string version = ProgVer(sys);
    const bool versionChanged = store.Read(RN, PN, key::Version, "") != version;
    if (versionChanged) store.Write(RN, PN, key::Version, version);

    const bool restarted = Val(store.Read(RN, PN, key::Reload, "0")) != 0;
    if (WriteManifest(ports_, versionChanged) && RestartForManifest(ports_, version, restarted))
        return LoadOutcome::EndProcess;

    // The lock is taken on every start. After a restart of ours the old process may still be
    // ending: it gets a few seconds to let go.
    if (restarted) store.Delete(RN, PN, key::Reload);
    bool another = sys.AnotherInstanceRunning();
    for (int i = 0; another && restarted && i < kRestartWaitSteps; ++i) {
        sys.Sleep(kRestartWaitStepMs);
        another = sys.AnotherInstanceRunning();
    }
    if (another) {
        sys.ShowMessage("FEHLER:  Das Programm läuft bereits!      ", Cat(" ", MC), MsgIcon::Stop, MsgButtons::Ok);
        return LoadOutcome::EndProcess;
    }

    if (ChkDPI(ports_, true, false) == DpiCheck::Restarted) return LoadOutcome::EndProcess;

    EN = ExePath(sys);
    VZ = ExeDir(sys);

    const std::string arg = LowerCase(GetCMD(sys, 1));
    if (arg.find("-crc") != std::string::npos || arg.find("/crc") != std::string::npos) {
        const std::string digits = CRC32Hex(CRC32(ports_.files, EN));
        sys.SetClipboardText(digits);
        sys.ShowMessage(Cat(WinFromUtf8(EN), "      \r\n\r\nCRC32:  ", digits, "  -->  Zwischenablage"),
                        Cat(MC, ":  CRC-Check"), MsgIcon::Information, MsgButtons::Ok);
        return LoadOutcome::EndProcess;
    }
    if (arg.find("/startup") != std::string::npos) sys.Sleep(kStartupDelayMs);

    MaxDays = 7;
    TWX = ports_.display.TwipsPerPixelX();
    TWY = ports_.display.TwipsPerPixelY();
    SetTitle(MC);
    PlaceWindow();
    VIS = static_cast<int>(Val(store.Read(RN, PN, key::WindowVisible, "1")));
    M2 = TitleTooltip(version);
    lTitle[0].ToolTipText = M2;
    DockOn = 8;
    Pic.Left = 0;
    Pic.Top = 0;
    view_.Resize(Pic.Width, Pic.Height);
    InitPics();
    if (IsNT5(sys)) view_.EnableDropShadow();
    PicTray.exists = true;
    ClearLabels();

    if (set_) set_->Load(MC, Cat("Version ", version, " - ", BuildDate));
    if (pic_) pic_->Form_Load();
    if (VIS == 1) view_.Show();
    if (set_ && !set_->PlaceChosen()) set_->OpenIfReady();
    return LoadOutcome::Running;
}

void frmMain::PlaceWindow() {
    SettingsStore& store = ports_.settings;
    int left = StoredPixels(store.Read(RN, PN, key::WindowLeft, "32"));
    int top = StoredPixels(store.Read(RN, PN, key::WindowTop, "32"));
    // A monitor may have gone since the position was stored; never restore the widget off-screen.
    const ScreenRect window{left, top, left + Pic.Width, top + Pic.Height};
    if (!Reachable(window, ports_.display.Monitors())) left = top = kDefaultPosition;
    view_.MoveTo(left, top);
}

void frmMain::Form_Unload() {
    SettingsStore& store = ports_.settings;
    VIS = view_.IsVisible() ? 1 : 0;
    store.Write(RN, PN, key::WindowTop, NumberText(view_.Top()));
    store.Write(RN, PN, key::WindowLeft, NumberText(view_.Left()));
    store.Write(RN, PN, key::WindowVisible, std::to_string(VIS));
    if (FileSize(ports_.files, EN) > 0 && set_ && set_->UpdateReady()) HandOverUpdate(ports_, EN);
    if (set_) set_->Unload();
    if (pic_) pic_->Form_Unload();
}

bool frmMain::Timer2_Timer() { return FileSize(ports_.files, Cat(EN, ".close")) > 0; }
