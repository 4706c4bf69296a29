#pragma once
#include <string>
#include <string_view>

class SystemPort;

// Argument `index` (from 1) of a command line: blanks outside double quotes separate arguments,
// quotes are dropped. Empty when there is no such argument.
std::string GetCMD(std::string_view commandLine, int index);
std::string GetCMD(SystemPort& system, int index);
