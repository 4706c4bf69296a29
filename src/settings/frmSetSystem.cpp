// The dialog's part in the self-update and the autostart.
#include "service/ServiceHosts.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/mAutoStart.h"
#include "update/mProgVer.h"
#include "update/mUpdates.h"
#include "widget/frmMain.h"

namespace {
constexpr Colour kUpdateTitleColour = 0xFFFF80;
}  // namespace

void frmSet::UpdateChk() {
    if (!Loaded || ckUpdate.Value != 1 || !updateTransport_ || !updateEnvironment_) return;
    Label& title = main_.lTitle[0];
    const Colour colour = title.ForeColor;
    const std::string caption = title.Caption;
    // The check blocks the window thread; the title is painted at once by SetTitle.
    title.ForeColor = kUpdateTitleColour;
    main_.SetTitle(Cat(MC, ":  Update ..."));
    const HttpClient http{*updateTransport_, *updateEnvironment_};
    const std::string result =
        UpdateCheck(ports_, http, UpdateBaseUrl(ports_.settings), "Wolkenglas.exe", ProgPath, ProgVer(ports_.system));
    if (result == "OK") {
        main_.SetTitle(Cat(MC, ":  Programm Neustart ..."));
        UpdateOk = true;
        main_.View().Close();
    }
    title.ForeColor = colour;
    main_.SetTitle(caption);
}

void frmSet::CheckAutoStart() {
    const AutoStart autoStart{ports_, RN, PN, main_.EN, MC};
    AutoStartCheck(autoStart, Loaded, [this](int value) {
        // As with a real check box, only a change of the value raises the click.
        if (ckAutoStart.Value == value) return;
        ckAutoStart.Value = value;
        AutoStartClicked();
    });
}

void frmSet::AutoStartClicked() {
    if (!Loaded) return;
    AutoStartClick(AutoStart{ports_, RN, PN, main_.EN, MC}, ckAutoStart.Value);
}
