// The dialog's part in the self-update and the autostart.
#include <memory>

#include "platform/WindowThreadSystem.h"
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
    if (!Loaded || ckUpdate.Value != 1 || !updateTransport_ || !updateEnvironment_ || !services_ || updating_) return;
    // The title the check puts back must be the refresh's outcome, not its loading text.
    if (refreshing_) {
        updateAfterRefresh_ = true;
        return;
    }
    updating_ = true;
    Label& title = main_.lTitle[0];
    const Colour colour = title.ForeColor;
    const std::string caption = title.Caption;
    const std::string checking = Cat(MC, ":  Update ...");
    title.ForeColor = kUpdateTitleColour;
    main_.SetTitle(checking);
    // The requests, the download and the file work run on the worker; its question and messages
    // are shown by the window thread.
    TaskRunner& tasks = services_->tasks;
    auto system = std::make_shared<WindowThreadSystem>(ports_.system, tasks);
    auto ports = std::make_shared<Ports>(Ports{ports_.settings, *system, ports_.files, ports_.display, ports_.registry});
    auto result = std::make_shared<std::string>();
    tasks.Run(
        [system, ports, result, http = HttpClient{*updateTransport_, *updateEnvironment_},
         base = UpdateBaseUrl(ports_.settings), path = ProgPath, version = ProgVer(ports_.system)] {
            *result = UpdateCheck(*ports, http, base, "Wolkenglas.exe", path, version);
        },
        [this, result, colour, caption, checking] { UpdateDone(*result, colour, caption, checking); });
}

void frmSet::UpdateDone(const std::string& result, Colour colour, const std::string& caption, const std::string& checking) {
    updating_ = false;
    if (unloaded_) return;
    Label& title = main_.lTitle[0];
    if (result == "OK") {
        main_.SetTitle(Cat(MC, ":  Programm Neustart ..."));
        UpdateOk = true;
        main_.View().Close();
        return;
    }
    // A refresh that ran meanwhile (the schedule, a key) owns the title now.
    if (title.Caption != checking || title.ForeColor != kUpdateTitleColour) return;
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
