#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Tile of the wind-arrow sheet for an English 16-point compass code ("NNE"), case ignored:
// 1 = south, clockwise to 16 = south-south-east; 0 for anything else.
std::uint8_t WindSector(std::string_view direction);

// The service's moon phase ("WaxingCrescent", case ignored) as "<tile>,<German name>"
// ("2,Zunehmender Halbmond"); empty for anything else.
std::string MoonPhaseDE(std::string_view phase);
