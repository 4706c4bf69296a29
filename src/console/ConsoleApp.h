#pragma once
#include <filesystem>
#include <iosfwd>

#include "console/CommandLine.h"
#include "platform/Environment.h"

// Exit statuses of the console front end.
inline constexpr int kExitWeather = 0;     // the refresh ended with the green title
inline constexpr int kExitError = 1;       // it ended with an error text, or could not run
inline constexpr int kExitUsage = 2;

// $XDG_CONFIG_HOME/wolkenglas/settings.ini, else ~/.config/wolkenglas/settings.ini; empty when
// neither a configuration folder nor a home folder is known.
std::filesystem::path DefaultSettingsFile(Environment& environment);

// Builds the three windows on the console's ports, loads the settings dialog (which runs the
// refresh for the stored place) and prints the widget to `out` as text or JSON. Errors go to
// `err`. Returns the exit status.
int RunConsole(const ConsoleOptions& options, std::ostream& out, std::ostream& err);
