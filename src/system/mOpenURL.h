#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class SystemPort;

// Blanks and "|" are escaped so the address survives the shell and the command line.
std::string EscapeURL(std::string_view address);

// Opens an address in the user's browser or mail program. Mail links and any window style other
// than 1 go through the rundll32 URL handler; the result is that of the platform call.
std::intptr_t OpenURL(SystemPort& system, std::string_view address, int windowStyle);

// Starts "rundll32.exe url.dll,FileProtocolHandler" for the address; the task number.
std::uint32_t ShellURL(SystemPort& system, std::string_view address, int windowStyle);
