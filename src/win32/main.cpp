// Wolkenglas.exe: wires the Win32 ports to the core windows and runs the message loop.
#include <windows.h>

#include "MainWindow.h"
#include "SettingsWindow.h"
#include "PicWindow.h"
#include "Win32Environment.h"
#include "Win32Ports.h"
#include "Win32Registry.h"
#include "Win32Services.h"
#include "Win32TaskRunner.h"
#include "Win32Tray.h"
#include "WinHttpTransport.h"
#include "satellite/frmPic.h"
#include "service/KeylessSource.h"
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
    WinHttpTransport http;
    // The weather comes from the service or the keyless source, as the hidden keys choose.
    KeylessSource transport(http, settings);
    Win32Environment environment;

    Win32Clock clock;
    Win32Locale locale;
    Win32PictureDecoder pictures;
    Win32Tray tray(instance);
    Win32TaskRunner tasks(instance);
    ServicePorts services{transport, environment, registry, clock, locale, tray, pictures, tasks};

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
    tray.Attach(set);
    set.AttachServices(services);
    set.AttachUpdates(http, environment);

    // The clipboard of "/crc" needs an owner window; the widget's exists, hidden, from here on.
    system.owner = window.Hwnd();
    if (main.Form_Load() == LoadOutcome::EndProcess) return 0;
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
    // A refresh still waits on the network: the settings are stored and its reply is not wanted.
    // End here, before the objects its worker uses are destroyed under it.
    if (tasks.Busy()) ExitProcess(0);
    return 0;
}
