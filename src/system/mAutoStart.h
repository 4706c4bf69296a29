#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/Ports.h"

// Starting with Windows: a value under the current user's Run key, named after the settings
// section, holding the quoted program path and " /startup".
struct AutoStart {
    Ports& ports;
    std::string app;      // settings application name
    std::string section;  // settings section; also the Run value's name
    std::string exePath;  // the running program file (UTF-8)
    std::string product;  // for the question's title
};

std::string RunValuePath(std::string_view section);
std::string AutoStartCommand(std::string_view exePath);  // "\"<path>\" /startup"

// The check box was clicked after the dialog had loaded: stores "RunAtStartup" and writes or
// deletes the Run value. `boxValue` 0 is unchecked; checked and grayed both mean on.
void AutoStartClick(const AutoStart& autoStart, int boxValue);

// The start check of the dialog's load: when autostart is on but the program the Run value
// names is gone, asks whether to point it here or to switch autostart off. `setBox` gives the
// check box a value, running the click handler when the value changes; `loaded` is the dialog's
// loaded flag, set here before the answer drives the box.
void AutoStartCheck(const AutoStart& autoStart, bool& loaded, const std::function<void(int)>& setBox);
