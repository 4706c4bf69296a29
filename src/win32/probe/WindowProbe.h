#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "window DESKTOP TITLE": the client size, frame style, focus, child controls and tooltips of the
// top-level window with that caption on that desktop, as plain ASCII lines; "minimize DESKTOP
// TITLE" minimises it first, "move DESKTOP TITLE X Y" moves it first, both adding its place. "tray DESKTOP list|delete|taskbar-created": the notification area's
// tooltips, after deleting the widget's icon or announcing a new taskbar. Returns the exit code.
int RunWindowProbe(const std::vector<std::string>& args, std::string& out);
