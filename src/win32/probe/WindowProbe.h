#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "window DESKTOP TITLE": the client size, focus, child controls and tooltips of the top-level
// window with that caption on that desktop, as plain ASCII lines. Returns the exit code.
int RunWindowProbe(const std::vector<std::string>& args, std::string& out);
