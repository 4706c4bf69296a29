// Wolkenglas.exe: wires the Win32 ports to the core windows and runs the message loop.
#include <windows.h>

#include "MainWindow.h"
#include "SettingsWindow.h"
#include "PicWindow.h"
#include "Win32Ports.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/SampleFace.h"
#include "widget/frmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Win32SettingsStore settings;
    Win32System system;
    Win32FileSystem files;
    Win32Display display;
    Ports ports{settings, system, files, display};

    MainWindow window(instance);
    SettingsWindow setView(instance);
    PicWindow picView(instance);
    frmMain main(ports, window);
    frmSet set(ports, setView, main);
    frmPic pic(picView, main);
    main.Attach(set, pic);
    window.Attach(main);
    setView.Attach(set);
    picView.Attach(pic);

    if (main.Form_Load() == LoadOutcome::EndProcess) return 0;
    system.owner = window.Hwnd();
    if (SampleFaceRequested(settings, main.RN, main.PN)) {
        FillSampleFace(main);
        pic.Pic = SampleSatellitePicture();
    }
    window.StartTimers();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (setView.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
