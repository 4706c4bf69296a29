// The widget's face: controls at design time, layout of the picture boxes, clearing, title colour.
#include "widget/frmMain.h"

void frmMain::DesignControls() {
    Pic = PictureBox{true, 0, 0, 388, 213, 0x000000, "", true};
    Label& title = lTitle[0];
    title.exists = true;
    title.Left = 5;
    title.Top = 2;
    title.Width = 357;
    title.Height = 14;
    title.ForeColor = 0x80FF80;
    title.Font.bold = true;
}

void frmMain::InitPics() {}

void frmMain::ClearLabels() {}

void frmMain::TitleColor() {}

void frmMain::SetTitle(const std::string& caption) {
    lTitle[0].Caption = caption;
    if (lTitle[1].exists) lTitle[1].Caption = caption;
    view_.SetCaption(caption);
}
