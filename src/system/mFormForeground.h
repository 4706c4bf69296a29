#pragma once
#include <cstdint>

class SystemPort;

bool IsForeground(SystemPort& system, std::uintptr_t window);
