#include "system/mGetCMD.h"

#include "platform/SystemPort.h"

namespace {
// The argument table of the original splitter has 256 slots; arguments past the last slot are
// dropped rather than written out of bounds.
constexpr int kMaxArgument = 255;
}

std::string GetCMD(std::string_view commandLine, int index) {
    if (index < 1 || index > kMaxArgument) return {};
    int current = 1;
    bool inQuotes = false;
    std::string result;
    for (char c : commandLine) {
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ' ' && !inQuotes) {
            if (++current > index) break;
        } else if (current == index) {
            result += c;
        }
    }
    return result;
}

std::string GetCMD(SystemPort& system, int index) { return GetCMD(system.CommandLineArgs(), index); }
