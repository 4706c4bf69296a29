// The widget's keys.
#include "settings/frmSet.h"
#include "widget/frmMain.h"

namespace {
constexpr int kKeyF1 = 112;
}  // namespace

void frmMain::Form_KeyDown(int keyCode, int shift) {
    if (keyCode == kKeyF1 && shift == 0) ShowSettings();
}

void frmMain::ShowSettings() {
    // The start sequence names the dialog near its end; until then the dialog is not ready.
    if (set_ && set_->lTitle.size() >= 4) set_->Show();
}
