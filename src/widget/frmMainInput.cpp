// The widget's keys, double-clicks, close and hide buttons, dragging and thumbnail click.
#include <string_view>
#include <utility>

#include "system/Numbers.h"
#include "system/mOpenURL.h"
#include "widget/FaceActions.h"
#include "widget/FaceControls.h"
#include "widget/frmMain.h"
#include "system/mFormMove.h"

namespace {

constexpr int kKeyF1 = 0x70;
constexpr int kKeyF4 = 0x73;
constexpr int kKeyF5 = 0x74;
constexpr int kShiftAlt = 4;

constexpr Colour kFarewellColour = 0xFFFF80;
constexpr char kExitPressedGlyph[] = "\xA8";  // an empty square in the symbol font

struct Hit {
    std::string_view name = "frmMain";
    int index = -1;
};

Hit HitAt(const frmMain& form, int x, int y) {
    const auto c = FaceControlAt(form, x, y);
    return c ? Hit{c->name, c->index} : Hit{};
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from)) {
        out.append(text.substr(0, at)).append(to);
        text.remove_prefix(at + from.size());
    }
    return out.append(text);
}

}  // namespace

bool frmMain::Form_KeyDown(int keyCode, int shift) {
    if (keyCode == kKeyF1 && shift == 0) {
        OpenSettings();
    } else if (keyCode == kKeyF5 && shift == 0) {
        if (set_ && set_->PlaceChosen()) {
            set_->Refresh();
        } else {
            ports_.system.Beep();
            OpenSettings();
        }
    } else if (keyCode == kKeyF4 && shift == kShiftAlt) {
        return true;
    }
    return false;
}

void frmMain::OpenSettings() {
    if (set_) set_->OpenIfReady();
}

void frmMain::Face_MouseMove(int button, int x, int y) {
    if (button == 0) mouseOwner_ = {};  // a release that never arrived (the mouse was taken away)
    // A held button drags only when it went down on the face: a drag from elsewhere passing over
    // the widget would otherwise move it by the way from a stale grab point.
    const std::string_view control = button == 0 ? HitAt(*this, x, y).name : mouseOwner_;
    if (ActionsOf(control).drags) FormMoveX(button, x, y, Dock);
}

void frmMain::Face_MouseDown(int button, int x, int y) {
    const Hit hit = HitAt(*this, x, y);
    mouseOwner_ = hit.name;
    clickPending_ = button == kButtonLeft;
    // The drag starts where the button went down, also when no move came before it.
    if (ActionsOf(hit.name).drags) FormMoveX(0, x, y, Dock);
    if (hit.name == "lExit") {
        SetExitCaption(kExitPressedGlyph);
        lTitle[0].ForeColor = kFarewellColour;
        SetTitle("Aufwiedersehen ...");
    } else if (hit.name == "lHide") {
        lHide[0].Visible = false;  // only the shadow shows: the pressed look
    }
}

bool frmMain::Face_MouseUp(int button, int x, int y) {
    const std::string_view owner = std::exchange(mouseOwner_, {});
    if (owner == "lExit") return true;
    if (owner == "lHide") {
        view_.Hide();
        lHide[0].Visible = true;
    } else if (owner == "PicSat" && clickPending_ && button == kButtonLeft && HitAt(*this, x, y).name == "PicSat") {
        PicSat_Click();
    }
    clickPending_ = false;
    return false;
}

void frmMain::Face_DblClick(int x, int y) {
    const Hit hit = HitAt(*this, x, y);
    // The second press of a double-click: its release is no click, but it may still drag.
    mouseOwner_ = hit.name;
    clickPending_ = false;
    switch (ActionsOf(hit.name).dblClick) {
    case DblClickAction::Settings: OpenSettings(); break;
    case DblClickAction::Link: OpenDayLink(hit.index); break;
    case DblClickAction::None: break;
    }
}

void frmMain::OpenDayLink(int n) {
    if (n < 0 || n >= kColumns) return;
    const std::string tag = n == 0 ? (set_ ? set_->DetailLink() : std::string()) : Trim(lDay[n].Tag);
    // The service's links come with their ampersands escaped as in HTML.
    const std::string address = ReplaceAll(tag, "&amp;", "&");
    if (!address.empty()) OpenURL(ports_.system, address, 1);
}

void frmMain::PicSat_Click() {
    if (!PicSat.Enabled) return;
    PicSat.Enabled = false;  // the satellite window enables it again when it hides
    if (pic_) pic_->Toggle();
}

void frmMain::FormMoveX(int button, int x, int y, int dock) {
    if (!LockW) FormMove(ports_.display, view_, Pic.Width, Pic.Height, button, x, y, dock);
}

void frmMain::Form_DisplayChange() {
    const ScreenRect window{view_.Left(), view_.Top(), view_.Left() + Pic.Width, view_.Top() + Pic.Height};
    if (const auto back = BringBack(ports_.display, window)) view_.MoveTo(back->x, back->y);
    if (pic_) pic_->Form_DisplayChange();
}

ScreenRect frmMain::OwnerRect() {
    return {view_.Left(), view_.Top(), view_.Left() + Pic.Width, view_.Top() + Pic.Height};
}
