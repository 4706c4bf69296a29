#pragma once
#include <cstdint>
#include <string>

class SystemPort;

// Version text shown, stored and compared: "1.54" for 1.54.x.0; the revision adds a suffix
// (letters a-z, Alpha, Beta, ß).
std::string ProgVer(std::uint16_t major, std::uint16_t minor, std::uint16_t revision);

// The running program's version text, from its version resource.
std::string ProgVer(SystemPort& system);
