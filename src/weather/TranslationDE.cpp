#include "weather/TranslationDE.h"

#include <utility>

#include "system/Numbers.h"

std::uint8_t WindSector(std::string_view direction) {
    static constexpr const char* kSectors[] = {"S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW",
                                               "N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE"};
    const std::string code = UpperCase(direction);
    for (std::uint8_t i = 0; i < 16; ++i)
        if (code == kSectors[i]) return static_cast<std::uint8_t>(i + 1);
    return 0;
}

std::string MoonPhaseDE(std::string_view phase) {
    static constexpr std::pair<const char*, const char*> kPhases[] = {
        {"new", "1,Neumond"},
        {"waxingcrescent", "2,Zunehmender Halbmond"},
        {"first", "3,Erstes Viertel"},
        {"waxinggibbous", "4,Zunehmender Mond"},
        {"full", "5,Vollmond"},
        {"waninggibbous", "6,Abnehmender Mond"},
        {"last", "7,Letztes Viertel"},
        {"waningcrescent", "8,Abnehmender Halbmond"},
    };
    const std::string key = LowerCase(phase);
    for (const auto& [code, name] : kPhases)
        if (key == code) return name;
    return {};
}
