#include "system/mOpenURL.h"

#include "platform/SystemPort.h"
#include "system/Numbers.h"

std::string EscapeURL(std::string_view address) {
    std::string out;
    out.reserve(address.size() + 8);
    for (char c : address) {
        if (c == ' ') out += "%20";
        else if (c == '|') out += "%7C";
        else out += c;
    }
    return out;
}

std::intptr_t OpenURL(SystemPort& system, std::string_view address, int windowStyle) {
    const std::string url = EscapeURL(address);
    if (LowerCase(url).find("mailto:") != std::string::npos || windowStyle != 1)
        return static_cast<std::intptr_t>(ShellURL(system, url, windowStyle));
    return system.ShellOpen(url, 0);
}

std::uint32_t ShellURL(SystemPort& system, std::string_view address, int windowStyle) {
    const std::string url = EscapeURL(address);
    return system.StartCommand("rundll32.exe url.dll,FileProtocolHandler \"" + url + "\"", windowStyle);
}
