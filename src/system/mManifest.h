#pragma once
#include "platform/Ports.h"

// Keeps the side-by-side manifest beside the program file. True when it has (re)written the file,
// so the program must restart for Windows to read it.
bool ManifestWrite(Ports& ports, bool versionChanged);
