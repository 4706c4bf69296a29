// The Windows entry of wgprobe (tools/wgprobe): kept here because it is Win32 code; not part of
// Wolkenglas.exe (this folder is not globbed into it).
// wgprobe.exe: WinHTTP, the real registry, and the windows of a running program.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "ProbeCommands.h"
#include "WindowProbe.h"
#include "win32/Text.h"
#include "win32/Win32Environment.h"
#include "win32/Win32Registry.h"
#include "win32/WinHttpTransport.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(FromWide(argv[i]));
    Win32Registry registry;
    WinHttpTransport transport;
    Win32Environment environment;
    ProbePorts ports{registry, transport, environment};
    std::string out;
    const int code = !args.empty() && (args[0] == "window" || args[0] == "minimize" || args[0] == "move" || args[0] == "tray") ? RunWindowProbe(args, out) : RunProbe(args, ports, out);
    // Plain bytes: every line is ASCII, so no console code page can change it, and LF stays LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::fwrite(out.data(), 1, out.size(), code == 0 ? stdout : stderr);
    std::fflush(stdout);
    return code;
}
