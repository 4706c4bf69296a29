#pragma once
#include <string>
#include <string_view>

#include "platform/Ports.h"

// The side-by-side manifest beside the program file (its path with ".manifest"), which Windows
// reads when the process starts: common controls 6, the invoker's rights, the supported Windows
// versions, not DPI-aware.

// The file's content for a program title, a version ("1.54.0.0") and a description. UTF-8, as
// its XML declaration says: a description in Windows-1252 would make the file invalid, and
// Windows would refuse to start the program.
std::string ManifestText(std::string_view title, std::string_view version, std::string_view description);

// Writes the manifest when it is missing, empty, names another version in its identity, or
// `force` is set; deletes it on Windows before 6.0. True exactly when it has written the file.
bool WriteManifest(Ports& ports, bool force);
