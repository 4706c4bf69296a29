#pragma once
#include "platform/Display.h"
#include "platform/FileSystem.h"
#include "platform/RegistryPort.h"
#include "platform/SettingsStore.h"
#include "platform/SystemPort.h"

// The operating-system services the application core is built on. The Win32 host hands in the
// real implementations, the unit tests their doubles.
struct Ports {
    SettingsStore& settings;
    SystemPort& system;
    FileSystem& files;
    Display& display;
    RegistryPort& registry;
};

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/HttpTransport.h"
#include "platform/Locale.h"
#include "platform/PictureDecoder.h"
#include "platform/TaskRunner.h"
#include "platform/TrayPort.h"

// What the refresh, the place search and the tray need beyond the windows' ports.
struct ServicePorts {
    HttpTransport& transport;
    Environment& environment;
    RegistryPort& registry;
    Clock& clock;
    Locale& locale;
    TrayPort& tray;
    PictureDecoder& pictures;
    TaskRunner& tasks;
};
