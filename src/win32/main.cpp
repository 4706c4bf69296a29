// Wolkenglas.exe: wires the Win32 ports to the core windows and runs the message loop.
#include <windows.h>

#include "MainWindow.h"
#include "Win32Environment.h"
#include "Win32Ports.h"
#include "Win32Registry.h"
#include "WinHttpTransport.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/SampleFace.h"
#include "widget/frmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Win32SettingsStore settings;
    Win32System system;
    Win32FileSystem files;
    Win32Display display;
    Win32Registry registry;
    Ports ports{settings, system, files, display, registry};
    WinHttpTransport transport;
    Win32Environment environment;

    MainWindow window(instance);
    HiddenWindowView setView, picView;
    frmMain main(ports, window);
    frmSet set(ports, setView, main);
    frmPic pic(picView, main);
    main.Attach(set, pic);
    window.Attach(main);
    set.AttachUpdates(transport, environment);

    // The clipboard of "/crc" needs an owner window; the widget's exists, hidden, from here on.
    system.owner = window.Hwnd();
    if (main.Form_Load() == LoadOutcome::EndProcess) return 0;
    if (SampleFaceRequested(settings, main.RN, main.PN)) FillSampleFace(main);
    window.StartTimers();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
