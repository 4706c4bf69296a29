#pragma once
#include <string>
#include <string_view>

class SystemPort;

// Full path of a new, empty temporary file (temporary directory, prefix, four hex digits, ".tmp"),
// or empty when none can be made.
std::string TempFileName(SystemPort& system, std::string_view prefix);
