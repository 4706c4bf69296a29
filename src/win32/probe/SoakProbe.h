#pragma once
#include <string>
#include <vector>

// wgprobe soak DESKTOP N [EVERY [FIRST]]: in the named desktop, presses F5 on the running widget N times, each time waiting until its
// title has shown the refresh and gone back, and opens and closes the satellite window after
// every EVERY-th refresh. Then prints the widget process's GDI and USER object counts
// (GetGuiResources), its handle count and its private bytes, one "name value" line each.
// wgprobe resources DESKTOP: only the counts.
int RunSoakProbe(const std::vector<std::string>& args, std::string& out);
