#include "system/mOpenURL.h"

#include "platform/SystemPort.h"
#include "system/Numbers.h"
#include "system/PathText.h"

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
    return system.ShellOpen(Utf8FromWin(url), 0);
}

std::uint32_t ShellURL(SystemPort& system, std::string_view address, int windowStyle) {
    const std::string url = EscapeURL(address);
    // The shell takes UTF-8; the address is a text of the dialog or of a reply.
    return system.StartCommand(Utf8FromWin("rundll32.exe url.dll,FileProtocolHandler \"" + url + "\""), windowStyle);
}
