// wolkenglas: the widget's weather for the stored place, once, as text or JSON on a console.
#include <iostream>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleApp.h"
#include "service/mUTF8toWIN.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = ParseCommandLine(args);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << WINtoUTF8(*error) << '\n' << WINtoUTF8(UsageText());
        return kExitUsage;
    }
    const auto& options = std::get<ConsoleOptions>(parsed);
    if (options.help) {
        std::cout << WINtoUTF8(UsageText());
        return kExitWeather;
    }
    try {
        return RunConsole(options, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "FEHLER:  " << e.what() << '\n';
        return kExitError;
    }
}
