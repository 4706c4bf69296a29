#pragma once
#include <windows.h>

#include "platform/TrayPort.h"
#include "win32/UniqueHandle.h"

// An icon made from the core's icon image (colour and transparency mask); empty on failure.
unique_hicon MakeIcon(const IconImage& image) noexcept;
