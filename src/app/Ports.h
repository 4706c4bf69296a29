#pragma once
#include "platform/Display.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/SystemPort.h"

// The operating-system services the application core is built on. The Win32 host hands in the
// real implementations, the unit tests their doubles.
struct Ports {
    SettingsStore& settings;
    SystemPort& system;
    FileSystem& files;
    Display& display;
};
