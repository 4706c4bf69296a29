#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Ports.h"
#include "platform/WindowView.h"
#include "satellite/frmPic.h"
#include "widget/Controls.h"
#include "widget/SettingsDialog.h"

// What the host does after the start sequence.
enum class LoadOutcome {
    Running,     // the widget is built; run the message loop
    EndProcess,  // end at once: no unload handler runs
};

// The widget window: identity members, the start and shutdown sequences, the close marker check,
// and the model of its face (labels and pictures) that the Win32 layer paints.
class frmMain : public PicOwner {
public:
    frmMain(Ports& ports, WindowView& view);
    void Attach(SettingsDialog& set, frmPic& pic) { set_ = &set; pic_ = &pic; }

    // Start sequence; either ends the process or returns with the widget built.
    LoadOutcome Form_Load();
    // Its first step: the names every other window reads (RN, PN, MC, A, DN, the build date).
    // Hosts that build the windows without the start sequence call it too.
    void SetIdentity();
    // The title line's tooltip (M2) for a version text such as "1.54".
    std::string TitleTooltip(const std::string& version) const;
    // Shutdown sequence; stores position and visibility, unloads the other windows.
    void Form_Unload();
    // Close marker check, on a change in the program's folder (or every 5 s where it cannot be
    // watched); true when the widget is to be unloaded.
    bool Timer2_Timer();
    static constexpr unsigned kTimer2Interval = 5000;

    // Face set-up.
    void InitPics();
    void ClearLabels();
    void TitleColor();
    // Sets the title line (and with it the window caption and its shadow copy). Every change of
    // the title text goes through here.
    void SetTitle(const std::string& caption);
    // Sets the close button's glyph and its shadow's.
    void SetExitCaption(const std::string& caption);

    // Keys, mouse and display changes (widget/frmMainInput.cpp). Key codes are virtual-key codes,
    // shift states 1 Shift, 2 Ctrl, 4 Alt, summed; buttons 1 left, 2 right, 4 middle, summed;
    // positions are face pixels (beyond the face while a pressed button holds the mouse). A true
    // result asks the host to unload the widget.
    bool Form_KeyDown(int keyCode, int shift);
    void Face_MouseMove(int button, int x, int y);
    void Face_MouseDown(int button, int x, int y);
    bool Face_MouseUp(int button, int x, int y);
    void Face_DblClick(int x, int y);
    void PicSat_Click();
    void FormMoveX(int button, int x, int y, int dock);
    void Form_DisplayChange();

    // Identity and display members, read by the other windows.
    std::string RN, PN, EN, MC, VZ, M2, A, DN;
    std::string BuildDate;
    int Dock = 0;
    int DockOn = 0;
    bool LockW = false;
    float TWX = 15.0f, TWY = 15.0f;
    int VIS = 1;
    int MaxDays = 7;

    // Face.
    LabelArray lTitle{}, lExit{}, lHide{}, lDay{}, lTemp{}, lTempL{}, lTempG{}, lTempGx{}, lHumi{},
        lPresTrend{}, lPres{}, lWindD{}, lWindS{}, lWindNS{}, lUV{}, lUVx{};
    PictureBox Pic, PicMoon, PicWind, PicSatBG, PicSat, PicIcon, PicIconWind, PicIconMoon, PicProgIcon,
        PicTray;
    PictureArray PicDay{}, PicNight{};

    WindowView& View() { return view_; }
    frmPic* PicWindow() { return pic_; }
    Ports& Sys() override { return ports_; }

    // PicOwner
    ScreenRect OwnerRect() override;
    void PicHidden() override { PicSat.Enabled = true; }

private:
    void DesignControls();  // the controls as they stand at design time
    void PlaceColumnPictures(int lastColumn);
    void PlaceWindow();     // start sequence step 12

    void OpenSettings();      // the settings dialog, once the start sequence made it ready
    void OpenDayLink(int n);  // the web page of day heading n

    Ports& ports_;
    WindowView& view_;
    std::string_view mouseOwner_;  // the control a pressed button went down on; empty: none
    bool clickPending_ = false;    // its release may still be a click
    SettingsDialog* set_ = nullptr;
    frmPic* pic_ = nullptr;
};
