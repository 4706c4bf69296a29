#pragma once
#include "platform/SystemPort.h"

// The program's own version resource: the numbers of its fixed part and the "FileDescription"
// of its first string table. Read from the loaded image, so version.dll is not needed.
FileVersion ReadVersionResource();
