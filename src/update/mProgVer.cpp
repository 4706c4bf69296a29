#include "update/mProgVer.h"

#include "platform/SystemPort.h"
#include "system/Cat.h"

std::string ProgVer(std::uint16_t major, std::uint16_t minor, std::uint16_t revision) {
    const std::string minorDigits = Cat("00", std::to_string(minor));
    std::string text = Cat(std::to_string(major), ".", minorDigits.substr(minorDigits.size() - 2));
    const int r = revision;
    if (r >= 1 && r <= 26) {
        text += static_cast<char>('a' + r - 1);
    } else if (r >= 1000 && r <= 1999) {
        text += " Alpha";
        if (r - 1000 > 0) text += Cat(" ", std::to_string(r - 1000));
    } else if (r >= 100 && r <= 199) {
        text += " Beta";
        if (r - 100 > 0) text += Cat(" ", std::to_string(r - 100));
    } else if (r >= 2000 && r <= 2999) {
        text += " Beta";
        if (r - 2000 > 0) text += Cat(" ", std::to_string(r - 2000));
    } else if (r == 255 || r == 9999) {
        text += "ß";
    }
    return text;
}

std::string ProgVer(SystemPort& system) {
    const FileVersion v = system.ProgramVersion();
    return ProgVer(v.major, v.minor, v.revision);
}
